#!/usr/bin/python3
"""Compares a drawing saved by Fendo with the file it was loaded from, using ezdxf as an
independent reader, and audits the saved drawing.

usage: check_round_trip.py ORIGINAL SAVED
Prints "OK" and exits 0 when every entity (by handle) keeps its type, layer, colour,
geometry, text and extended data, every layer its colour and on/off state, the objects
made for the purpose are still there, and ezdxf's audit of SAVED finds no errors.
"""
import re
import sys

import ezdxf

ESCAPE = re.compile(r"\\[Uu]\+([0-9A-Fa-f]{4})")


def text(s):
    return ESCAPE.sub(lambda m: chr(int(m.group(1), 16)), s or "")


def close(a, b):
    return all(abs(x - y) <= 1e-9 * max(1.0, abs(x)) for x, y in zip(a, b))


def describe(e):
    t = e.dxftype()
    d = {"type": t, "layer": e.dxf.get("layer", "0"), "color": e.dxf.get("color", 256),
         "true_color": e.dxf.get("true_color", None)}
    geometry = []
    if t == "LINE":
        geometry = [tuple(e.dxf.start), tuple(e.dxf.end)]
    elif t == "POINT":
        geometry = [tuple(e.dxf.location)]
    elif t == "LWPOLYLINE":
        geometry = [tuple(p) for p in e.get_points("xyseb")]
        d["closed"] = e.closed
    elif t == "POLYLINE":
        geometry = [tuple(v.dxf.location) for v in e.vertices]
        d["flags"] = e.dxf.flags
    elif t in ("TEXT", "ATTRIB"):
        d["text"] = text(e.dxf.text)
        geometry = [tuple(e.dxf.insert)]
    elif t == "MTEXT":
        d["text"] = text(e.text)
    elif t == "INSERT":
        d["name"] = e.dxf.name
        geometry = [tuple(e.dxf.insert)]
        d["attribs"] = [(a.dxf.tag, text(a.dxf.text)) for a in e.attribs]
    elif t == "3DFACE":
        geometry = [tuple(e.dxf.get(f"vtx{i}")) for i in range(4)]
    elif t == "MESH":
        d["vertices"] = len(e.vertices)
    d["geometry"] = geometry
    d["xdata"] = xdata_of(e)
    return d


def xdata_of(e):
    """The extended data of an entity by application, texts with their escapes decoded."""
    xdata = {}
    if e.xdata:
        for app in e.xdata.data:
            xdata[app] = [(c, text(v) if isinstance(v, str) else v) for c, v in e.get_xdata(app)]
    return xdata


def same(a, b):
    for key in set(a) | set(b):
        if key == "geometry":
            if len(a[key]) != len(b[key]) or not all(close(p, q) for p, q in zip(a[key], b[key])):
                return False
        elif a.get(key) != b.get(key):
            return False
    return True


def main():
    original = ezdxf.readfile(sys.argv[1])
    saved = ezdxf.readfile(sys.argv[2])
    problems = []
    if saved.dxfversion != "AC1021":
        problems.append(f"saved version {saved.dxfversion}")
    before = {e.dxf.handle: describe(e) for e in original.modelspace()}
    after = {e.dxf.handle: describe(e) for e in saved.modelspace()}
    if len(after) != len(before):
        problems.append(f"{len(before)} entities before, {len(after)} after")
    for handle, d in before.items():
        if handle not in after:
            problems.append(f"entity {handle} ({d['type']}) lost")
        elif not same(d, after[handle]):
            problems.append(f"entity {handle} changed: {d} -> {after[handle]}")
    for layer in original.layers:
        name = layer.dxf.name
        if name not in saved.layers:
            problems.append(f"layer {name} lost")
            continue
        other = saved.layers.get(name)
        if (layer.color, layer.is_off()) != (other.color, other.is_off()):
            problems.append(f"layer {name}: {(layer.color, layer.is_off())} -> {(other.color, other.is_off())}")
    for name in ("MOC",):
        if name in original.blocks and len(original.blocks[name]) != len(saved.blocks.get(name) or []):
            problems.append(f"block {name} entities changed")
    for key in ("KVO_SETTINGS", "KVO_VAR"):
        if key in original.rootdict:
            if key not in saved.rootdict:
                problems.append(f"object {key} lost")
            else:
                a, b = original.rootdict[key], saved.rootdict[key]
                if a.dxftype() != b.dxftype():
                    problems.append(f"object {key}: {a.dxftype()} -> {b.dxftype()}")
                elif a.dxftype() == "XRECORD" and [(c, text(v) if isinstance(v, str) else v) for c, v in a.tags] != [
                        (c, text(v) if isinstance(v, str) else v) for c, v in b.tags]:
                    problems.append(f"object {key}: {list(a.tags)} -> {list(b.tags)}")
    auditor = saved.audit()
    for error in auditor.errors:
        problems.append(f"audit: {error.message}")
    if problems:
        print("\n".join(problems[:30]))
        sys.exit(1)
    print("OK")


if __name__ == "__main__":
    main()

#!/usr/bin/python3
"""Compares a drawing saved by Fendo with the file it was read from, using ezdxf as an
independent reader.

usage: compare_drawings.py ORIGINAL SAVED
Checks, per layout and block, the count of every entity type; per handle (when the original
has handles) the entity type, layer, colour index and true colour, texts, extended data,
dimension kind and measurement and MTEXT geometry; the count of every object type; and that
ezdxf's audit finds no more errors in SAVED than in ORIGINAL. Prints "OK" or the differences
and exits 1.
"""
import math
import sys

import ezdxf
from ezdxf import recover
from ezdxf.entities import DXFGraphic

from check_round_trip import text, xdata_of


def load(path):
    try:
        return ezdxf.readfile(path)
    except Exception:  # files ezdxf reads only in its recover mode
        return recover.readfile(path)[0]


def number(v):
    return None if v is None else round(float(v), 6)


def point(p):
    return None if p is None else tuple(round(float(c), 6) for c in p)


def describe(e):
    t = e.dxftype()
    d = {"type": t, "layer": e.dxf.get("layer", "0"), "color": e.dxf.get("color", 256),
         "true_color": e.dxf.get("true_color", None)}
    if t in ("TEXT", "ATTRIB", "ATTDEF"):
        d["text"] = text(e.dxf.get("text", ""))
    elif t == "MTEXT":
        d["text"] = text(e.text)
        d["geometry"] = (point(e.dxf.get("insert")), number(e.dxf.get("char_height")), number(e.dxf.get("width", 0)),
                         e.dxf.get("attachment_point"), number(e.dxf.get("line_spacing_factor")),
                         e.dxf.get("line_spacing_style"))
    elif t == "DIMENSION":
        d["kind"] = e.dxf.get("dimtype", 0) & 0x0F
        d["measurement"] = number(e.dxf.get("actual_measurement"))
        d["points"] = [point(e.dxf.get(name)) for name in ("defpoint", "defpoint2", "defpoint3", "defpoint4",
                                                            "defpoint5", "text_midpoint")]
        d["text"] = text(e.dxf.get("text", ""))
    elif t == "INSERT":
        d["name"] = e.dxf.name
        d["grid"] = (e.dxf.get("row_count", 1), e.dxf.get("column_count", 1))
    elif t == "SPLINE":
        d["flags"] = e.dxf.get("flags", 0)
    d["xdata"] = xdata_of(e)
    return d


def same(a, b):
    if a.keys() != b.keys():
        return False
    for key in a:
        x, y = a[key], b[key]
        if isinstance(x, float) and isinstance(y, float):
            if not math.isclose(x, y, rel_tol=1e-9, abs_tol=1e-9):
                return False
        elif x != y:
            return False
    return True


def counts(entities):
    result = {}
    for e in entities:
        result[e.dxftype()] = result.get(e.dxftype(), 0) + 1
    return result


def main():
    original, saved = load(sys.argv[1]), load(sys.argv[2])
    with open(sys.argv[1], "rb") as f:
        raw = f.read()
    # ezdxf adds blocks of its own to some older files (dimension arrows the styles name);
    # only blocks the file holds are compared.
    def in_file(block_name):
        return block_name.encode("utf-8") in raw or block_name.encode("cp1252", "replace") in raw
    problems = []
    # Entity counts per layout and block (R12 files without block records still have them).
    for layout in original.layouts:
        other = saved.layouts.get(layout.name) if layout.name in saved.layouts.names() else None
        before = counts(layout)
        after = counts(other) if other is not None else {}
        if before != after:
            problems.append(f"layout {layout.name}: {before} -> {after}")
    for block in original.blocks:
        if block.name.lower() in ("*model_space", "*paper_space") or block.name.upper().startswith("*PAPER_SPACE"):
            continue
        if not in_file(block.name):
            continue
        other = saved.blocks.get(block.name)
        before, after = counts(block), counts(other) if other is not None else {}
        if before != after:
            problems.append(f"block {block.name}: {before} -> {after}")
    # Entities by handle, wherever they live.
    had_handles = original.dxfversion > "AC1009" or original.header.get("$HANDLING", 0)
    if had_handles:
        before = {e.dxf.handle: describe(e) for e in original.entitydb.values()
                  if isinstance(e, DXFGraphic) and e.dxf.is_supported("layer") and e.dxf.handle and e.dxftype() not in ("SEQEND", "VERTEX")
                  and in_file(original.entitydb[e.dxf.owner].dxf.name if e.dxf.owner in original.entitydb
                              and original.entitydb[e.dxf.owner].dxftype() == "BLOCK_RECORD" else "")}
        after_db = saved.entitydb
        for handle, d in before.items():
            e = after_db[handle] if handle in after_db else None
            if e is None:
                problems.append(f"entity {handle} ({d['type']}) lost")
            elif e.dxftype() != d["type"]:
                problems.append(f"entity {handle}: {d['type']} -> {e.dxftype()}")
            elif not same(d, describe(e)):
                problems.append(f"entity {handle} changed: {d} -> {describe(e)}")
    # Objects by type (R12 files have none).
    if original.dxfversion > "AC1009":
        before, after = counts(original.objects), counts(saved.objects)
        for kind, n in before.items():
            if after.get(kind, 0) < n:
                problems.append(f"objects {kind}: {n} -> {after.get(kind, 0)}")
    # Layers keep their names and colours.
    for layer in original.layers:
        name = layer.dxf.name
        if name not in saved.layers:
            problems.append(f"layer {name!r} lost")
        elif layer.color != saved.layers.get(name).color:
            problems.append(f"layer {name!r}: colour {layer.color} -> {saved.layers.get(name).color}")
    try:
        errors_before = len(original.audit().errors)
    except Exception:  # ezdxf's audit gives up on some originals; the saved file must still pass
        errors_before = 0
    audit_after = saved.audit()
    if len(audit_after.errors) > errors_before:
        problems.append(f"audit: {errors_before} errors before, {len(audit_after.errors)} after: " +
                        "; ".join(str(e.message) for e in audit_after.errors[:5]))
    if problems:
        print("\n".join(problems[:40]))
        sys.exit(1)
    print("OK")


if __name__ == "__main__":
    main()

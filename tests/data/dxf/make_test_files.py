#!/usr/bin/python3
"""Writes the DXF files the round-trip tests read, with ezdxf as an independent writer.

Run with Debian's python3 (it has ezdxf): /usr/bin/python3 make_test_files.py [folder]
Each file holds lines, polylines, texts (Vietnamese among them), layers with colours and
on/off states, extended data of another application, and records our database does not
model (an unknown entity, unknown objects).
"""
import os
import sys

import ezdxf

VIETNAMESE = ["Cao độ mặt đường 12.35", "Điểm đo số 7", "Tuyến đường Hà Nội - Hải Phòng", "Ống cống Ø600"]


def populate(doc, rich=True):
    msp = doc.modelspace()
    doc.appids.new("KVO_TEST")
    doc.layers.new("DUONG", dxfattribs={"color": 1})
    doc.layers.new("CAO_DO", dxfattribs={"color": 3})
    off = doc.layers.new("TAT", dxfattribs={"color": 5})
    off.off()
    msp.add_line((0, 0, 0), (100.5, 200.25, 0), dxfattribs={"layer": "DUONG", "color": 2})
    msp.add_line((1e-7, 3.0000000000000004, 0), (123456789.123, -0.1, 5.5), dxfattribs={"layer": "TAT"})
    line = msp.add_line((10, 10), (20, 20), dxfattribs={"layer": "0"})
    line.set_xdata("KVO_TEST", [(1000, "Điểm mia"), (1040, 12.5), (1070, 3), (1010, (1.0, 2.0, 3.0))])
    msp.add_point((5, 6, 7), dxfattribs={"layer": "CAO_DO"})
    if doc.dxfversion > "AC1009":
        msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (10, 0, 0, 0, 0), (10, 10, 0, 0, 0)], format="xyseb",
                           dxfattribs={"layer": "DUONG", "closed": True})
    msp.add_polyline2d([(0, 0), (5, 5), (10, 0)], dxfattribs={"layer": "DUONG"})
    msp.add_polyline3d([(0, 0, 1), (5, 5, 2), (10, 0, 3)], dxfattribs={"layer": "CAO_DO"})
    for i, text in enumerate(VIETNAMESE):
        msp.add_text(text, dxfattribs={"layer": "CAO_DO", "height": 2.5, "insert": (0, -10 * i)})
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 0), (0, 1, 0)], dxfattribs={"layer": "DUONG", "color": 4})
    blk = doc.blocks.new("MOC")
    blk.add_circle((0, 0), 1.5)
    blk.add_attdef("SO", (0, 2), dxfattribs={"height": 1.0})
    ref = msp.add_blockref("MOC", (50, 50))
    ref.add_attrib("SO", "Mốc 12", (50, 52))
    if rich and doc.dxfversion > "AC1009":
        msp.add_mtext("Ghi chú: đường cấp IV", dxfattribs={"layer": "CAO_DO"})
        true_colour = msp.add_line((0, 0), (1, 1))
        true_colour.rgb = (10, 200, 30)
        doc.rootdict.add_xrecord("KVO_SETTINGS").reset([(1, "tham số"), (40, 0.25), (70, 12)])
        doc.rootdict.add_dict_var("KVO_VAR", "giá trị")
        if doc.dxfversion >= "AC1024":
            mesh = msp.add_mesh(dxfattribs={"layer": "DUONG"})
            with mesh.edit_data() as data:
                data.vertices = [(0, 0, 0), (1, 0, 0), (1, 1, 0)]
                data.faces = [(0, 1, 2)]
    return doc


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    populate(ezdxf.new("R12")).saveas(os.path.join(folder, "r12.dxf"))
    r2000 = ezdxf.new("R2000")
    r2000.header["$DWGCODEPAGE"] = "ANSI_1258"
    populate(r2000).saveas(os.path.join(folder, "r2000_cp1258.dxf"))
    populate(ezdxf.new("R2010")).saveas(os.path.join(folder, "r2010.dxf"))
    populate(ezdxf.new("R2018")).saveas(os.path.join(folder, "r2018.dxf"))
    populate(ezdxf.new("R2018")).saveas(os.path.join(folder, "r2018_binary.dxf"), fmt="bin")
    populate(ezdxf.new("R12")).saveas(os.path.join(folder, "r12_binary.dxf"), fmt="bin")


if __name__ == "__main__":
    main()

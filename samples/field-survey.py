#!/usr/bin/env python3
"""Writes samples/field-survey.dxf: a small topographic survey of a road corridor as it arrives
from the field, the input of the main job (scripts/run-sample, samples/field-survey.fendo).

  spot heights   point markers on layer DiemDo with their elevation written in two texts, the
                 integer part ending left of the marker and the decimal part right of it
                 ("12" and ".35"), along three breaklines of the terrain (bank top, road
                 centre, bank toe) whose heights rise eastwards, and along a stream whose
                 water level is 9.50 everywhere; two markers were read as "0.00"
  breaklines     the road edges as 3D polylines, one of them digitised twice; a ditch line
                 whose heights were never entered (all 0)
  contour        one contour digitised far too densely (700 vertices)
"""
import math
import pathlib

import ezdxf

H = 0.6  # text height of the field labels
doc = ezdxf.new("R2000")
msp = doc.modelspace()
doc.layers.add("DiemDo", color=3)
doc.layers.add("CaoDo", color=2)
doc.layers.add("Breaklines", color=4)
doc.layers.add("Contours", color=8)


def spot(x, y, z):
    """A marker with its elevation split in two texts around it, as field software writes it."""
    msp.add_point((x, y), dxfattribs={"layer": "DiemDo"})
    whole, part = f"{z:.2f}".split(".")
    msp.add_text(whole, dxfattribs={"height": H, "halign": 2, "insert": (x - 0.05, y - 0.1),
                                    "align_point": (x - 0.05, y - 0.1), "layer": "CaoDo"})
    msp.add_text("." + part, dxfattribs={"height": H, "insert": (x + 0.05, y - 0.1), "layer": "CaoDo"})


# Three breaklines of spot heights, each rising gently eastwards within its own band.
rows = [(10.0, 10.0), (30.0, 12.0), (50.0, 14.0)]  # (y, height at the west end)
for y0, z0 in rows:
    for i in range(13):
        x = 5.0 + 10.0 * i
        y = y0 + 1.5 * math.sin(i * 0.9)
        spot(x, y, z0 + 0.03 * i)
# The stream: its water level is the same at every shot.
for i in range(9):
    x = 8.0 + 14.0 * i
    spot(x, -6.0 + 2.0 * math.cos(i * 0.7), 9.50)
# Two shots whose heights were lost in the field book.
spot(62.0, 20.0, 0.0)
spot(98.0, 40.0, 0.0)

# Road edges as 3D polylines; the northern edge was digitised twice.
south = [(0, 26, 11.8), (40, 27, 11.9), (80, 26.5, 12.1), (130, 27, 12.3)]
north = [(0, 34, 12.2), (40, 35, 12.3), (80, 34.5, 12.5), (130, 35, 12.7)]
msp.add_polyline3d(south, dxfattribs={"layer": "Breaklines"})
msp.add_polyline3d(north, dxfattribs={"layer": "Breaklines"})
msp.add_polyline3d(north, dxfattribs={"layer": "Breaklines"})
# A ditch line whose heights were never entered.
msp.add_polyline3d([(0, 22, 0), (60, 23, 0), (130, 22, 0)], dxfattribs={"layer": "Breaklines"})
# A contour traced with far too many vertices.
contour = [(130 * k / 699, 42 + 2.5 * math.sin(k / 60)) for k in range(700)]
lw = msp.add_lwpolyline(contour, dxfattribs={"layer": "Contours"})
lw.dxf.elevation = 13.0

out = pathlib.Path(__file__).with_name("field-survey.dxf")
doc.saveas(out)
print(f"wrote {out}")

#!/usr/bin/env python3
"""Writes samples/survey-points.dxf: raw survey input as it comes from the field, for the
examples of the survey point commands in the README.

  x   0..20  markers with split elevation texts ("12" left of the marker, ".35" right of it),
             one pair without its marker (JT)
  x  30..50  markers with both parts written as plain numbers ("105" and "42") (JT)
  x  60..80  right-aligned integer parts meeting left-aligned decimal parts (JT1)
  y  20..40  breaklines: zero heights (CD0), repeats (LDTT), a long contour (CHECK),
             polylines to turn into points (D2D)
"""
import math
import pathlib

import ezdxf

H = 0.2  # text height
doc = ezdxf.new("R2000")
msp = doc.modelspace()
doc.layers.add("DiemDo", color=3)
doc.layers.add("Text", color=2)
doc.layers.add("Breaklines", color=4)


def ending_at(s, x, y):
    msp.add_text(s, dxfattribs={"height": H, "halign": 2, "insert": (x, y), "align_point": (x, y), "layer": "Text"})


def starting_at(s, x, y):
    msp.add_text(s, dxfattribs={"height": H, "insert": (x, y), "layer": "Text"})


def marker(x, y):
    msp.add_point((x, y), dxfattribs={"layer": "DiemDo"})


# Split texts around markers: the integer part ends just left of the marker, the decimal part
# starts just right of it.
for i, (whole, part) in enumerate([("12", ".35"), ("12", ".80"), ("13", ".05"), ("0", ".00")]):
    x, y = 2.0 + 5 * i, 2.0 + (i % 2) * 3
    marker(x, y)
    ending_at(whole, x - 0.05, y - 0.1)
    starting_at(part, x + 0.05, y - 0.1)
# A pair whose marker was lost: the parts meet at the integer part's corner.
ending_at("11", 8.0, 9.0)
starting_at(".90", 8.02, 9.0)

# Both parts written as plain numbers in a band around the marker.
for i, (whole, part) in enumerate([("105", "42"), ("106", "10"), ("104", "95")]):
    x, y = 32.0 + 6 * i, 3.0 + i
    marker(x, y)
    ending_at(whole, x - 0.2, y - 0.05)
    starting_at(part, x + 0.3, y - 0.05)

# Texts only: the right-aligned integer part ends where the left-aligned decimal part starts.
for i, (whole, part) in enumerate([("105", "42"), ("105", "18"), ("104", "77")]):
    x, y = 62.0 + 6 * i, 4.0 - i
    ending_at(whole, x - 0.1, y - 0.05)
    starting_at(part, x, y)

# Breaklines.
msp.add_line((0, 20, 0), (10, 20, 5), dxfattribs={"layer": "Breaklines"})  # starts at height 0
msp.add_line((0, 22, 5), (10, 22, 6), dxfattribs={"layer": "Breaklines"})
msp.add_line((10, 22, 6), (0, 22, 5), dxfattribs={"layer": "Breaklines"})  # the same line again, reversed
msp.add_polyline3d([(12, 20, 0), (16, 21, 3.5), (20, 20, 0)], dxfattribs={"layer": "Breaklines"})
msp.add_polyline3d([(12, 20, 0), (16, 21, 3.5), (20, 20, 0)], dxfattribs={"layer": "Breaklines"})  # repeated
lw = msp.add_lwpolyline([(22, 20), (26, 24), (30, 20)], dxfattribs={"layer": "Breaklines"})
lw.dxf.elevation = 0.0
lw = msp.add_lwpolyline([(32, 20), (36, 24), (40, 20), (44, 24)], dxfattribs={"layer": "Breaklines"})
lw.dxf.elevation = 14.25
# A contour digitised far too densely: 600 vertices.
contour = [(5 + 40 * k / 599, 35 + 2 * math.sin(k / 30)) for k in range(600)]
lw = msp.add_lwpolyline(contour, dxfattribs={"layer": "Breaklines"})
lw.dxf.elevation = 15.0

out = pathlib.Path(__file__).with_name("survey-points.dxf")
doc.saveas(out)
print(f"wrote {out}")

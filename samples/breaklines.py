#!/usr/bin/env python3
"""Writes samples/breaklines.dxf: digitised breaklines and edges as they come from a terrain
model or a scanned plan, for the README's polyline examples (flatten.fendo, vertices.fendo).

  y   0..5   3D breaklines (32P makes them plain polylines)
  y  15..25  a noisy 3D breakline digitised every metre (LDPL with D thins it)
  y  40      a road edge of a straight part and an arc (TDPL with D follows the arc with chords);
             a kerb arc beside it (BA)
  y  60      a spline through surveyed heights (S3P)
"""
import math
import pathlib

import ezdxf

doc = ezdxf.new("R2000")
msp = doc.modelspace()
doc.layers.add("Breaklines", color=4)
doc.layers.add("Edges", color=1)
doc.layers.add("Splines", color=5)

msp.add_polyline3d([(0, 0, 10), (20, 2, 10.5), (20, 2, 10.5), (40, 0, 11)], dxfattribs={"layer": "Breaklines"})
msp.add_polyline3d([(0, 5, 10.2), (20, 7, 10.7), (40, 5, 11.2)], dxfattribs={"layer": "Breaklines"})

# Level for 20 m, then climbing to the north-east: thinned, it keeps its corner at (80, 15).
noisy = [(60 + k, 15 + 0.5 * max(0, k - 20) + 0.05 * math.sin(k * 1.7), 12 + 0.02 * k) for k in range(41)]
msp.add_polyline3d(noisy, dxfattribs={"layer": "Breaklines"})

edge = msp.add_lwpolyline([(0, 40, 0, 0, 0), (25, 40, 0, 0, 0.5), (45, 40, 0, 0, 0)], format="xyseb",
                          dxfattribs={"layer": "Edges"})
edge.dxf.elevation = 0.0
msp.add_arc((60, 40), 5, 0, 180, dxfattribs={"layer": "Edges"})

msp.add_spline(fit_points=[(0, 60, 10), (10, 63, 11), (20, 59, 12), (30, 62, 12.5)],
               dxfattribs={"layer": "Splines"})

out = pathlib.Path(__file__).with_name("breaklines.dxf")
doc.saveas(out)
print(f"wrote {out}")

#!/usr/bin/python3
"""Makes the sample workbooks: toado.xlsx (survey points for IPL, a grid for E2B) and
ranhmau.xlsx (two sample-log blocks for RM). Run: /usr/bin/python3 samples/make_workbooks.py"""
import os

import openpyxl

HERE = os.path.dirname(os.path.abspath(__file__))

points = openpyxl.Workbook()
sheet = points.active
rows = [("M1", 512340.12, 1234560.45, 12.35), ("M2", 512352.80, 1234571.10, 12.91),
        ("", 512365.33, 1234580.02, 13.40), ("M4", 512379.95, 1234586.70, 13.02)]
for number, (name, x, y, z) in enumerate(rows, start=1):
    sheet.append([number, name or None, x, y, z])
points.save(os.path.join(HERE, "toado.xlsx"))

logs = openpyxl.Workbook()
sheet = logs.active
cells = {"B2": 100, "B3": 50, "E3": "LK1", "H5": "Mô tả nham thạch",
         "E6": 0.5, "F6": 1.25, "H6": "Đất lấp", "E7": 2.0, "F7": 3.5, "H7": "Sét pha",
         "B10": 130, "B11": 50, "E11": "LK2", "H13": "Mô tả nham thạch",
         "E15": 1.0, "F15": 2.75, "H15": "Cát hạt trung", "E16": 4.0, "F16": 6.0, "H16": "Đá phong hóa"}
for ref, value in cells.items():
    sheet[ref] = value
logs.save(os.path.join(HERE, "ranhmau.xlsx"))

#!/usr/bin/python3
"""Makes the template workbooks the exporting commands copy: TemplateExcel.xlsx (the one they
fill in) and TemplateExcel.xls (the same first sheet in the old binary format).

Run from anywhere with the Debian python: /usr/bin/python3 data/make_templates.py
"""
import os

import openpyxl
import xlwt
from openpyxl.styles import Font

HERE = os.path.dirname(os.path.abspath(__file__))
NOTE = "Fendo: sheet 1 receives the exported values (A: number or length, B: name, C-E: X, Y, Z)."


def make_xlsx(path):
    book = openpyxl.Workbook()
    sheet = book.active
    sheet.title = "Sheet1"
    for column, width in zip("ABCDE", (8, 14, 14, 14, 10)):
        sheet.column_dimensions[column].width = width
    notes = book.create_sheet("Ghi chu")
    notes["A1"] = NOTE
    notes["A1"].font = Font(italic=True)
    book.save(path)


def make_xls(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Sheet1")
    for index, width in enumerate((8, 14, 14, 14, 10)):
        sheet.col(index).width = width * 256
    notes = book.add_sheet("Ghi chu")
    notes.write(0, 0, NOTE)
    book.save(path)


if __name__ == "__main__":
    make_xlsx(os.path.join(HERE, "TemplateExcel.xlsx"))
    make_xls(os.path.join(HERE, "TemplateExcel.xls"))

#!/usr/bin/python3
"""Makes the workbooks the exchange tests read (and the fuzz target starts from).

- values.xlsx / values.xls: the same first sheet in both formats (openpyxl, xlwt).
- handmade.xlsx: written part by part as spreadsheet programs write them: a chart sheet before
  the first worksheet, prefixed namespaces, shared strings with rich text and phonetic runs,
  inline strings, formulas with cached values, a shared formula, rows and cells without
  references, a calculation chain, a second worksheet.
- damaged and protected files: truncated.xlsx, notzip.xlsx, noworkbook.xlsx, badxml.xlsx,
  encrypted.xlsx (an OLE file holding EncryptedPackage), badbiff.xls, password.xls (FILEPASS).
- freexl-overrun.xls is not made here: the fuzz target found it (FreeXL overruns a buffer on it).

Run: /usr/bin/python3 tests/data/workbooks/make_workbooks.py
"""
import datetime
import os
import struct
import zipfile

import openpyxl
import xlwt

HERE = os.path.dirname(os.path.abspath(__file__))

# Column A: a number for every precision, a half, padded text, an integer, a gap, text after.
COLUMN_A = [12.346, 2.5, "  padded  ", 12, None, "after"]


def values_xlsx(path):
    book = openpyxl.Workbook()
    sheet = book.active
    for row, value in enumerate(COLUMN_A, start=1):
        if value is not None:
            sheet.cell(row, 1, value)
    sheet["B1"] = datetime.date(2024, 1, 5)
    sheet["B2"] = True
    sheet["B3"] = -7.25
    sheet["B4"] = "Mô tả"
    book.create_sheet("Second")["A1"] = "second sheet"
    book.save(path)


def values_xls(path):
    book = xlwt.Workbook(encoding="utf-8")
    sheet = book.add_sheet("Sheet1")
    for row, value in enumerate(COLUMN_A):
        if value is not None:
            sheet.write(row, 0, value)
    date_style = xlwt.easyxf(num_format_str="YYYY-MM-DD")
    sheet.write(0, 1, datetime.date(2024, 1, 5), date_style)
    sheet.write(1, 1, True)
    sheet.write(2, 1, -7.25)
    sheet.write(3, 1, "Mô tả")
    book.add_sheet("Second").write(0, 0, "second sheet")
    book.save(path)


MAIN = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG = "http://schemas.openxmlformats.org/package/2006/relationships"
CT = "http://schemas.openxmlformats.org/package/2006/content-types"


def handmade_parts():
    content_types = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="{CT}"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="xml" ContentType="application/xml"/>
<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>
<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/worksheets/sheet2.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>
<Override PartName="/xl/chartsheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.chartsheet+xml"/>
<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>
<Override PartName="/xl/calcChain.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml"/>
</Types>"""
    root_rels = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="{PKG}"><Relationship Id="rId1" Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>"""
    workbook = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<x:workbook xmlns:x="{MAIN}" xmlns:r="{REL}"><x:sheets>
<x:sheet name="Chart" sheetId="3" r:id="rId3"/>
<x:sheet name="Data" sheetId="1" r:id="rId1"/>
<x:sheet name="Other" sheetId="2" r:id="rId2"/>
</x:sheets></x:workbook>"""
    workbook_rels = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="{PKG}">
<Relationship Id="rId1" Type="{REL}/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="{REL}/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="{REL}/chartsheet" Target="chartsheets/sheet1.xml"/>
<Relationship Id="rId4" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/>
<Relationship Id="rId5" Type="{REL}/calcChain" Target="calcChain.xml"/>
</Relationships>"""
    shared = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<sst xmlns="{MAIN}" count="3" uniqueCount="3">
<si><t>plain</t></si>
<si><r><rPr><b/></rPr><t>ri</t></r><r><t xml:space="preserve">ch </t></r><rPh sb="0" eb="1"><t>PHONETIC</t></rPh></si>
<si><t>tab_x0009_bed</t></si>
</sst>"""
    # Row 1 and 2 have references; row 3 has none (it follows row 2); row 5 gives one and its
    # cells have none (A, B, C in turn).
    sheet1 = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<x:worksheet xmlns:x="{MAIN}" xmlns:r="{REL}"><x:dimension ref="A1:C5"/><x:sheetData>
<x:row r="1" spans="1:3"><x:c r="A1" t="s"><x:v>0</x:v></x:c><x:c r="B1" t="s"><x:v>1</x:v></x:c><x:c r="C1" t="inlineStr"><x:is><x:t>inline</x:t></x:is></x:c></x:row>
<x:row r="2"><x:c r="A2"><x:f>1+1</x:f><x:v>2</x:v></x:c><x:c r="B2" t="str"><x:f>"te"&amp;"xt"</x:f><x:v>text</x:v></x:c><x:c r="C2" t="e"><x:v>#DIV/0!</x:v></x:c></x:row>
<x:row><x:c r="A3"><x:f t="shared" ref="A3:A4" si="0">A2*2</x:f><x:v>4</x:v></x:c><x:c r="B3" t="b"><x:v>1</x:v></x:c><x:c r="C3" t="s"><x:v>2</x:v></x:c></x:row>
<x:row r="4"><x:c r="A4"><x:f t="shared" si="0"/><x:v>8</x:v></x:c></x:row>
<x:row r="5"><x:c><x:v>5.5</x:v></x:c><x:c t="inlineStr"><x:is><x:r><x:t>in</x:t></x:r><x:r><x:t>line rich</x:t></x:r></x:is></x:c><x:c><x:v>7</x:v></x:c></x:row>
</x:sheetData></x:worksheet>"""
    sheet2 = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns="{MAIN}"><sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>other sheet</t></is></c></row></sheetData></worksheet>"""
    chart = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<chartsheet xmlns="{MAIN}"><sheetViews><sheetView workbookViewId="0"/></sheetViews></chartsheet>"""
    calc = f"""<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<calcChain xmlns="{MAIN}"><c r="A2" i="1"/><c r="B2"/><c r="A3"/><c r="A4"/></calcChain>"""
    return [
        ("[Content_Types].xml", content_types),
        ("_rels/.rels", root_rels),
        ("xl/workbook.xml", workbook),
        ("xl/_rels/workbook.xml.rels", workbook_rels),
        ("xl/sharedStrings.xml", shared),
        ("xl/worksheets/sheet1.xml", sheet1),
        ("xl/worksheets/sheet2.xml", sheet2),
        ("xl/chartsheets/sheet1.xml", chart),
        ("xl/chartsheets/_rels/sheet1.xml.rels", f'<Relationships xmlns="{PKG}"/>'),
        ("xl/calcChain.xml", calc),
    ]


def write_zip(path, parts):
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        for name, text in parts:
            z.writestr(name, text)


def ole_file(stream_names):
    """A compound file header and one directory sector naming the streams (no stream data)."""
    header = bytearray(512)
    header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
    struct.pack_into("<HHHHH", header, 24, 0x3E, 3, 0xFFFE, 9, 6)
    struct.pack_into("<I", header, 44, 1)  # one FAT sector
    struct.pack_into("<I", header, 48, 1)  # directory starts at sector 1
    struct.pack_into("<I", header, 60, 0xFFFFFFFE)
    struct.pack_into("<I", header, 68, 0xFFFFFFFE)
    struct.pack_into("<I", header, 76, 0)  # FAT in sector 0
    for i in range(1, 109):
        struct.pack_into("<I", header, 76 + 4 * i, 0xFFFFFFFF)
    fat = bytearray(b"\xff" * 512)
    struct.pack_into("<II", fat, 0, 0xFFFFFFFD, 0xFFFFFFFE)
    directory = bytearray(512)
    for index, name in enumerate(["Root Entry"] + stream_names):
        entry = bytearray(128)
        encoded = name.encode("utf-16-le") + b"\0\0"
        entry[0 : len(encoded)] = encoded
        struct.pack_into("<H", entry, 64, len(encoded))
        entry[66] = 5 if index == 0 else 2
        struct.pack_into("<III", entry, 68, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF if index or not stream_names else 1)
        directory[128 * index : 128 * (index + 1)] = entry
    return bytes(header + fat + directory)


def password_xls(source, path):
    """values.xls with its first record after the workbook's BOF turned into FILEPASS."""
    data = bytearray(open(source, "rb").read())
    bof = data.find(bytes.fromhex("0908100000060500"))
    at = bof + 4 + 16
    assert bof > 0
    data[at : at + 2] = struct.pack("<H", 0x002F)
    open(path, "wb").write(data)


if __name__ == "__main__":
    j = lambda name: os.path.join(HERE, name)
    values_xlsx(j("values.xlsx"))
    values_xls(j("values.xls"))
    write_zip(j("handmade.xlsx"), handmade_parts())
    whole = open(j("values.xlsx"), "rb").read()
    open(j("truncated.xlsx"), "wb").write(whole[: len(whole) // 2])
    open(j("notzip.xlsx"), "w").write("X,Y,Z\n1,2,3\n")
    write_zip(j("noworkbook.xlsx"), [("readme.txt", "no workbook here")])
    parts = handmade_parts()
    parts[5] = ("xl/worksheets/sheet1.xml", parts[5][1].replace("</x:sheetData>", ""))
    write_zip(j("badxml.xlsx"), parts)
    open(j("encrypted.xlsx"), "wb").write(ole_file(["EncryptionInfo", "EncryptedPackage"]))
    open(j("badbiff.xls"), "wb").write(ole_file(["Workbook"]) + b"\x00" * 512)
    password_xls(j("values.xls"), j("password.xls"))

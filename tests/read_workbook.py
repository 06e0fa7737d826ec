#!/usr/bin/python3
"""Prints what an xlsx file holds as JSON, read by openpyxl: the tests' reader
that shares no code with the program."""
import hashlib
import json
import sys
import zipfile

import openpyxl


def describe(path):
    book = openpyxl.load_workbook(path)
    out = {"sheets": book.sheetnames, "active": book.active.title, "cells": {}, "widths": {},
           "heights": {}, "merged": {}, "margins": {}, "parts": {}}
    for sheet in book.worksheets:
        cells = {}
        for row in sheet.iter_rows():
            for c in row:
                if c.value is None:
                    continue
                f = c.font
                cells[c.coordinate] = [c.value, c.data_type, f.name, f.sz, f.u or "", bool(f.b),
                                       c.number_format]
        out["cells"][sheet.title] = cells
        out["widths"][sheet.title] = {k: d.width for k, d in sheet.column_dimensions.items()
                                      if d.customWidth}
        out["heights"][sheet.title] = {str(k): d.height for k, d in sheet.row_dimensions.items()
                                       if d.height is not None and k <= 4}
        out["merged"][sheet.title] = sorted(str(r) for r in sheet.merged_cells.ranges)
        m = sheet.page_margins
        out["margins"][sheet.title] = [m.left, m.right, m.top, m.bottom]
    with zipfile.ZipFile(path) as z:
        for info in z.infolist():
            out["parts"][info.filename] = hashlib.sha1(z.read(info.filename)).hexdigest()
    return out


print(json.dumps(describe(sys.argv[1]), ensure_ascii=False))

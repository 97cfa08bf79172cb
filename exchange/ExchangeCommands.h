// Handlers of the spreadsheet exchange commands.
#pragma once

// "EPL", "IPL", "XPL": polyline vertices and lengths to and from workbooks.
void cmdExportPolylinePoints();
void cmdImportPolylinePoints();
void cmdExportLengths();
// "RPT", "RM": text replacement from a lookup sheet, sample logs from a sheet.
void cmdReplaceTexts();
void cmdDrawSampleLogs();
// "E2B", "B2E": sheets to tables and tables to sheets.
void cmdSheetToTable();
void cmdTableToSheet();

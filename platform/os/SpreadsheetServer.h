// The spreadsheet application object of the automation registry, over real
// .xlsx workbooks (XlsxReader.h, XlsxWriter.h). It answers, by name, the
// calls a program makes to list, read and write a workbook's sheets:
//
//   Application: WorkBooks, ActiveWorkBook (the last workbook opened or added
//     that is still open, else empty), ActiveCell, Quit (closes every workbook
//     unsaved; the server's objects raise afterwards)
//   Workbooks: Open(FileName), Add (one sheet, "Sheet1"), Count, Item(i)
//   Workbook: Sheets and WorkSheets (Count, Item(i) 1-based, Add: a free
//     "SheetN" inserted before the active sheet and made active),
//     ActiveSheet, Saved (read and write; a change clears it, saving sets
//     it), Save, SaveAs(FileName), Close(SaveChanges:=) (absent: false)
//   Sheet: Name (read and write), UsedRange (from the cells holding a value),
//     Range("B2:E40" or "$A$1", or two corners), Rows, Columns, Cells(r, c)
//   Range: Address ("$B$2:$E$40", "$A$1"), Rows, Columns, Count, Value,
//     Row, Column, Cells(r, c) (relative to the range)
//
// Value reads give the one cell's value, or a two-dimensional array with
// bounds from 1; a write takes an array of exactly the range's size (any
// lower bounds) or, for one cell, a value. Kinds are kept: texts stay texts,
// numbers are doubles, Booleans Booleans, empty cells empty, error cells
// error variants (0x800A0000 + the sheet's error number); a date reads as its
// serial number and keeps its number format.
//
// While an application object made in this process lives and has not quit,
// GetActiveOleObject finds it. Every failure raises EOleException naming the
// file and the cause.
#pragma once

#include "platform/base/ComObj.h"
#include "platform/os/XlsxReader.h"

inline const String SpreadsheetProgId = L"excel.application";

struct TSpreadsheetLimits {
    TXlsxLimits Reader;                 // bounds on the files opened
    uint64_t MaxValueCells = 5000000;   // cells one Value read or write may span
};

// The limits the server applies (settable; tests lower them).
TSpreadsheetLimits& SpreadsheetServerLimits();

TComPtr<IDispatch> CreateSpreadsheetApplication();

// "A1"-style references: column letters (A..XFD) both ways, and a whole
// address ("$B$2:$E$40") read into its corners; false when malformed or
// outside the sheet.
String XlsxColumnLetters(int column);
bool XlsxParseRange(const String& address, int& row1, int& col1, int& row2, int& col2);

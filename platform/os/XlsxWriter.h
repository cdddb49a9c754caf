// Writes the sparse workbook model of XlsxReader.h as an .xlsx package:
// the worksheets in order with their names, every cell's value with its kind
// (texts, numbers, Booleans) and number format, the active sheet and each
// sheet's active cell. Fonts, fills, borders and widths are not part of the
// model and are not written.
//
// The package is written to a temporary file in the target's folder and
// renamed over the target at the end, so a failed write leaves an existing
// file byte for byte. The format is always .xlsx, whatever the extension.
// Cells the model cannot write (formulas, error values) and an invalid
// sheet name raise EXlsxError before anything is written.
#pragma once

#include "platform/os/XlsxReader.h"

void WriteXlsxWorkbook(const TXlsxWorkbook& book, const String& fileName);

// The sheet-name rules of a workbook: 1 to 31 characters, none of
// [ ] : * ? / \ . Answers the fault ("" when the name is valid).
String XlsxSheetNameFault(const String& name);

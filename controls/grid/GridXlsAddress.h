// Cell addresses of the grid's spreadsheet exchange: the column letters of
// a target range and the used range's absolute address read back into
// corners.
#pragma once

#include "platform/base/Types.h"

// The letters of column n (1-based) in full base 26: A..Z, AA..ZZ, AAA..;
// "" for n < 1.
String XlsColumnName(Integer n);

// The corners of a used range (1-based, inclusive); a value the address
// does not give readably is -1.
struct TXlsUsedArea {
    Integer Col1 = -1, Row1 = -1, Col2 = -1, Row2 = -1;
    bool Readable() const { return Col1 >= 0 && Row1 >= 0 && Col2 >= 0 && Row2 >= 0; }
};

// Reads an absolute address as the spreadsheet reports a used range:
// "$B$2:$E$40" (two corners), "$C$3" (one cell), "A1" (no "$": the first
// cell), "2:40" (rows only: columns 1 to 256). Column letters count in full
// base 26 within the sheet's 16,384 columns; rows lie within its 1,048,576.
TXlsUsedArea ParseXlsUsedAddress(const String& Address);

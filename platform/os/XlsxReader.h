// Reads an .xlsx workbook (a zip package of SpreadsheetML parts) into a
// sparse model: the worksheets in file order with their names, the cells that
// hold a value (or carry a number format) with their kind, and the active cell
// of each sheet's view. Formulas are read by their cached value.
//
// The file is outside input. Every part is inflated with its bytes counted as
// they come out (the archive's directory is never believed), per part and
// for the whole package, against settable limits; the number of entries is
// capped; part names are resolved inside the package only; XML parts are
// parsed without network, DTD or entities; cell references must lie within
// 1,048,576 rows and 16,384 columns. Any fault raises EXlsxError naming the
// file and the cause; nothing is returned half-read.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "platform/base/Exceptions.h"

VEL_DECLARE_EXCEPTION(EXlsxError, Exception)

constexpr int XlsxMaxRows = 1048576;
constexpr int XlsxMaxColumns = 16384;

enum class TXlsxCellKind { Empty, String, Number, Boolean, Error };

struct TXlsxCell {
    TXlsxCellKind Kind = TXlsxCellKind::Empty;
    String Text;         // String: the text; Error: the error literal ("#DIV/0!")
    double Number = 0;   // Number
    bool Boolean = false;
    bool Formula = false;  // the value is a formula's cached result
    // Number format: the id (built-in below 164 unless the workbook defines
    // it) and, for a format the workbook defines, its code.
    int NumFmtId = 0;
    String NumFmtCode;
};

struct TXlsxSheet {
    String Name;
    // Keyed by (row, column), both 1-based.
    std::map<std::pair<int, int>, TXlsxCell> Cells;
    int ActiveRow = 1;
    int ActiveColumn = 1;
};

struct TXlsxWorkbook {
    std::vector<TXlsxSheet> Sheets;
    int ActiveSheet = 0;  // 0-based index into Sheets
    // What the file holds beyond the cells' values and number formats, in a
    // fixed order ("formulas", "error values", "comments", "charts",
    // "pictures", "drawings", "pivot tables", "macros", "external links",
    // "the 1904 date system"):
    // a writer of the model would drop it.
    std::vector<String> Unkept;
};

struct TXlsxLimits {
    uint64_t MaxPartBytes = 256u << 20;      // inflated bytes of one part
    uint64_t MaxPackageBytes = 1024u << 20;  // inflated bytes of all parts read
    uint64_t MaxEntries = 10000;             // entries in the archive
};

// Parses "B12" / "$B$12" into (row, column), 1-based; false when malformed
// or out of the sheet's bounds.
bool XlsxParseCellRef(const String& ref, int& row, int& column);

TXlsxWorkbook ReadXlsxWorkbook(const String& fileName, const TXlsxLimits& limits = TXlsxLimits());

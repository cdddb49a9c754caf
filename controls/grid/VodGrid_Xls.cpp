// Spreadsheet exchange: the grid lists, reads and writes workbooks by
// driving the spreadsheet application object through late-bound calls. The
// grid parses no file itself; whatever server answers "excel.application"
// opens and saves the workbooks.
//
// A failed open, add or save raises; on every path out of a call the
// workbook the call opened or added is closed without saving and an
// application the call started is quit, so no half-written workbook or
// stray server is left behind. A workbook or application the user already
// had is left as it was.
#include <filesystem>
#include <memory>

#include "controls/grid/GridXlsAddress.h"
#include "controls/grid/VodGrid.h"
#include "platform/base/ComObj.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Variants.h"
#include "platform/ui/Forms.h"

namespace {

const String XlsProgId = L"excel.application";
const String NoServer = L"Excel OLE server not found";

// Shows the hourglass for the length of a call; the previous cursor comes
// back on every way out, before an error reaches the caller.
class THourGlass {
public:
    THourGlass() : FSaved(Screen ? Screen->Cursor() : TCursor(crDefault))
    {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~THourGlass()
    {
        if (Screen) Screen->SetCursor(FSaved);
    }
    THourGlass(const THourGlass&) = delete;
    THourGlass& operator=(const THourGlass&) = delete;

private:
    TCursor FSaved;
};

// One conversation with the application: what it started and opened is put
// away on every path that does not finish it.
class TXlsSession {
public:
    Variant App;
    Variant Book;
    bool Running = false;   // attached to an application that was already running
    bool OwnBook = false;   // the workbook was opened or added by this call

    ~TXlsSession() { Abandon(); }
    TXlsSession() = default;
    TXlsSession(const TXlsSession&) = delete;
    TXlsSession& operator=(const TXlsSession&) = delete;

    // A new application object; "Excel OLE server not found" when none can
    // be made.
    void Create()
    {
        try {
            App = Variant(CreateOleObject(XlsProgId));
        } catch (const Exception&) {
            throw EVodGridError(NoServer);
        }
    }

    // The running application when there is one, else a new one.
    void AttachOrCreate()
    {
        try {
            App = Variant(GetActiveOleObject(XlsProgId));
            Running = true;
            return;
        } catch (const EOleError&) {
        }
        Create();
    }

    // Books.Open or Books.Add; a failure raises EVodGridError with the
    // server's message.
    void Open(const String& FileName)
    {
        try {
            Book = App.Get(L"WorkBooks").Call(L"Open", {Variant(FileName)});
        } catch (const EOleError& e) {
            throw EVodGridError(e.Message());
        }
        OwnBook = true;
    }
    void Add()
    {
        try {
            Book = App.Get(L"WorkBooks").Call(L"Add");
        } catch (const EOleError& e) {
            throw EVodGridError(e.Message());
        }
        OwnBook = true;
    }

    // Closes the workbook without saving (when this call opened it) and
    // quits the application (when this call started it).
    void Finish()
    {
        if (OwnBook && !VarIsClear(Book)) {
            OwnBook = false;
            Book.Call(L"Close", {}, {{L"SaveChanges", Variant(false)}});
        }
        Book = Variant();
        if (!Running && !VarIsClear(App)) App.Call(L"Quit");
        App = Variant();
    }

private:
    void Abandon() noexcept
    {
        try {
            if (OwnBook && !VarIsClear(Book)) Book.Call(L"Close", {}, {{L"SaveChanges", Variant(false)}});
        } catch (...) {
        }
        try {
            if (!Running && !VarIsClear(App)) App.Call(L"Quit");
        } catch (...) {
        }
    }
};

// The sheet of the workbook called Name (the first one when First, the
// last one otherwise); Unassigned when there is none.
Variant FindSheet(const Variant& Book, const String& Name, bool First)
{
    Variant sheets = Book.Get(L"Sheets");
    const Integer n = sheets.Get(L"Count").AsInteger();
    Variant found;
    for (Integer i = 1; i <= n; ++i) {
        Variant sheet = sheets.Get(L"Item", {Variant(i)});
        if (VarToStr(sheet.Get(L"Name")) == Name) {
            found = sheet;
            if (First) break;
        }
    }
    return found;
}

// A value read from a sheet that carries a text for the grid: not empty,
// not an error, not an object or array.
bool HoldsText(const Variant& v)
{
    const TVarType t = v.VarType();
    return t != varEmpty && t != varNull && t != varError && t != varDispatch &&
           (t & varArray) == 0;
}

}  // namespace

String XlsColumnName(Integer n)
{
    String s;
    while (n > 0) {
        const Integer d = (n - 1) % 26;
        s.insert(s.begin(), Char(L'A' + d));
        n = (n - 1) / 26;
    }
    return s;
}

namespace {

constexpr Integer XlsMaxRows = 1048576;
constexpr Integer XlsMaxCols = 16384;

// The row of a part: the digits after its next "$", or the whole part when
// none is left; -1 when that is not a row of the sheet.
Integer PartRow(const String& part)
{
    const size_t k = part.find(L'$');
    const String s = k == String::npos ? part : part.substr(k + 1);
    if (s.empty() || s.size() > 7) return -1;
    Integer v = 0;
    for (Char ch : s) {
        if (ch < L'0' || ch > L'9') return -1;
        v = v * 10 + (ch - L'0');
    }
    return v >= 1 && v <= XlsMaxRows ? v : -1;
}

// The column of a part: its letters before the "$", in full base 26; -1
// when they are not letters of a column of the sheet.
Integer PartCol(const String& part)
{
    const size_t k = part.find(L'$');
    if (k == String::npos || k == 0 || k > 3) return -1;
    Integer v = 0;
    for (size_t i = 0; i < k; ++i) {
        Char ch = part[i];
        if (ch >= L'a' && ch <= L'z') ch = Char(ch - L'a' + L'A');
        if (ch < L'A' || ch > L'Z') return -1;
        v = v * 26 + (ch - L'A' + 1);
    }
    return v <= XlsMaxCols ? v : -1;
}

String DropDollar(const String& s) { return !s.empty() && s[0] == L'$' ? s.substr(1) : s; }

}  // namespace

TXlsUsedArea ParseXlsUsedAddress(const String& Address)
{
    TXlsUsedArea a;
    const size_t colon = Address.find(L':');
    if (colon != String::npos) {
        const String first = Address.substr(0, colon);
        const String last = DropDollar(Address.substr(colon + 1, 255));
        const bool dollar = first.find(L'$') != String::npos;
        const String p1 = DropDollar(first);
        a.Row1 = PartRow(p1);
        a.Row2 = PartRow(last);
        if (!dollar) {
            a.Col1 = 1;
            a.Col2 = 256;
        } else {
            a.Col1 = PartCol(p1);
            a.Col2 = PartCol(last);
        }
        return a;
    }
    if (Address.find(L'$') == String::npos) {
        a.Col1 = a.Col2 = a.Row1 = a.Row2 = 1;
        return a;
    }
    const String p = DropDollar(Address);
    a.Row1 = a.Row2 = PartRow(p);
    a.Col1 = a.Col2 = PartCol(p);
    return a;
}

TStringList* TVodStringGrid::GetXLSSheets(const String& FileName)
{
    THourGlass hourglass;
    TXlsSession xls;
    xls.Create();
    xls.Open(FileName);
    auto list = std::make_unique<TStringList>();
    Variant sheets = xls.Book.Get(L"WorkSheets");
    const Integer n = sheets.Get(L"Count").AsInteger();
    for (Integer i = 1; i <= n; ++i) list->Add(VarToStr(sheets.Get(L"Item", {Variant(i)}).Get(L"Name")));
    xls.Book.Set(L"Saved", Variant(true));
    xls.Finish();
    return list.release();
}

void TVodStringGrid::LoadFromXLS(const String& Filename) { LoadXLS(Filename, String(), false); }

void TVodStringGrid::LoadFromXLSSheet(const String& Filename, const String& SheetName)
{
    LoadXLS(Filename, SheetName, true);
}

void TVodStringGrid::LoadXLS(const String& Filename, const String& SheetName, bool Named)
{
    THourGlass hourglass;
    TXlsSession xls;
    xls.Create();
    xls.Open(Filename);

    Variant sheet;
    if (Named) {
        sheet = FindSheet(xls.Book, SheetName, true);
        if (VarIsClear(sheet)) throw EVodGridError(L"Excel worksheet " + SheetName + L" not found");
    } else {
        sheet = xls.Book.Get(L"ActiveSheet");
    }

    // Where the values are: the used range's address, else its counts.
    Variant used = sheet.Get(L"UsedRange");
    TXlsUsedArea area = ParseXlsUsedAddress(VarToStr(used.Get(L"Address")));
    if (!area.Readable()) {
        area.Col1 = area.Row1 = 1;
        area.Row2 = used.Get(L"Rows").Get(L"Count").AsInteger();
        area.Col2 = used.Get(L"Columns").Get(L"Count").AsInteger();
    }
    const Int64 cols = Int64(area.Col2) - area.Col1 + 1, rows = Int64(area.Row2) - area.Row1 + 1;
    if (cols < 1 || rows < 1 || area.Col2 > XlsMaxCols || area.Row2 > XlsMaxRows)
        throw Exception(L"Incorrect Excel file");
    const bool single = cols == 1 && rows == 1;

    // Every value is read and checked before the grid changes.
    Variant values;
    try {
        if (single) {
            values = sheet.Get(L"Rows").Get(L"Cells", {Variant(area.Row1), Variant(area.Col1)}).Get(L"Value");
        } else {
            const String address = XlsColumnName(area.Col1) + IntToStr(area.Row1) + L":" +
                                   XlsColumnName(area.Col2) + IntToStr(area.Row2);
            values = sheet.Call(L"Range", {Variant(address)}).Get(L"Value");
            if (!values.IsArray() || VarArrayDimCount(values) != 2 || VarArrayLowBound(values, 1) != 1 ||
                VarArrayLowBound(values, 2) != 1 || VarArrayHighBound(values, 1) != rows ||
                VarArrayHighBound(values, 2) != cols)
                throw Exception(L"Incorrect Excel file");
        }
    } catch (const Exception&) {
        throw Exception(L"Incorrect Excel file");
    }

    const Integer fc = FixedCols(), fr = FixedRows();
    const Integer startCol = (SaveFixedCells() || SaveFixedCols()) ? 0 : fc;
    const Integer startRow = (SaveFixedCells() || SaveFixedRows()) ? 0 : fr;
    BeginUpdate();
    try {
        SetColCount(Integer(cols) + startCol);
        SetRowCount(Integer(rows) + startRow);
        if (fc < ColCount()) SetFixedCols(fc);
        if (fr < RowCount()) SetFixedRows(fr);
        if (single) {
            // The one cell's text is stored as it is, an empty one included.
            if (HoldsText(values) || values.IsEmpty()) LoadCell(startCol, startRow, VarToStr(values));
        } else {
            // Read in place: a text goes from the array into its cell with
            // one copy, the store's own.
            for (Integer i = 1; i <= Integer(rows); ++i)
                for (Integer j = 1; j <= Integer(cols); ++j) {
                    const Variant& v = values.ElementRef({i, j});
                    if (const String* text = v.OleStr())
                        LoadCell(startCol + j - 1, startRow + i - 1, *text);
                    else if (HoldsText(v))
                        LoadCell(startCol + j - 1, startRow + i - 1, VarToStr(v));
                }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();

    xls.Finish();
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
    RecalcAllFooters();
}

void TVodStringGrid::SaveToXLS(const String& Filename, bool CreateNewSheet)
{
    SaveXLS(Filename, String(), CreateNewSheet, false);
}

void TVodStringGrid::SaveToXLSSheet(const String& Filename, const String& SheetName)
{
    SaveXLS(Filename, SheetName, false, true);
}

void TVodStringGrid::SaveXLS(const String& Filename, const String& SheetName, bool CreateNewSheet, bool Named)
{
    THourGlass hourglass;
    TXlsSession xls;
    xls.AttachOrCreate();

    Variant sheet;
    Integer top = 1;
    bool inPlace = false;   // saved with Save: the workbook came from the file
    if (Named) {
        if (std::filesystem::exists(std::filesystem::path(UTF8Encode(Filename)))) {
            // A file that cannot be opened raises: it is never replaced by
            // a new workbook.
            xls.Open(Filename);
            inPlace = true;
        } else {
            xls.Add();
        }
        sheet = FindSheet(xls.Book, SheetName, false);
        if (VarIsClear(sheet)) {
            sheet = xls.Book.Get(L"WorkSheets").Call(L"Add");
            sheet.Set(L"Name", Variant(SheetName));
        }
    } else if (CreateNewSheet || xls.App.Get(L"WorkBooks").Get(L"Count").AsInteger() == 0) {
        xls.Add();
        sheet = xls.Book.Get(L"WorkSheets").Get(L"Item", {Variant(Integer(1))});
    } else {
        xls.Book = xls.App.Get(L"ActiveWorkBook");
        sheet = xls.Book.Get(L"ActiveSheet");
        top = xls.App.Get(L"ActiveCell").Get(L"Row").AsInteger();
    }

    const Integer sc = SaveStartCol(), sr = SaveStartRow();
    const Integer cols = ColCount() - sc, rows = RowCount() - sr;
    if (cols > 0 && rows > 0) {
        Variant values = VarArrayCreate({0, rows - 1, 0, cols - 1}, varVariant);
        ExportNotification(esExportStart, sr);
        for (Integer r = sr; r < RowCount(); ++r) {
            ExportNotification(esExportNextRow, r);
            for (Integer c = sc; c < ColCount(); ++c) {
                String s = SaveCell(RealColIndex(c), r);
                std::erase(s, L'\r');
                values.PutElement({r - sr, c - sc}, Variant(std::move(s)));
            }
        }
        ExportNotification(esExportDone, -1);
        const String address =
            L"A" + IntToStr(top) + L":" + XlsColumnName(cols) + IntToStr(Int64(top) + rows - 1);
        sheet.Call(L"Range", {Variant(address)}).Set(L"Value", values);
    }

    try {
        if (inPlace) xls.Book.Call(L"Save");
        else xls.Book.Call(L"SaveAs", {Variant(Filename)});
    } catch (const EOleError& e) {
        throw EVodGridError(e.Message());
    }
    // The saved workbook stays open in an application the user runs.
    if (xls.Running) xls.OwnBook = false;
    xls.Finish();
}

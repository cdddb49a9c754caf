#include "platform/os/SpreadsheetServer.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/os/XlsxWriter.h"

namespace {

// The error numbers the spreadsheet gives its error values; an error variant
// carries 0x800A0000 plus the number.
struct TErrorName {
    const Char* Text;
    int Number;
};
const TErrorName ErrorNames[] = {
    {L"#NULL!", 2000}, {L"#DIV/0!", 2007}, {L"#VALUE!", 2015}, {L"#REF!", 2023},
    {L"#NAME?", 2029}, {L"#NUM!", 2036},   {L"#N/A", 2042},
};
constexpr HRESULT ErrorBase = static_cast<HRESULT>(0x800A0000u);

[[noreturn]] void Raise(const String& message)
{
    throw EOleException(message, E_FAIL, SpreadsheetProgId);
}

struct TBook;

// What every object of one application shares.
struct TAppState {
    bool Quit = false;
    std::vector<std::shared_ptr<TBook>> Books;   // open, in the order opened or added
    int NextBook = 1;

    void CheckLive() const
    {
        if (Quit) Raise(L"The spreadsheet application has quit");
    }
};

struct TSheet {
    TXlsxSheet Data;
};

struct TBook {
    std::weak_ptr<TAppState> App;
    String Name;
    String FileName;                    // "" for a workbook added and never saved
    bool FromFile = false;              // opened from FileName
    bool Open = true;
    bool Saved = true;
    std::vector<String> Unkept;         // what the file held that saving would drop
    std::vector<std::shared_ptr<TSheet>> Sheets;
    std::shared_ptr<TSheet> Active;

    String Label() const { return FileName.empty() ? Name : FileName; }

    void CheckLive() const
    {
        auto app = App.lock();
        if (!app || app->Quit) Raise(L"The spreadsheet application has quit");
        if (!Open) Raise(L"The workbook " + Label() + L" is closed");
    }

    int IndexOf(const TSheet* sheet) const
    {
        for (size_t i = 0; i < Sheets.size(); ++i)
            if (Sheets[i].get() == sheet) return static_cast<int>(i);
        return -1;
    }


    void WriteTo(const String& fileName)
    {
        if (!Unkept.empty()) {
            String what;
            for (const String& u : Unkept) what += (what.empty() ? L"" : L", ") + u;
            Raise(fileName + L": the workbook read from " + FileName + L" holds " + what +
                  L", which saving would drop; nothing was written");
        }
        // The sheets lend their cells to the model for the write (no copy)
        // and take them back on every path.
        TXlsxWorkbook model;
        model.ActiveSheet = std::max(0, IndexOf(Active.get()));
        struct TLend {
            std::vector<std::shared_ptr<TSheet>>& Sheets;
            TXlsxWorkbook& Model;
            ~TLend()
            {
                for (size_t i = 0; i < Model.Sheets.size(); ++i) Sheets[i]->Data = std::move(Model.Sheets[i]);
            }
        } lend{Sheets, model};
        for (const auto& sh : Sheets) model.Sheets.push_back(std::move(sh->Data));
        try {
            WriteXlsxWorkbook(model, fileName);
        } catch (const EXlsxError& e) {
            Raise(e.Message());
        }
    }
};

int ErrorNumber(const String& text)
{
    for (const TErrorName& e : ErrorNames)
        if (text == e.Text) return e.Number;
    return 2015;   // an unknown literal reads as #VALUE!
}

Variant CellValue(const TXlsxCell& cell)
{
    switch (cell.Kind) {
    case TXlsxCellKind::String: return Variant(cell.Text);
    case TXlsxCellKind::Number: return Variant(cell.Number);
    case TXlsxCellKind::Boolean: return Variant(cell.Boolean);
    case TXlsxCellKind::Error: return Variant::FromError(ErrorBase + ErrorNumber(cell.Text));
    case TXlsxCellKind::Empty: break;
    }
    return Variant();
}

// Stores one value in a cell of the model, keeping the cell's number format.
using TCellMap = std::map<std::pair<int, int>, TXlsxCell>;

// Stores one value in a cell of the model, keeping the cell's number format.
// at: in, the first cell not before (row, col); out, the first one after it,
// so that a caller storing a row from left to right searches only once.
void StoreValue(TXlsxSheet& sheet, int row, int col, const Variant& v, TCellMap::iterator& at)
{
    TCellMap& cells = sheet.Cells;
    const std::pair<int, int> key{row, col};
    const bool exists = at != cells.end() && at->first == key;
    TVarType t = v.VarType();
    if (t == varEmpty || t == varNull) {
        if (!exists) return;
        TXlsxCell& cell = at->second;
        if (cell.NumFmtId == 0 && cell.NumFmtCode.empty()) {
            at = cells.erase(at);
            return;
        }
        int id = cell.NumFmtId;
        String code = std::move(cell.NumFmtCode);
        cell = TXlsxCell();
        cell.NumFmtId = id;
        cell.NumFmtCode = std::move(code);
        ++at;
        return;
    }
    TXlsxCell value;
    switch (t) {
    case varOleStr:
        value.Kind = TXlsxCellKind::String;
        value.Text = v.AsString();
        break;
    case varBoolean:
        value.Kind = TXlsxCellKind::Boolean;
        value.Boolean = v.AsBoolean();
        break;
    case varSmallint:
    case varInteger:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varByte:
    case varInt64:
    case varDate:
        value.Kind = TXlsxCellKind::Number;
        value.Number = v.AsDouble();
        break;
    default:
        Raise(L"A cell cannot hold a value of type " + VarTypeAsText(t));
    }
    if (exists) {
        value.NumFmtId = at->second.NumFmtId;
        value.NumFmtCode = std::move(at->second.NumFmtCode);
    }
    // A date written into a cell without a format shows as a date.
    if (t == varDate && value.NumFmtId == 0 && value.NumFmtCode.empty()) value.NumFmtId = 14;
    if (exists) {
        at->second = std::move(value);
        ++at;
    } else {
        at = std::next(cells.emplace_hint(at, key, std::move(value)));
    }
}

void StoreValue(TXlsxSheet& sheet, int row, int col, const Variant& v)
{
    auto at = sheet.Cells.lower_bound({row, col});
    StoreValue(sheet, row, col, v, at);
}

TComPtr<IDispatch> AsDispatch(TAutoObject* obj)
{
    return TComPtr<IDispatch>(static_cast<IDispatch*>(obj));
}

// ---------------------------------------------------------------------------
// Range: a rectangle of a sheet (1-based, inclusive).

enum class TCountBy { Cells, Rows, Columns };

class TRangeObj : public TAutoObject {
public:
    TRangeObj(std::shared_ptr<TBook> book, std::shared_ptr<TSheet> sheet, int r1, int c1, int r2, int c2,
              TCountBy countBy = TCountBy::Cells)
        : TAutoObject(SpreadsheetProgId), FBook(std::move(book)), FSheet(std::move(sheet)), FR1(r1), FC1(c1),
          FR2(r2), FC2(c2), FCountBy(countBy)
    {
    }

    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TRangeObj>()
                .Property(L"Address", [](TRangeObj& r, const TAutoArgs&) { return Variant(r.Address()); })
                .Property(L"Rows", [](TRangeObj& r, const TAutoArgs&) { return r.Sub(TCountBy::Rows); })
                .Property(L"Columns", [](TRangeObj& r, const TAutoArgs&) { return r.Sub(TCountBy::Columns); })
                .Property(L"Count", [](TRangeObj& r, const TAutoArgs&) { return r.Count(); })
                .Property(L"Row", [](TRangeObj& r, const TAutoArgs&) { return r.Live(), Variant(Integer(r.FR1)); })
                .Property(L"Column", [](TRangeObj& r, const TAutoArgs&) { return r.Live(), Variant(Integer(r.FC1)); })
                .Method(L"Cells", [](TRangeObj& r, const TAutoArgs& a) { return r.Cells(a); }, {L"RowIndex", L"ColumnIndex"})
                .Property(
                    L"Value", [](TRangeObj& r, const TAutoArgs&) { return r.Value(); },
                    [](TRangeObj& r, const TAutoArgs& a) { r.SetValue(a.Value()); })
                .Default();
        return table;
    }

private:
    // Errors name the workbook's file (or its name before the first save).
    [[noreturn]] void Fail(const String& cause) const { Raise(FBook->Label() + L": " + cause); }

    void Live() const
    {
        FBook->CheckLive();
        if (FBook->IndexOf(FSheet.get()) < 0) Fail(L"The sheet was removed");
    }

    String Address() const
    {
        Live();
        String a = L"$" + XlsxColumnLetters(FC1) + L"$" + IntToStr(FR1);
        if (FR1 != FR2 || FC1 != FC2) a += L":$" + XlsxColumnLetters(FC2) + L"$" + IntToStr(FR2);
        return a;
    }

    Variant Sub(TCountBy by)
    {
        Live();
        return Variant(AsDispatch(new TRangeObj(FBook, FSheet, FR1, FC1, FR2, FC2, by)));
    }

    Variant Count() const
    {
        Live();
        Int64 rows = FR2 - FR1 + 1, cols = FC2 - FC1 + 1;
        Int64 n = FCountBy == TCountBy::Rows ? rows : FCountBy == TCountBy::Columns ? cols : rows * cols;
        if (n <= 0x7FFFFFFF) return Variant(Integer(n));
        return Variant(double(n));
    }

    Variant Cells(const TAutoArgs& a)
    {
        Live();
        int r = a.Required(0).AsInteger(), c = a.Required(1).AsInteger();
        Int64 row = Int64(FR1) + r - 1, col = Int64(FC1) + c - 1;
        if (r < 1 || c < 1 || row > XlsxMaxRows || col > XlsxMaxColumns)
            Fail(L"Cells(" + IntToStr(r) + L", " + IntToStr(c) + L") lies outside the sheet");
        int ri = static_cast<int>(row), ci = static_cast<int>(col);
        return Variant(AsDispatch(new TRangeObj(FBook, FSheet, ri, ci, ri, ci)));
    }

    void CheckSize(Int64 cells) const
    {
        if (static_cast<uint64_t>(cells) > SpreadsheetServerLimits().MaxValueCells)
            Fail(L"The range " + Address() + L" spans " + IntToStr(cells) + L" cells, more than a value may hold");
    }

    Variant Value() const
    {
        Live();
        const TXlsxSheet& sheet = FSheet->Data;
        if (FR1 == FR2 && FC1 == FC2) {
            auto it = sheet.Cells.find({FR1, FC1});
            return it == sheet.Cells.end() ? Variant() : CellValue(it->second);
        }
        int rows = FR2 - FR1 + 1, cols = FC2 - FC1 + 1;
        CheckSize(Int64(rows) * cols);
        Variant array = VarArrayCreate({1, rows, 1, cols}, varVariant);
        // Walk the stored cells of each row instead of probing every place.
        for (int r = FR1; r <= FR2; ++r) {
            auto it = sheet.Cells.lower_bound({r, FC1});
            if (it == sheet.Cells.end()) break;
            if (it->first.first != r) {
                // Skip the rows without cells in the range at once.
                r = it->first.first - 1;
                continue;
            }
            for (; it != sheet.Cells.end() && it->first.first == r && it->first.second <= FC2; ++it)
                if (it->second.Kind != TXlsxCellKind::Empty)
                    array.PutElement({r - FR1 + 1, it->first.second - FC1 + 1}, CellValue(it->second));
        }
        return array;
    }

    void SetValue(const Variant& v)
    {
        Live();
        TXlsxSheet& sheet = FSheet->Data;
        int rows = FR2 - FR1 + 1, cols = FC2 - FC1 + 1;
        if (!v.IsArray()) {
            if (rows != 1 || cols != 1)
                Fail(L"The range " + Address() + L" takes an array of " + IntToStr(rows) + L" x " + IntToStr(cols) +
                      L" values");
            TVarType t = v.VarType();
            if (t == varDispatch || t == varError)
                Fail(L"A cell cannot hold a value of type " + VarTypeAsText(t));
            StoreValue(sheet, FR1, FC1, v);
            FBook->Saved = false;
            return;
        }
        if (VarArrayDimCount(v) != 2)
            Fail(L"The range " + Address() + L" takes a two-dimensional array");
        int lr = VarArrayLowBound(v, 1), hr = VarArrayHighBound(v, 1);
        int lc = VarArrayLowBound(v, 2), hc = VarArrayHighBound(v, 2);
        if (Int64(hr) - lr + 1 != rows || Int64(hc) - lc + 1 != cols)
            Fail(L"The range " + Address() + L" takes an array of " + IntToStr(rows) + L" x " + IntToStr(cols) +
                  L" values, not " + IntToStr(Int64(hr) - lr + 1) + L" x " + IntToStr(Int64(hc) - lc + 1));
        CheckSize(Int64(rows) * cols);
        // Check every element before the first write: a refused array
        // leaves the sheet as it was.
        for (int i = 0; i < rows; ++i)
            for (int j = 0; j < cols; ++j) {
                TVarType t = v.GetElement({lr + i, lc + j}).VarType();
                if (t == varDispatch || t == varError || (t & varArray))
                    Fail(L"A cell cannot hold a value of type " + VarTypeAsText(t));
            }
        for (int i = 0; i < rows; ++i) {
            auto at = sheet.Cells.lower_bound({FR1 + i, FC1});
            for (int j = 0; j < cols; ++j) StoreValue(sheet, FR1 + i, FC1 + j, v.GetElement({lr + i, lc + j}), at);
        }
        FBook->Saved = false;
    }

    std::shared_ptr<TBook> FBook;
    std::shared_ptr<TSheet> FSheet;
    int FR1, FC1, FR2, FC2;
    TCountBy FCountBy;
};

// ---------------------------------------------------------------------------
// Sheet

class TSheetObj : public TAutoObject {
public:
    TSheetObj(std::shared_ptr<TBook> book, std::shared_ptr<TSheet> sheet)
        : TAutoObject(SpreadsheetProgId), FBook(std::move(book)), FSheet(std::move(sheet))
    {
    }

    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TSheetObj>()
                .Property(
                    L"Name", [](TSheetObj& s, const TAutoArgs&) { return s.Live(), Variant(s.FSheet->Data.Name); },
                    [](TSheetObj& s, const TAutoArgs& a) { s.SetName(VarToStr(a.Value())); })
                .Property(L"UsedRange", [](TSheetObj& s, const TAutoArgs&) { return s.UsedRange(); })
                .Method(L"Range", [](TSheetObj& s, const TAutoArgs& a) { return s.Range(a); }, {L"Cell1", L"Cell2"})
                .Property(L"Rows", [](TSheetObj& s, const TAutoArgs&) { return s.Whole(TCountBy::Rows); })
                .Property(L"Columns", [](TSheetObj& s, const TAutoArgs&) { return s.Whole(TCountBy::Columns); })
                .Method(L"Cells", [](TSheetObj& s, const TAutoArgs& a) { return s.Cells(a); }, {L"RowIndex", L"ColumnIndex"})
                .Method(L"Activate", [](TSheetObj& s, const TAutoArgs&) {
                    s.Live();
                    s.FBook->Active = s.FSheet;
                    return Variant();
                });
        return table;
    }

private:
    // Errors name the workbook's file (or its name before the first save).
    [[noreturn]] void Fail(const String& cause) const { Raise(FBook->Label() + L": " + cause); }

    void Live() const
    {
        FBook->CheckLive();
        if (FBook->IndexOf(FSheet.get()) < 0) Fail(L"The sheet was removed");
    }

    void SetName(const String& name)
    {
        Live();
        String fault = XlsxSheetNameFault(name);
        if (!fault.empty()) Fail(L"\"" + name + L"\": " + fault);
        for (const auto& other : FBook->Sheets)
            if (other != FSheet && SameText(other->Data.Name, name))
                Fail(L"\"" + name + L"\": another sheet of the workbook has that name");
        if (FSheet->Data.Name != name) {
            FSheet->Data.Name = name;
            FBook->Saved = false;
        }
    }

    Variant UsedRange()
    {
        Live();
        int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
        for (const auto& [at, cell] : FSheet->Data.Cells) {
            if (cell.Kind == TXlsxCellKind::Empty) continue;
            if (r1 == 0) {
                r1 = r2 = at.first;
                c1 = c2 = at.second;
            }
            r2 = at.first;   // the map is ordered by row
            c1 = std::min(c1, at.second);
            c2 = std::max(c2, at.second);
        }
        if (r1 == 0) r1 = c1 = r2 = c2 = 1;
        return Variant(AsDispatch(new TRangeObj(FBook, FSheet, r1, c1, r2, c2)));
    }

    Variant Range(const TAutoArgs& a)
    {
        Live();
        String first = a.Text(0);
        int r1, c1, r2, c2;
        if (a.Has(1)) {
            int ra, ca, rb, cb;
            String second = a.Text(1);
            if (!XlsxParseCellRef(first, ra, ca) || !XlsxParseCellRef(second, rb, cb))
                Fail(L"\"" + first + L"\", \"" + second + L"\" is not a range of the sheet");
            r1 = std::min(ra, rb), r2 = std::max(ra, rb), c1 = std::min(ca, cb), c2 = std::max(ca, cb);
        } else if (!XlsxParseRange(first, r1, c1, r2, c2)) {
            Fail(L"\"" + first + L"\" is not a range of the sheet");
        }
        return Variant(AsDispatch(new TRangeObj(FBook, FSheet, r1, c1, r2, c2)));
    }

    Variant Whole(TCountBy by)
    {
        Live();
        return Variant(AsDispatch(new TRangeObj(FBook, FSheet, 1, 1, XlsxMaxRows, XlsxMaxColumns, by)));
    }

    Variant Cells(const TAutoArgs& a)
    {
        Live();
        int r = a.Required(0).AsInteger(), c = a.Required(1).AsInteger();
        if (r < 1 || c < 1 || r > XlsxMaxRows || c > XlsxMaxColumns)
            Fail(L"Cells(" + IntToStr(r) + L", " + IntToStr(c) + L") lies outside the sheet");
        return Variant(AsDispatch(new TRangeObj(FBook, FSheet, r, c, r, c)));
    }

    std::shared_ptr<TBook> FBook;
    std::shared_ptr<TSheet> FSheet;
};

// ---------------------------------------------------------------------------
// Sheets of a workbook

class TSheetsObj : public TAutoObject {
public:
    explicit TSheetsObj(std::shared_ptr<TBook> book) : TAutoObject(SpreadsheetProgId), FBook(std::move(book)) {}

    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TSheetsObj>()
                .Property(L"Count", [](TSheetsObj& s, const TAutoArgs&) {
                    s.FBook->CheckLive();
                    return Variant(Integer(s.FBook->Sheets.size()));
                })
                .Method(L"Add", [](TSheetsObj& s, const TAutoArgs&) { return s.Add(); })
                .Method(L"Item", [](TSheetsObj& s, const TAutoArgs& a) { return s.Item(a.Required(0)); }, {L"Index"})
                .Default();
        return table;
    }

private:
    Variant Item(const Variant& index)
    {
        FBook->CheckLive();
        TVarType t = index.VarType();
        if (t == varOleStr) {
            String name = index.AsString();
            for (const auto& s : FBook->Sheets)
                if (SameText(s->Data.Name, name)) return Variant(AsDispatch(new TSheetObj(FBook, s)));
            Raise(L"The workbook " + FBook->Label() + L" has no sheet \"" + name + L"\"");
        }
        Integer i = index.AsInteger();
        if (i < 1 || size_t(i) > FBook->Sheets.size())
            Raise(L"The workbook " + FBook->Label() + L" has no sheet " + IntToStr(i));
        return Variant(AsDispatch(new TSheetObj(FBook, FBook->Sheets[size_t(i - 1)])));
    }

    Variant Add()
    {
        FBook->CheckLive();
        String name;
        for (int n = 1;; ++n) {
            name = L"Sheet" + IntToStr(n);
            bool taken = false;
            for (const auto& s : FBook->Sheets) taken = taken || SameText(s->Data.Name, name);
            if (!taken) break;
        }
        auto sheet = std::make_shared<TSheet>();
        sheet->Data.Name = name;
        int at = std::max(0, FBook->IndexOf(FBook->Active.get()));
        FBook->Sheets.insert(FBook->Sheets.begin() + at, sheet);
        FBook->Active = sheet;
        FBook->Saved = false;
        return Variant(AsDispatch(new TSheetObj(FBook, sheet)));
    }

    std::shared_ptr<TBook> FBook;
};

// ---------------------------------------------------------------------------
// Workbook

class TBookObj : public TAutoObject {
public:
    explicit TBookObj(std::shared_ptr<TBook> book) : TAutoObject(SpreadsheetProgId), FBook(std::move(book)) {}

    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TBookObj>()
                .Property(L"Sheets", [](TBookObj& b, const TAutoArgs&) { return b.SheetsObj(); })
                .Property(L"WorkSheets", [](TBookObj& b, const TAutoArgs&) { return b.SheetsObj(); })
                .Property(L"ActiveSheet", [](TBookObj& b, const TAutoArgs&) {
                    b.FBook->CheckLive();
                    return Variant(AsDispatch(new TSheetObj(b.FBook, b.FBook->Active)));
                })
                .Property(L"Name", [](TBookObj& b, const TAutoArgs&) { return b.FBook->CheckLive(), Variant(b.FBook->Name); })
                .Property(L"FullName", [](TBookObj& b, const TAutoArgs&) { return b.FBook->CheckLive(), Variant(b.FBook->Label()); })
                .Property(
                    L"Saved", [](TBookObj& b, const TAutoArgs&) { return b.FBook->CheckLive(), Variant(b.FBook->Saved); },
                    [](TBookObj& b, const TAutoArgs& a) {
                        b.FBook->CheckLive();
                        b.FBook->Saved = a.Value().AsBoolean();
                    })
                .Method(L"Save", [](TBookObj& b, const TAutoArgs&) { return b.Save(), Variant(); })
                .Method(L"SaveAs", [](TBookObj& b, const TAutoArgs& a) { return b.SaveAs(a.Text(0)), Variant(); }, {L"FileName"})
                .Method(L"Close", [](TBookObj& b, const TAutoArgs& a) { return b.Close(a), Variant(); },
                        {L"SaveChanges", L"FileName"});
        return table;
    }

    void Save()
    {
        FBook->CheckLive();
        if (FBook->FileName.empty()) Raise(L"The workbook " + FBook->Name + L" has no file yet: use SaveAs");
        FBook->WriteTo(FBook->FileName);
        FBook->Saved = true;
    }

    void SaveAs(const String& fileName)
    {
        FBook->CheckLive();
        if (fileName.empty()) Raise(L"SaveAs needs a file name");
        FBook->WriteTo(fileName);
        FBook->FileName = fileName;
        FBook->Name = ExtractFileName(fileName);
        FBook->Saved = true;
    }

    void Close(const TAutoArgs& a)
    {
        FBook->CheckLive();
        bool save = a.Has(0) && a[0].AsBoolean();
        if (save) {
            if (a.Has(1)) SaveAs(a.Text(1));
            else Save();
        }
        Drop(FBook);
    }

    static void Drop(const std::shared_ptr<TBook>& book)
    {
        book->Open = false;
        if (auto app = book->App.lock()) std::erase(app->Books, book);
    }

private:
    Variant SheetsObj()
    {
        FBook->CheckLive();
        return Variant(AsDispatch(new TSheetsObj(FBook)));
    }

    std::shared_ptr<TBook> FBook;
};

// ---------------------------------------------------------------------------
// Workbooks of the application

class TBooksObj : public TAutoObject {
public:
    explicit TBooksObj(std::shared_ptr<TAppState> app) : TAutoObject(SpreadsheetProgId), FApp(std::move(app)) {}

    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TBooksObj>()
                .Property(L"Count", [](TBooksObj& b, const TAutoArgs&) {
                    b.FApp->CheckLive();
                    return Variant(Integer(b.FApp->Books.size()));
                })
                .Method(L"Open", [](TBooksObj& b, const TAutoArgs& a) { return b.Open(a.Text(0)); }, {L"FileName"})
                .Method(L"Add", [](TBooksObj& b, const TAutoArgs&) { return b.Add(); })
                .Method(L"Item", [](TBooksObj& b, const TAutoArgs& a) { return b.Item(a.Required(0).AsInteger()); },
                        {L"Index"})
                .Default();
        return table;
    }

private:
    Variant Open(const String& fileName)
    {
        FApp->CheckLive();
        TXlsxWorkbook model;
        try {
            model = ReadXlsxWorkbook(fileName, SpreadsheetServerLimits().Reader);
        } catch (const EXlsxError& e) {
            Raise(e.Message());
        }
        auto book = std::make_shared<TBook>();
        book->App = FApp;
        book->FileName = fileName;
        book->Name = ExtractFileName(fileName);
        book->FromFile = true;
        book->Unkept = std::move(model.Unkept);
        for (TXlsxSheet& s : model.Sheets) {
            auto sheet = std::make_shared<TSheet>();
            sheet->Data = std::move(s);
            book->Sheets.push_back(std::move(sheet));
        }
        book->Active = book->Sheets[size_t(model.ActiveSheet)];
        FApp->Books.push_back(book);
        return Variant(AsDispatch(new TBookObj(book)));
    }

    Variant Add()
    {
        FApp->CheckLive();
        auto book = std::make_shared<TBook>();
        book->App = FApp;
        book->Name = L"Book" + IntToStr(FApp->NextBook++);
        auto sheet = std::make_shared<TSheet>();
        sheet->Data.Name = L"Sheet1";
        book->Sheets.push_back(sheet);
        book->Active = sheet;
        FApp->Books.push_back(book);
        return Variant(AsDispatch(new TBookObj(book)));
    }

    Variant Item(Integer i)
    {
        FApp->CheckLive();
        if (i < 1 || size_t(i) > FApp->Books.size()) Raise(L"There is no workbook " + IntToStr(i));
        return Variant(AsDispatch(new TBookObj(FApp->Books[size_t(i - 1)])));
    }

    std::shared_ptr<TAppState> FApp;
};

// ---------------------------------------------------------------------------
// Application

class TAppObj : public TAutoObject {
public:
    TAppObj() : TAutoObject(SpreadsheetProgId), FApp(std::make_shared<TAppState>()) {}

    // Enters the object in the table of active objects. The table's own
    // reference does not keep the application alive: when only that one is
    // left, the entry goes and the object with it.
    void Announce() { FCookie = RegisterActiveObject(this, SpreadsheetProgId); }

    ULONG Release() override
    {
        DWORD cookie = FCookie;
        ULONG n = TAutoObject::Release();
        if (n == 1 && cookie != 0) {
            // Only the table holds us: leave it (which frees this object).
            FCookie = 0;
            RevokeActiveObject(cookie);
            return 0;
        }
        return n;
    }

    const TAutoMembers& Members() const override
    {
        static const TAutoMembers table =
            TAutoMembers::For<TAppObj>()
                .Property(L"WorkBooks", [](TAppObj& a, const TAutoArgs&) {
                    a.FApp->CheckLive();
                    return Variant(AsDispatch(new TBooksObj(a.FApp)));
                })
                .Property(L"ActiveWorkBook", [](TAppObj& a, const TAutoArgs&) {
                    a.FApp->CheckLive();
                    if (a.FApp->Books.empty()) return Variant();
                    return Variant(AsDispatch(new TBookObj(a.FApp->Books.back())));
                })
                .Property(L"ActiveCell", [](TAppObj& a, const TAutoArgs&) { return a.ActiveCell(); })
                .Method(L"Quit", [](TAppObj& a, const TAutoArgs&) { return a.Quit(), Variant(); });
        return table;
    }

private:
    ~TAppObj() override
    {
        if (!FApp->Quit) CloseAll();
    }

    Variant ActiveCell()
    {
        FApp->CheckLive();
        if (FApp->Books.empty()) Raise(L"No workbook is open");
        const auto& book = FApp->Books.back();
        const TXlsxSheet& s = book->Active->Data;
        return Variant(AsDispatch(new TRangeObj(book, book->Active, s.ActiveRow, s.ActiveColumn, s.ActiveRow,
                                                s.ActiveColumn)));
    }

    void CloseAll()
    {
        auto books = FApp->Books;
        for (const auto& b : books) TBookObj::Drop(b);
    }

    void Quit()
    {
        if (FApp->Quit) return;
        CloseAll();
        FApp->Quit = true;
        if (DWORD cookie = FCookie) {
            FCookie = 0;
            // The caller holds a reference: revoking cannot free us here.
            RevokeActiveObject(cookie);
        }
    }

    std::shared_ptr<TAppState> FApp;
    DWORD FCookie = 0;
};

}  // namespace

TSpreadsheetLimits& SpreadsheetServerLimits()
{
    static TSpreadsheetLimits limits;
    return limits;
}

TComPtr<IDispatch> CreateSpreadsheetApplication()
{
    auto* app = new TAppObj();
    TComPtr<IDispatch> result(static_cast<IDispatch*>(app));
    app->Announce();
    return result;
}

String XlsxColumnLetters(int column)
{
    String letters;
    while (column > 0) {
        int d = (column - 1) % 26;
        letters.insert(letters.begin(), Char(L'A' + d));
        column = (column - 1) / 26;
    }
    return letters;
}

bool XlsxParseRange(const String& address, int& row1, int& col1, int& row2, int& col2)
{
    size_t colon = address.find(L':');
    if (colon == String::npos) {
        if (!XlsxParseCellRef(address, row1, col1)) return false;
        row2 = row1;
        col2 = col1;
        return true;
    }
    int ra, ca, rb, cb;
    if (!XlsxParseCellRef(address.substr(0, colon), ra, ca) || !XlsxParseCellRef(address.substr(colon + 1), rb, cb))
        return false;
    row1 = std::min(ra, rb);
    row2 = std::max(ra, rb);
    col1 = std::min(ca, cb);
    col2 = std::max(ca, cb);
    return true;
}

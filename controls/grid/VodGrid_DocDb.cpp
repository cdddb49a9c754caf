// Document export and database import through automation: the grid as a
// table in a word-processor document ("word.application"), and the rows of
// an SQL query on a database file through the connection and record set
// objects ("ADODB.Connection", "ADODB.RecordSet").
#include "controls/grid/VodGrid.h"
#include "platform/base/ComObj.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Variants.h"
#include "platform/ui/Forms.h"

namespace {

const String WordProgId = L"word.application";

class TWaitCursor {
public:
    TWaitCursor() : FSaved(Screen ? Screen->Cursor() : TCursor(crDefault))
    {
        if (Screen) Screen->SetCursor(crHourGlass);
    }
    ~TWaitCursor()
    {
        if (Screen) Screen->SetCursor(FSaved);
    }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;

private:
    TCursor FSaved;
};

// The word processor for one export: quit at the end (on an error too)
// unless it was running before.
struct TWordSession {
    Variant App;
    bool Running = false;

    TWordSession()
    {
        try {
            App = Variant(GetActiveOleObject(WordProgId));
            Running = true;
            return;
        } catch (const Exception&) {
        }
        try {
            App = Variant(CreateOleObject(WordProgId));
        } catch (const Exception&) {
            throw EVodGridError(L"Word OLE server not found");
        }
    }
    ~TWordSession()
    {
        if (Running || VarIsClear(App)) return;
        try {
            App.Call(L"Quit");
        } catch (...) {
        }
    }
    TWordSession(const TWordSession&) = delete;
    TWordSession& operator=(const TWordSession&) = delete;
    void Finish()
    {
        if (!Running) App.Call(L"Quit");
        App = Variant();
    }
};

// A connection and record set closed on every path.
struct TDbSession {
    Variant Connection, RecordSet;
    bool ConnectionOpen = false, RecordSetOpen = false;

    ~TDbSession()
    {
        try {
            if (RecordSetOpen) RecordSet.Call(L"Close");
        } catch (...) {
        }
        try {
            if (ConnectionOpen) Connection.Call(L"Close");
        } catch (...) {
        }
    }
    TDbSession() = default;
    TDbSession(const TDbSession&) = delete;
    TDbSession& operator=(const TDbSession&) = delete;
    void Finish()
    {
        RecordSetOpen = false;
        RecordSet.Call(L"Close");
        ConnectionOpen = false;
        Connection.Call(L"Close");
    }
};

}  // namespace

void TVodStringGrid::SaveToDOC(const String& Filename, bool CreateNewDocument)
{
    ExportDOC(Filename, CreateNewDocument, false, String());
}

void TVodStringGrid::AppendToDoc(const String& Filename, const String& Bookmark)
{
    ExportDOC(Filename, false, true, Bookmark);
}

void TVodStringGrid::ExportDOC(const String& Filename, bool CreateNewDocument, bool Append, const String& Bookmark)
{
    TWaitCursor wait;
    TWordSession word;
    Variant docs = word.App.Get(L"Documents");
    Variant doc;
    if (Append) doc = docs.Call(L"Open", {Variant(Filename)});
    else if (!CreateNewDocument && docs.Get(L"Count").AsInteger() > 0) doc = word.App.Get(L"ActiveDocument");
    else doc = docs.Call(L"Add");

    doc.Set(L"ShowSpellingErrors", Variant(false));
    word.App.Get(L"Selection").Call(L"TypeText", {Variant(Text())});
    word.App.Get(L"Selection").Call(L"TypeParaGraph");

    Variant target;
    if (!Append) {
        target = doc.Call(L"Range", {}, {{L"Start", Variant(Integer(0))}, {L"End", Variant(Integer(0))}});
    } else if (!Bookmark.empty() && doc.Get(L"Bookmarks").Call(L"Exists", {Variant(Bookmark)}).AsBoolean()) {
        target = doc.Call(L"Goto", {}, {{L"What", Variant(Integer(-1))}, {L"Name", Variant(Bookmark)}});
    } else {
        doc.Get(L"Paragraphs").Call(L"Add");
        Variant selection = word.App.Get(L"Selection");
        selection.Call(L"Goto", {}, {{L"What", Variant(Integer(3))}, {L"Which", Variant(Integer(-1))}});
        const Variant end = selection.Get(L"End");
        target = doc.Call(L"Range", {}, {{L"Start", end}, {L"End", end}});
    }

    Variant table = doc.Get(L"Tables").Call(
        L"Add", {target}, {{L"NumRows", Variant(RowCount())}, {L"NumColumns", Variant(ColCount())}});
    ExportNotification(esExportStart, 0);
    for (Integer r = 0; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        for (Integer c = 0; c < ColCount(); ++c) {
            Variant range =
                table.Call(L"Cell", {}, {{L"Row", Variant(r + 1)}, {L"Column", Variant(c + 1)}}).Get(L"Range");
            range.Call(L"InsertAfter", {Variant(SaveCell(RealColIndex(c), r))});
            TAlignment ha = taLeftJustify;
            TVAlignment va = vtaTop;
            GetCellAlignment(c, r, ha, va);
            if (ha == taRightJustify) range.Get(L"ParagraphFormat").Set(L"Alignment", Variant(Integer(2)));
            else if (ha == taCenter) range.Get(L"ParagraphFormat").Set(L"Alignment", Variant(Integer(1)));
        }
    }
    ExportNotification(esExportDone, -1);
    doc.Call(L"SaveAs", {Variant(Filename)});
    word.Finish();
}

void TVodStringGrid::LoadFromMDBSQL(const String& Filename, const String& SQL)
{
    // The file name goes into the connection string in braces, which end
    // at the first closing brace: a name holding one cannot be carried.
    if (Filename.find(L'}') != String::npos)
        throw EVodGridError(L"The database file name " + Filename + L" cannot hold a closing brace");

    TDbSession db;
    db.Connection = Variant(CreateOleObject(L"ADODB.Connection"));
    db.Connection.Call(L"Open", {Variant(L"Driver={Microsoft Access Driver (*.mdb)};DBQ={" + Filename + L"}")});
    db.ConnectionOpen = true;
    db.RecordSet = Variant(CreateOleObject(L"ADODB.RecordSet"));
    db.RecordSet.Set(L"ActiveConnection", db.Connection);
    db.RecordSet.Call(L"Open", {Variant(SQL)});
    db.RecordSetOpen = true;

    // The whole result is read before the grid changes.
    Variant fields = db.RecordSet.Get(L"Fields");
    const Integer n = fields.Get(L"Count").AsInteger();
    std::vector<String> names;
    for (Integer i = 0; i < n; ++i) names.push_back(VarToStr(fields.Get(L"Item", {Variant(i)}).Get(L"Name")));
    const Integer recordCount = db.RecordSet.Get(L"RecordCount").AsInteger();
    std::vector<std::vector<String>> records;
    while (!db.RecordSet.Get(L"Eof").AsBoolean()) {
        std::vector<String> record;
        record.reserve(size_t(n));
        for (Integer i = 0; i < n; ++i) {
            Variant field = fields.Get(L"Item", {Variant(i)});
            record.push_back(field.Get(L"ActualSize").AsInteger() > 0 ? VarToStr(field.Get(L"Value")) : String());
        }
        records.push_back(std::move(record));
        db.RecordSet.Call(L"MoveNext");
    }
    db.Finish();

    BeginUpdate();
    try {
        SetColCount(n + FixedCols());
        if (FixedRows() > 0)
            for (Integer i = 0; i < n; ++i) SetCells(FixedCols() + i, FixedRows() - 1, names[size_t(i)]);
        if (recordCount > 0) SetRowCount(FixedRows() + recordCount);
        Integer row = FixedRows();
        for (const auto& record : records) {
            // The grid grows only when a further record must be stored.
            if (row >= RowCount()) SetRowCount(row + 1);
            for (Integer i = 0; i < n; ++i) LoadCell(i + FixedCols(), row, record[size_t(i)]);
            ++row;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    CellsChanged(TRect{0, 0, ColCount(), RowCount()});
}

void TVodStringGrid::LoadFromMDBTable(const String& Filename, const String& Table)
{
    // The table name is quoted as an identifier, so it cannot end the
    // statement or add to it.
    String quoted = L"\"";
    for (Char ch : Table) {
        if (ch == L'"') quoted += L'"';
        quoted += ch;
    }
    quoted += L'"';
    LoadFromMDBSQL(Filename, L"SELECT * FROM " + quoted);
}

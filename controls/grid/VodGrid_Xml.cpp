// The save range as a simple XML document (a list element of record
// elements of cell elements), and XML documents of that or a similar shape
// read back through the platform's XML document object, attributes and
// leaf elements becoming cells.
#include <map>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "platform/base/ComObj.h"
#include "platform/base/EncodingNames.h"
#include "platform/base/Files.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Variants.h"

namespace {

// Characters an XML 1.0 document can hold.
bool IsXmlChar(uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsNameStart(uint32_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_' || c == L':' ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(uint32_t c)
{
    return IsNameStart(c) || c == L'-' || c == L'.' || (c >= L'0' && c <= L'9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// A name used as element name: an XML name whose characters the file's
// encoding holds (a name cannot use character references).
void CheckName(const String& Name, TEncoding* Enc, const String& What)
{
    bool ok = !Name.empty() && IsNameStart(uint32_t(Name[0]));
    for (Char c : Name) ok = ok && IsNameChar(uint32_t(c)) && EncodingCanEncode(Enc, c);
    if (!ok) throw EVodGridError(What + L" \"" + Name + L"\" is not an XML element name");
}

// Markup characters as entities (in this order), carriage returns and what
// the encoding cannot hold as character references.
String EscapeXml(const String& S, TEncoding* Enc, Integer ACol, Integer ARow)
{
    String r;
    r.reserve(S.size());
    for (Char ch : S) {
        const uint32_t c = uint32_t(ch);
        if (!IsXmlChar(c))
            throw EVodGridError(L"Cell [" + IntToStr(ACol) + L", " + IntToStr(ARow) + L"] holds character " +
                                IntToStr(Int64(c)) + L", which XML cannot carry");
        switch (ch) {
        case L'&': r += L"&amp;"; break;
        case L'>': r += L"&gt;"; break;
        case L'<': r += L"&lt;"; break;
        case L'"': r += L"&quot;"; break;
        case L'\r': r += L"&#13;"; break;
        default:
            if (EncodingCanEncode(Enc, ch))
                r += ch;
            else
                r += L"&#" + IntToStr(Int64(c)) + L";";
        }
    }
    return r;
}

// One change the reader makes, in document order.
struct TXmlStore {
    Integer Col, Row;
    String Text;
};

// Maps a document onto cells without touching the grid: the stores in
// order and the largest column and row written.
class TXmlMapper {
public:
    TXmlMapper(TVodStringGrid* G, bool LevelToRow, bool LoadFieldDescr)
        : FGrid(G), FLevelToRow(LevelToRow), FLoadFieldDescr(LoadFieldDescr),
          FHeaders(G->SaveFixedCells() || G->SaveFixedRows())
    {
        FSC = G->SaveStartCol();
        FSR = FHeaders && !LoadFieldDescr ? 0 : G->FixedRows();
        MC = FSC;
        MR = FSR;
    }

    void Map(const Variant& Root)
    {
        const Variant kids = Root.Get(L"childNodes");
        const Integer n = kids.Get(L"length").AsInteger();
        for (Integer i = 0; i < n; ++i) {
            const Variant child = kids.Call(L"item", {i});
            FC = 0;
            FLevel = 1;
            if (FLevelToRow && i == 0 && AttributeCount(child) == 0) FR = -1;
            Node(child);
            if (!FLevelToRow) ++FR;
        }
    }

    std::vector<TXmlStore> Stores;
    Integer MC = 0, MR = 0;

private:
    static Integer AttributeCount(const Variant& N)
    {
        const Variant a = N.Get(L"attributes");
        return VarIsClear(a) ? 0 : a.Get(L"length").AsInteger();
    }

    bool HeaderEmpty(Integer ACol) const
    {
        auto it = FRow0.find(ACol);
        if (it != FRow0.end()) return it->second.empty();
        return ACol >= FGrid->ColCount() || FGrid->RowCount() < 1 || FGrid->GetCellEx(ACol, 0).empty();
    }

    void Store(Integer ACol, Integer ARow, const String& Text, bool Header = false)
    {
        // No value lands above the start row (a value before the first row
        // a level opens); header names go to row 0.
        if (ARow < FSR && !Header) return;
        Stores.push_back({ACol, ARow, Text});
        if (ARow == 0) FRow0[ACol] = Text;
    }

    void Raise(Integer ACol, Integer ARow)
    {
        if (ACol > MC) MC = ACol;
        if (ARow > MR) MR = ARow;
    }

    void Node(const Variant& N)
    {
        bool openedRow = false;
        const Variant attrs = N.Get(L"attributes");
        if (!VarIsClear(attrs)) {
            const Integer n = attrs.Get(L"length").AsInteger();
            for (Integer i = 0; i < n; ++i) {
                const Variant a = attrs.Call(L"item", {i});
                const Integer col = FC + FSC, row = FR + FSR;
                if (HeaderEmpty(col) && FHeaders) Store(col, 0, VarToStr(a.Get(L"nodeName")), true);
                Store(col, row, VarToStr(a.Get(L"text")));
                Raise(col, row);
                ++FC;
            }
            if (FLevelToRow && n > 0) {
                ++FR;
                FC = FLevel;
                openedRow = true;
            }
        }
        const Variant kids = N.Get(L"childNodes");
        const Integer n = VarIsClear(kids) ? 0 : kids.Get(L"length").AsInteger();
        const Integer col = FC + FSC, row = FR + FSR;
        if (n > 1) {
            if (FLevelToRow && !openedRow) {
                ++FR;
                FC = 0;
            }
            ++FLevel;
            for (Integer i = 0; i < n; ++i) Node(kids.Call(L"item", {i}));
        } else if (n == 1) {
            if (HeaderEmpty(col) && FHeaders && FLoadFieldDescr) Store(col, 0, VarToStr(N.Get(L"nodeName")), true);
            String text = VarToStr(N.Get(L"text"));
            if (FGrid->QuoteEmptyCells() && text == L"\"\"") text.clear();
            Store(col, row, text);
            Raise(col, row);
            ++FC;
        } else {
            Store(col, row, String());
            ++FC;
        }
    }

    TVodStringGrid* FGrid;
    bool FLevelToRow, FLoadFieldDescr, FHeaders;
    Integer FSC = 0, FSR = 0;
    Integer FC = 0, FR = 0, FLevel = 1;
    std::map<Integer, String> FRow0;
};

}  // namespace

void TVodStringGrid::SaveToXML(const String& FileName, const String& ListDescr, const String& RecordDescr,
                               TStrings* FieldDescr, bool ExportEmptyCells)
{
    TEncoding* enc = GetEncodingByName(XMLEncoding());
    if (!enc) throw EVodGridError(L"Unknown XML encoding \"" + XMLEncoding() + L"\"");
    const Integer h = SaveHiddenCells() ? NumHiddenColumns() : 0;
    const Integer first = SaveStartCol(), last = SaveEndCol() + h;
    CheckName(ListDescr, enc, L"ListDescr");
    CheckName(RecordDescr, enc, L"RecordDescr");
    std::vector<String> names;
    for (Integer c = first; c <= last; ++c) {
        const Integer i = c - first;
        if (FieldDescr && i < FieldDescr->Count()) {
            CheckName(FieldDescr->Strings(i), enc, L"FieldDescr");
            names.push_back(FieldDescr->Strings(i));
        } else
            names.push_back(L"FIELD" + IntToStr(i));
    }

    String out = L"<?xml version=\"1.0\" encoding=\"" + XMLEncoding() + L"\" ?>\r\n<" + ListDescr + L">\r\n";
    ExportNotification(esExportStart, SaveStartRow());
    TProgressGate progress;
    try {
        for (Integer r = SaveStartRow(); r <= SaveEndRow(); ++r) {
            ExportNotification(esExportNextRow, r);
            out += L"<" + RecordDescr + L">\r\n";
            for (Integer c = first; c <= last; ++c) {
                const Integer src = SaveHiddenCells() ? c : RealColIndex(c);
                if (!IsBaseCell(src, r)) continue;
                String t = SaveCell(src, r);
                if (t.empty() && !ExportEmptyCells) continue;
                if (t.empty() && QuoteEmptyCells()) t = L"\"\"";
                const String& n = names[size_t(c - first)];
                out += L"<" + n + L">" + EscapeXml(t, enc, src, r) + L"</" + n + L">\r\n";
            }
            out += L"</" + RecordDescr + L">\r\n";
            progress.Fire(OnFileProgress, this,
                          double(r - SaveStartRow()) / std::max<Integer>(1, SaveEndRow() - SaveStartRow()));
        }
    } catch (...) {
        ExportNotification(esExportFail, -1);
        throw;
    }
    out += L"</" + ListDescr + L">\r\n";
    ExportNotification(esExportDone, -1);
    // A UTF-16 file starts with its byte order mark; the others without.
    TBytes bytes = enc->CodePage() == 1200 || enc->CodePage() == 1201 ? enc->GetPreamble() : TBytes();
    const TBytes body = enc->GetBytes(out);
    bytes.insert(bytes.end(), body.begin(), body.end());
    try {
        WriteFileAtomically(FileName, bytes.data(), bytes.size());
    } catch (const Exception&) {
        throw EVodGridError(L"Cannot Create file " + FileName);
    }
}

void TVodStringGrid::LoadFromXML(const String& FileName, bool LevelToRow, bool LoadFieldDescr)
{
    if (!FileExists(FileName)) throw Exception(L"XML file not found");
    Variant doc;
    try {
        doc = Variant(CreateOleObject(L"Microsoft.XMLDOM"));
    } catch (const Exception&) {
        throw Exception(L"XMLDOM server component not found");
    }
    doc.Call(L"load", {FileName});
    const Variant err = doc.Get(L"parseError");
    if (err.Get(L"errorCode").AsInteger() != 0)
        throw Exception(L"XMLDOM Parsing error " + VarToStr(err.Get(L"errorCode")) + L" on line " +
                        VarToStr(err.Get(L"line")));
    // The whole document is mapped before the grid changes.
    TXmlMapper map(this, LevelToRow, LoadFieldDescr);
    const Variant root = doc.Get(L"documentElement");
    if (!VarIsClear(root)) map.Map(root);

    BeginUpdate();
    try {
        if (ColCount() < map.MC + 1) SetColCount(map.MC + 1);
        if (RowCount() < map.MR + 1) SetRowCount(map.MR + 1);
        for (const TXmlStore& s : map.Stores)
            if (s.Col <= map.MC && s.Row <= map.MR) LoadCell(s.Col, s.Row, s.Text);
        SetColCount(map.MC + 1);
        SetRowCount(map.MR + 1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    RecalcAllFooters();
}

// The save range as JSON: {"grid":[records]}, one record per row, each an
// array of cell texts (or of one-member objects when FieldDescr names every
// column), written as ASCII with every other character escaped.
#include "controls/grid/VodGrid.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"

namespace {

String Hex4(uint32_t U)
{
    static const wchar_t* hex = L"0123456789abcdef";
    String r = L"\\u";
    for (int s = 12; s >= 0; s -= 4) r += hex[(U >> s) & 15];
    return r;
}

// A JSON string literal.
String JsonText(const String& S)
{
    String r = L"\"";
    for (Char ch : S) {
        const uint32_t c = uint32_t(ch);
        switch (ch) {
        case L'"': r += L"\\\""; break;
        case L'\\': r += L"\\\\"; break;
        case L'\b': r += L"\\b"; break;
        case L'\f': r += L"\\f"; break;
        case L'\n': r += L"\\n"; break;
        case L'\r': r += L"\\r"; break;
        case L'\t': r += L"\\t"; break;
        default:
            if (c < 0x20 || c >= 0x7F) {
                if (c > 0xFFFF && c <= 0x10FFFF) {
                    const uint32_t v = c - 0x10000;
                    r += Hex4(0xD800 + (v >> 10)) + Hex4(0xDC00 + (v & 0x3FF));
                } else
                    r += Hex4(c > 0xFFFF ? 0xFFFD : c);
            } else
                r += ch;
        }
    }
    return r + L"\"";
}

}  // namespace

void TVodStringGrid::SaveToJSON(const String& FileName, const String& RecordDescr, TStrings* FieldDescr)
{
    const Integer first = SaveStartCol(), last = SaveEndCol();
    const bool named = FieldDescr && FieldDescr->Count() >= last - first + 1;
    String out = L"{\"grid\":[";
    for (Integer r = SaveStartRow(); r <= SaveEndRow(); ++r) {
        String rec = L"[";
        for (Integer c = first; c <= last; ++c) {
            if (c > first) rec += L",";
            const String t = JsonText(SaveCell(RealColIndex(c), r));
            rec += named ? L"{" + JsonText(FieldDescr->Strings(c - first)) + L":" + t + L"}" : t;
        }
        rec += L"]";
        if (!RecordDescr.empty()) rec = L"{" + JsonText(RecordDescr) + L":" + rec + L"}";
        if (r > SaveStartRow()) out += L"\r\n,";
        out += rec;
    }
    // An empty range still makes a complete document.
    out += L"\r\n]}\r\n";
    std::string bytes;
    bytes.reserve(out.size());
    for (Char c : out) bytes += char(c);
    try {
        WriteFileAtomically(FileName, bytes.data(), bytes.size());
    } catch (const Exception&) {
        throw EVodGridError(L"Cannot Create file " + FileName);
    }
}

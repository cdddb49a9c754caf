#include "platform/os/XlsxReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstring>
#include <cstdio>
#include <cwctype>
#include <memory>
#include <set>
#include <string>
#include <string_view>

#include <strings.h>

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <zip.h>

#include "platform/base/SysUtils.h"

namespace {

using Utf8 = std::string;

const char* const MainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

class TPackage {
public:
    TPackage(const String& fileName, const TXlsxLimits& limits) : FFile(fileName), FLimits(limits)
    {
        int err = 0;
        FZip = zip_open(UTF8Encode(fileName).c_str(), ZIP_RDONLY, &err);
        if (!FZip) {
            if (err == ZIP_ER_NOENT || err == ZIP_ER_OPEN || err == ZIP_ER_READ || err == ZIP_ER_MEMORY)
                Fail(L"cannot open the file");
            Fail(L"not an .xlsx workbook");
        }
        zip_int64_t n = zip_get_num_entries(FZip, 0);
        if (n < 0 || static_cast<uint64_t>(n) > FLimits.MaxEntries) {
            // The destructor does not run for a constructor that throws.
            zip_discard(FZip);
            FZip = nullptr;
            Fail(L"too many entries in the package");
        }
    }
    ~TPackage()
    {
        if (FZip) zip_discard(FZip);
    }
    TPackage(const TPackage&) = delete;
    TPackage& operator=(const TPackage&) = delete;

    [[noreturn]] void Fail(const String& cause) const { throw EXlsxError(FFile + L": " + cause); }

    // The names of the archive's entries.
    std::vector<Utf8> Names() const
    {
        std::vector<Utf8> names;
        zip_int64_t n = zip_get_num_entries(FZip, 0);
        for (zip_int64_t i = 0; i < n; ++i)
            if (const char* name = zip_get_name(FZip, static_cast<zip_uint64_t>(i), 0)) names.emplace_back(name);
        return names;
    }

    bool Has(const Utf8& name) const { return zip_name_locate(FZip, name.c_str(), ZIP_FL_NOCASE) >= 0; }

    // The inflated bytes of a part, counted as they come out.
    Utf8 Read(const Utf8& name)
    {
        zip_int64_t index = zip_name_locate(FZip, name.c_str(), ZIP_FL_NOCASE);
        if (index < 0) Fail(L"missing part " + UTF8ToString(name));
        zip_file_t* f = zip_fopen_index(FZip, static_cast<zip_uint64_t>(index), 0);
        if (!f) Fail(L"cannot read part " + UTF8ToString(name));
        uint64_t partLimit = std::min<uint64_t>(FLimits.MaxPartBytes, INT_MAX - 1);
        Utf8 out;
        char buf[65536];
        for (;;) {
            zip_int64_t got = zip_fread(f, buf, sizeof buf);
            if (got < 0) {
                zip_fclose(f);
                Fail(L"corrupt part " + UTF8ToString(name));
            }
            if (got == 0) break;
            FTotal += static_cast<uint64_t>(got);
            if (out.size() + static_cast<uint64_t>(got) > partLimit) {
                zip_fclose(f);
                Fail(L"part " + UTF8ToString(name) + L" inflates past the limit");
            }
            if (FTotal > FLimits.MaxPackageBytes) {
                zip_fclose(f);
                Fail(L"package inflates past the limit");
            }
            out.append(buf, static_cast<size_t>(got));
        }
        if (zip_fclose(f) != 0) Fail(L"corrupt part " + UTF8ToString(name));
        return out;
    }

private:
    String FFile;
    TXlsxLimits FLimits;
    zip_t* FZip = nullptr;
    uint64_t FTotal = 0;
};

// A parsed part; no network, no DTD (refused as soon as it shows), no
// entity substitution, the library's default depth limit.
struct TXml {
    xmlDocPtr Doc = nullptr;
    ~TXml()
    {
        if (Doc) xmlFreeDoc(Doc);
    }
    xmlNodePtr Root() const { return xmlDocGetRootElement(Doc); }
};

void RefuseDtd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    *static_cast<bool*>(ctxt->_private) = true;
    xmlStopParser(ctxt);
}

void ParseXml(TPackage& pkg, const Utf8& name, TXml& xml)
{
    Utf8 bytes = pkg.Read(name);
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt) pkg.Fail(L"out of memory");
    bool dtd = false;
    ctxt->_private = &dtd;
    ctxt->sax->internalSubset = RefuseDtd;
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    xml.Doc = xmlCtxtReadMemory(ctxt, bytes.data(), static_cast<int>(bytes.size()), name.c_str(), nullptr, options);
    bool wellFormed = ctxt->wellFormed;
    xmlFreeParserCtxt(ctxt);
    if (dtd) pkg.Fail(L"part " + UTF8ToString(name) + L" holds a DTD");
    if (!xml.Doc || !wellFormed || !xml.Root()) pkg.Fail(L"malformed part " + UTF8ToString(name));
}

bool Is(xmlNodePtr n, const char* local)
{
    return n && n->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char*>(n->name), local) == 0;
}

bool IsMain(xmlNodePtr n, const char* local)
{
    return Is(n, local) && n->ns && std::strcmp(reinterpret_cast<const char*>(n->ns->href), MainNs) == 0;
}

xmlNodePtr Child(xmlNodePtr parent, const char* local)
{
    for (xmlNodePtr c = parent ? parent->children : nullptr; c; c = c->next)
        if (Is(c, local)) return c;
    return nullptr;
}

// An attribute without namespace, or (ns != null) in the namespace ending
// with that suffix.
bool Attr(xmlNodePtr n, const char* name, Utf8& out, const char* nsSuffix = nullptr)
{
    for (xmlAttrPtr a = n->properties; a; a = a->next) {
        if (std::strcmp(reinterpret_cast<const char*>(a->name), name) != 0) continue;
        if (nsSuffix) {
            if (!a->ns) continue;
            std::string_view href(reinterpret_cast<const char*>(a->ns->href));
            if (href.size() < std::strlen(nsSuffix) || href.substr(href.size() - std::strlen(nsSuffix)) != nsSuffix)
                continue;
        } else if (a->ns) {
            continue;
        }
        xmlChar* v = xmlNodeListGetString(n->doc, a->children, 1);
        out = v ? reinterpret_cast<const char*>(v) : "";
        xmlFree(v);
        return true;
    }
    return false;
}

Utf8 Text(xmlNodePtr n)
{
    xmlChar* v = xmlNodeGetContent(n);
    Utf8 s = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return s;
}

bool ToInt(const Utf8& s, long long& v)
{
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && !s.empty();
}

bool ToDouble(Utf8 s, double& v)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r')) s.pop_back();
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == Utf8::npos) return false;
    s.erase(0, b);
    if (s[0] == '+') s.erase(0, 1);
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// Days from 1970-01-01 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// An ISO 8601 date cell ("2024-02-29" or "2024-02-29T13:45:00") as the
// serial number the cell would hold in the usual form (1900 date system).
bool IsoToSerial(const Utf8& s, double& serial)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double sec = 0;
    int used = 0;
    if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &used) != 3 || used != 10) return false;
    if (s.size() > 10) {
        int more = 0;
        if (std::sscanf(s.c_str() + 10, "T%2d:%2d:%lf%n", &h, &mi, &sec, &more) != 3 ||
            static_cast<size_t>(10 + more) != s.size())
            return false;
    }
    if (y < 1900 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || !(sec >= 0 && sec < 61))
        return false;
    long long days = DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) -
                     DaysFromCivil(1899, 12, 30);
    // Serials before March 1900 count the fictitious 29 February 1900.
    if (days < 61) days -= 1;
    serial = static_cast<double>(days) + (h * 3600 + mi * 60 + sec) / 86400.0;
    return true;
}

// The folder of a part ("xl/workbook.xml" -> "xl/").
Utf8 Folder(const Utf8& part)
{
    size_t slash = part.rfind('/');
    return slash == Utf8::npos ? Utf8() : part.substr(0, slash + 1);
}

// Resolves a relationship target against its source's folder, refusing any
// name that climbs out of the package.
Utf8 Resolve(TPackage& pkg, const Utf8& folder, const Utf8& target)
{
    if (target.empty() || target.find('\\') != Utf8::npos || target.find(':') != Utf8::npos)
        pkg.Fail(L"part name outside the package: " + UTF8ToString(target));
    Utf8 path = target[0] == '/' ? target.substr(1) : folder + target;
    std::vector<Utf8> segs;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == Utf8::npos) end = path.size();
        Utf8 seg = path.substr(start, end - start);
        if (seg == "..") {
            if (segs.empty()) pkg.Fail(L"part name outside the package: " + UTF8ToString(target));
            segs.pop_back();
        } else if (!seg.empty() && seg != ".") {
            segs.push_back(seg);
        }
        start = end + 1;
    }
    if (segs.empty()) pkg.Fail(L"part name outside the package: " + UTF8ToString(target));
    Utf8 out;
    for (size_t i = 0; i < segs.size(); ++i) out += (i ? "/" : "") + segs[i];
    return out;
}

Utf8 RelsName(const Utf8& part)
{
    Utf8 folder = Folder(part);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

struct TRel {
    Utf8 Type, Target;
    bool External = false;
};

std::map<Utf8, TRel> ReadRels(TPackage& pkg, const Utf8& relsName)
{
    std::map<Utf8, TRel> rels;
    if (!pkg.Has(relsName)) return rels;
    TXml xml;
    ParseXml(pkg, relsName, xml);
    for (xmlNodePtr r = xml.Root()->children; r; r = r->next) {
        if (!Is(r, "Relationship")) continue;
        Utf8 id, mode;
        TRel rel;
        Attr(r, "Id", id);
        Attr(r, "Type", rel.Type);
        Attr(r, "Target", rel.Target);
        rel.External = Attr(r, "TargetMode", mode) && mode == "External";
        rels[id] = rel;
    }
    return rels;
}

bool EndsWith(const Utf8& s, const char* suffix)
{
    size_t n = std::strlen(suffix);
    return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// The content type of a part from [Content_Types].xml.
Utf8 ContentType(xmlNodePtr types, const Utf8& part)
{
    Utf8 ext = part.substr(part.rfind('.') == Utf8::npos ? part.size() : part.rfind('.') + 1);
    Utf8 byDefault;
    for (xmlNodePtr n = types->children; n; n = n->next) {
        Utf8 v, ct;
        if (Is(n, "Override") && Attr(n, "PartName", v) && Attr(n, "ContentType", ct)) {
            if (strcasecmp(v.c_str(), ("/" + part).c_str()) == 0) return ct;
        } else if (Is(n, "Default") && Attr(n, "Extension", v) && Attr(n, "ContentType", ct)) {
            if (strcasecmp(v.c_str(), ext.c_str()) == 0) byDefault = ct;
        }
    }
    return byDefault;
}

struct TStyles {
    std::vector<int> XfNumFmt;
    std::map<int, Utf8> Codes;
};

TStyles ReadStyles(TPackage& pkg, const Utf8& name)
{
    TStyles st;
    TXml xml;
    ParseXml(pkg, name, xml);
    xmlNodePtr root = xml.Root();
    for (xmlNodePtr f = Child(Child(root, "numFmts"), "numFmt"); f; f = f->next) {
        Utf8 id, code;
        long long v = 0;
        if (Is(f, "numFmt") && Attr(f, "numFmtId", id) && ToInt(id, v) && v >= 0 && v < INT_MAX &&
            Attr(f, "formatCode", code))
            st.Codes[static_cast<int>(v)] = code;
    }
    for (xmlNodePtr x = Child(Child(root, "cellXfs"), "xf"); x; x = x->next) {
        if (!Is(x, "xf")) continue;
        Utf8 id;
        long long v = 0;
        st.XfNumFmt.push_back(Attr(x, "numFmtId", id) && ToInt(id, v) && v >= 0 && v < INT_MAX ? int(v) : 0);
    }
    return st;
}

std::vector<String> ReadSharedStrings(TPackage& pkg, const Utf8& name)
{
    std::vector<String> out;
    TXml xml;
    ParseXml(pkg, name, xml);
    if (!IsMain(xml.Root(), "sst")) pkg.Fail(L"malformed part " + UTF8ToString(name));
    for (xmlNodePtr si = xml.Root()->children; si; si = si->next) {
        if (!Is(si, "si")) continue;
        // Plain text or rich runs joined; phonetic runs (rPh) left out.
        Utf8 s;
        for (xmlNodePtr c = si->children; c; c = c->next) {
            if (Is(c, "t")) s += Text(c);
            else if (Is(c, "r")) s += Text(Child(c, "t"));
        }
        out.push_back(UTF8ToString(s));
    }
    return out;
}

// Inline string: the same shape as a shared string item.
String InlineText(xmlNodePtr is)
{
    Utf8 s;
    for (xmlNodePtr c = is ? is->children : nullptr; c; c = c->next) {
        if (Is(c, "t")) s += Text(c);
        else if (Is(c, "r")) s += Text(Child(c, "t"));
    }
    return UTF8ToString(s);
}

void ReadSheet(TPackage& pkg, const Utf8& name, const std::vector<String>& shared, const TStyles& styles,
               TXlsxSheet& sheet)
{
    TXml xml;
    ParseXml(pkg, name, xml);
    xmlNodePtr root = xml.Root();
    if (!IsMain(root, "worksheet")) pkg.Fail(L"malformed part " + UTF8ToString(name));
    auto bad = [&](const Utf8& what) { pkg.Fail(L"bad cell in " + UTF8ToString(name) + L": " + UTF8ToString(what)); };

    if (xmlNodePtr view = Child(Child(root, "sheetViews"), "sheetView")) {
        Utf8 activePane, pane, ref;
        if (xmlNodePtr p = Child(view, "pane")) Attr(p, "activePane", activePane);
        xmlNodePtr chosen = nullptr;
        for (xmlNodePtr s = view->children; s; s = s->next) {
            if (!Is(s, "selection")) continue;
            Utf8 sp;
            Attr(s, "pane", sp);
            if (!chosen || (!activePane.empty() && sp == activePane)) chosen = s;
        }
        int r = 0, c = 0;
        if (chosen && Attr(chosen, "activeCell", ref)) {
            if (!XlsxParseCellRef(UTF8ToString(ref), r, c)) bad(ref);
            sheet.ActiveRow = r;
            sheet.ActiveColumn = c;
        }
    }

    int lastRow = 0;
    for (xmlNodePtr row = Child(root, "sheetData") ? Child(root, "sheetData")->children : nullptr; row;
         row = row->next) {
        if (!Is(row, "row")) continue;
        Utf8 v;
        long long rn = lastRow + 1;
        if (Attr(row, "r", v) && (!ToInt(v, rn))) bad(v);
        if (rn < 1 || rn > XlsxMaxRows) bad(v.empty() ? std::to_string(rn) : v);
        lastRow = static_cast<int>(rn);
        int lastCol = 0;
        for (xmlNodePtr c = row->children; c; c = c->next) {
            if (!Is(c, "c")) continue;
            int r = lastRow, col = lastCol + 1;
            Utf8 ref, t, s;
            if (Attr(c, "r", ref)) {
                if (!XlsxParseCellRef(UTF8ToString(ref), r, col)) bad(ref);
            } else if (col > XlsxMaxColumns) {
                bad("past the last column");
            }
            lastCol = col;
            Attr(c, "t", t);
            TXlsxCell cell;
            if (Attr(c, "s", s)) {
                long long xf = 0;
                if (!ToInt(s, xf) || xf < 0) bad(s);
                if (static_cast<size_t>(xf) < styles.XfNumFmt.size()) {
                    cell.NumFmtId = styles.XfNumFmt[static_cast<size_t>(xf)];
                    auto code = styles.Codes.find(cell.NumFmtId);
                    if (code != styles.Codes.end()) cell.NumFmtCode = UTF8ToString(code->second);
                }
            }
            cell.Formula = Child(c, "f") != nullptr;
            xmlNodePtr vn = Child(c, "v");
            if (t == "inlineStr") {
                cell.Kind = TXlsxCellKind::String;
                cell.Text = InlineText(Child(c, "is"));
            } else if (vn) {
                Utf8 val = Text(vn);
                if (t == "s") {
                    long long i = 0;
                    if (!ToInt(val, i) || i < 0 || static_cast<size_t>(i) >= shared.size()) bad(ref + " " + val);
                    cell.Kind = TXlsxCellKind::String;
                    cell.Text = shared[static_cast<size_t>(i)];
                } else if (t == "d") {
                    if (!IsoToSerial(val, cell.Number)) bad(ref + " " + val);
                    cell.Kind = TXlsxCellKind::Number;
                } else if (t == "str") {
                    cell.Kind = TXlsxCellKind::String;
                    cell.Text = UTF8ToString(val);
                } else if (t == "b") {
                    if (val != "0" && val != "1") bad(ref + " " + val);
                    cell.Kind = TXlsxCellKind::Boolean;
                    cell.Boolean = val == "1";
                } else if (t == "e") {
                    cell.Kind = TXlsxCellKind::Error;
                    cell.Text = UTF8ToString(val);
                } else if (t.empty() || t == "n") {
                    if (!ToDouble(val, cell.Number)) bad(ref + " " + val);
                    cell.Kind = TXlsxCellKind::Number;
                } else {
                    bad(ref + " type " + t);
                }
            }
            if (cell.Kind != TXlsxCellKind::Empty || cell.NumFmtId != 0) sheet.Cells[{r, col}] = std::move(cell);
            else sheet.Cells.erase({r, col});
        }
    }
}

}  // namespace

bool XlsxParseCellRef(const String& ref, int& row, int& column)
{
    size_t i = 0, n = ref.size();
    if (i < n && ref[i] == L'$') ++i;
    long col = 0;
    size_t letters = 0;
    while (i < n && ((ref[i] >= L'A' && ref[i] <= L'Z') || (ref[i] >= L'a' && ref[i] <= L'z'))) {
        if (++letters > 3) return false;
        col = col * 26 + (std::towupper(ref[i]) - L'A' + 1);
        ++i;
    }
    if (letters == 0) return false;
    if (i < n && ref[i] == L'$') ++i;
    long r = 0;
    size_t digits = 0;
    while (i < n && ref[i] >= L'0' && ref[i] <= L'9') {
        if (++digits > 7) return false;
        r = r * 10 + (ref[i] - L'0');
        ++i;
    }
    if (digits == 0 || i != n) return false;
    if (col < 1 || col > XlsxMaxColumns || r < 1 || r > XlsxMaxRows) return false;
    row = static_cast<int>(r);
    column = static_cast<int>(col);
    return true;
}

TXlsxWorkbook ReadXlsxWorkbook(const String& fileName, const TXlsxLimits& limits)
{
    xmlInitParser();
    TPackage pkg(fileName, limits);
    if (!pkg.Has("[Content_Types].xml")) pkg.Fail(L"not an .xlsx workbook");
    TXml types;
    ParseXml(pkg, "[Content_Types].xml", types);

    // The workbook part: the package's office document relationship.
    Utf8 workbook;
    for (const auto& [id, rel] : ReadRels(pkg, "_rels/.rels"))
        if (EndsWith(rel.Type, "/officeDocument") && !rel.External) workbook = Resolve(pkg, "", rel.Target);
    if (workbook.empty()) pkg.Fail(L"not an .xlsx workbook");
    Utf8 ct = ContentType(types.Root(), workbook);
    if (!EndsWith(ct, ".sheet.main+xml") && !EndsWith(ct, ".template.main+xml")) pkg.Fail(L"not an .xlsx workbook");

    TXml wb;
    ParseXml(pkg, workbook, wb);
    if (!IsMain(wb.Root(), "workbook")) pkg.Fail(L"malformed part " + UTF8ToString(workbook));
    auto rels = ReadRels(pkg, RelsName(workbook));
    Utf8 folder = Folder(workbook);

    std::vector<String> shared;
    TStyles styles;
    for (const auto& [id, rel] : rels) {
        if (rel.External) continue;
        if (EndsWith(rel.Type, "/sharedStrings")) shared = ReadSharedStrings(pkg, Resolve(pkg, folder, rel.Target));
        else if (EndsWith(rel.Type, "/styles")) styles = ReadStyles(pkg, Resolve(pkg, folder, rel.Target));
    }

    long long activeTab = 0;
    if (xmlNodePtr view = Child(Child(wb.Root(), "bookViews"), "workbookView")) {
        Utf8 v;
        if (Attr(view, "activeTab", v) && !ToInt(v, activeTab)) activeTab = 0;
    }

    TXlsxWorkbook book;
    int index = 0;
    for (xmlNodePtr s = Child(Child(wb.Root(), "sheets"), "sheet"); s; s = s->next) {
        if (!Is(s, "sheet")) continue;
        Utf8 name, rid;
        if (!Attr(s, "name", name) || !Attr(s, "id", rid, "/relationships"))
            pkg.Fail(L"malformed part " + UTF8ToString(workbook));
        auto rel = rels.find(rid);
        if (rel == rels.end()) pkg.Fail(L"sheet " + UTF8ToString(name) + L" has no part");
        if (activeTab == index) book.ActiveSheet = static_cast<int>(book.Sheets.size());
        ++index;
        // Chart and dialog sheets hold no cells: only worksheets are kept.
        if (!EndsWith(rel->second.Type, "/worksheet")) continue;
        if (rel->second.External) pkg.Fail(L"part name outside the package: " + UTF8ToString(rel->second.Target));
        TXlsxSheet sheet;
        sheet.Name = UTF8ToString(name);
        ReadSheet(pkg, Resolve(pkg, folder, rel->second.Target), shared, styles, sheet);
        book.Sheets.push_back(std::move(sheet));
    }
    if (book.Sheets.empty()) pkg.Fail(L"the workbook has no worksheet");

    // What a writer of the model would drop: cells the model keeps only by
    // value, and parts beside the worksheets.
    bool formulas = false, errors = false, chartSheets = index > static_cast<int>(book.Sheets.size());
    for (const TXlsxSheet& sheet : book.Sheets)
        for (const auto& [at, cell] : sheet.Cells) {
            formulas = formulas || cell.Formula;
            errors = errors || cell.Kind == TXlsxCellKind::Error;
        }
    std::set<Utf8> kinds;
    static const std::pair<const char*, const char*> partKinds[] = {
        {"xl/comments", "comments"},         {"xl/threadedcomments", "comments"},
        {"xl/charts/", "charts"},            {"xl/chartsheets/", "charts"},
        {"xl/media/", "pictures"},           {"xl/drawings/", "drawings"},
        {"xl/pivottables/", "pivot tables"}, {"xl/pivotcache/", "pivot tables"},
        {"xl/vbaproject", "macros"},         {"xl/externallinks/", "external links"},
    };
    for (Utf8 name : pkg.Names()) {
        for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        for (const auto& [prefix, kind] : partKinds)
            if (name.compare(0, std::strlen(prefix), prefix) == 0) kinds.insert(kind);
    }
    if (chartSheets) kinds.insert("charts");
    if (EndsWith(ct, "macroEnabled.main+xml")) kinds.insert("macros");
    if (formulas) book.Unkept.push_back(L"formulas");
    if (errors) book.Unkept.push_back(L"error values");
    for (const char* kind : {"comments", "charts", "pictures", "drawings", "pivot tables", "macros", "external links"})
        if (kinds.count(kind)) book.Unkept.push_back(UTF8ToString(kind));
    if (book.ActiveSheet >= static_cast<int>(book.Sheets.size())) book.ActiveSheet = 0;
    return book;
}

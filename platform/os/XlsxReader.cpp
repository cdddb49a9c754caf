#include "platform/os/XlsxReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstring>
#include <cstdio>
#include <cwctype>
#include <iterator>
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

    const String& File() const { return FFile; }

    // The inflated bytes of a part, counted as they come out.
    Utf8 Read(const Utf8& name)
    {
        Utf8 out;
        Stream(name, [&](const char* data, size_t n) { out.append(data, n); });
        return out;
    }

    // Hands the inflated bytes of a part to sink a chunk at a time, counted
    // as they come out against the part's and the package's limits.
    template <class F>
    void Stream(const Utf8& name, F&& sink)
    {
        zip_int64_t index = zip_name_locate(FZip, name.c_str(), ZIP_FL_NOCASE);
        if (index < 0) Fail(L"missing part " + UTF8ToString(name));
        zip_file_t* f = zip_fopen_index(FZip, static_cast<zip_uint64_t>(index), 0);
        if (!f) Fail(L"cannot read part " + UTF8ToString(name));
        uint64_t partLimit = std::min<uint64_t>(FLimits.MaxPartBytes, INT_MAX - 1);
        uint64_t size = 0;
        char buf[65536];
        for (;;) {
            zip_int64_t got = zip_fread(f, buf, sizeof buf);
            if (got < 0) {
                zip_fclose(f);
                Fail(L"corrupt part " + UTF8ToString(name));
            }
            if (got == 0) break;
            FTotal += static_cast<uint64_t>(got);
            size += static_cast<uint64_t>(got);
            if (size > partLimit) {
                zip_fclose(f);
                Fail(L"part " + UTF8ToString(name) + L" inflates past the limit");
            }
            if (FTotal > FLimits.MaxPackageBytes) {
                zip_fclose(f);
                Fail(L"package inflates past the limit");
            }
            try {
                sink(buf, static_cast<size_t>(got));
            } catch (...) {
                zip_fclose(f);
                throw;
            }
        }
        if (zip_fclose(f) != 0) Fail(L"corrupt part " + UTF8ToString(name));
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

// Large parts (worksheets, shared strings) are streamed: inflated a chunk
// at a time, counted like Read, and fed to a SAX parser, so a part's size
// costs no tree in memory. The handlers record the first fault and stop the
// parser; nothing is thrown through the library.
class TSaxPart {
public:
    virtual ~TSaxPart() = default;
    // local: the element's local name; uri: its namespace (null for none).
    virtual void Start(const char* local, const char* uri, int nAttrs, const xmlChar** attrs) = 0;
    virtual void End() = 0;
    virtual void Characters(const char* s, int len) = 0;

    void Fault(const String& cause)
    {
        if (!Error.empty()) return;
        Error = cause;
        xmlStopParser(Ctxt);
    }

    // The value of an attribute without namespace; false when absent.
    static bool Attr(int nAttrs, const xmlChar** attrs, const char* name, std::string_view& out)
    {
        for (int i = 0; i < nAttrs; ++i) {
            const xmlChar** a = attrs + 5 * i;
            if (a[2] == nullptr && std::strcmp(reinterpret_cast<const char*>(a[0]), name) == 0) {
                out = std::string_view(reinterpret_cast<const char*>(a[3]), static_cast<size_t>(a[4] - a[3]));
                return true;
            }
        }
        return false;
    }

    String Error;
    bool Dtd = false;
    xmlParserCtxtPtr Ctxt = nullptr;
    // The push parser does not bound nesting itself: deeper parts than any
    // workbook writes are refused here.
    static constexpr int MaxDepth = 256;
    int Nesting = 0;
};

extern "C" {
static void SaxStart(void* ctx, const xmlChar* local, const xmlChar*, const xmlChar* uri, int, const xmlChar**,
                     int nAttrs, int, const xmlChar** attrs)
{
    auto* h = static_cast<TSaxPart*>(ctx);
    if (!h->Error.empty()) return;
    if (++h->Nesting > TSaxPart::MaxDepth) return h->Fault(L"malformed part: elements nested too deeply");
    try {
        h->Start(reinterpret_cast<const char*>(local), reinterpret_cast<const char*>(uri), nAttrs, attrs);
    } catch (...) {
        h->Fault(L"out of memory");
    }
}
static void SaxEnd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto* h = static_cast<TSaxPart*>(ctx);
    if (!h->Error.empty()) return;
    --h->Nesting;
    try {
        h->End();
    } catch (...) {
        h->Fault(L"out of memory");
    }
}
static void SaxText(void* ctx, const xmlChar* s, int len)
{
    auto* h = static_cast<TSaxPart*>(ctx);
    if (!h->Error.empty()) return;
    try {
        h->Characters(reinterpret_cast<const char*>(s), len);
    } catch (...) {
        h->Fault(L"out of memory");
    }
}
static void SaxDtd(void* ctx, const xmlChar*, const xmlChar*, const xmlChar*)
{
    auto* h = static_cast<TSaxPart*>(ctx);
    h->Dtd = true;
    xmlStopParser(h->Ctxt);
}
}

// Streams a part through the handler; raises for a DTD, a fault the
// handler recorded, or XML that is not well-formed.
void ParseStreamed(TPackage& pkg, const Utf8& name, TSaxPart& h)
{
    xmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.initialized = XML_SAX2_MAGIC;
    sax.startElementNs = SaxStart;
    sax.endElementNs = SaxEnd;
    sax.characters = SaxText;
    sax.cdataBlock = SaxText;
    sax.internalSubset = SaxDtd;
    xmlParserCtxtPtr ctxt = xmlCreatePushParserCtxt(&sax, &h, nullptr, 0, name.c_str());
    if (!ctxt) pkg.Fail(L"out of memory");
    xmlCtxtUseOptions(ctxt, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    h.Ctxt = ctxt;
    struct TFree {
        xmlParserCtxtPtr C;
        ~TFree() { xmlFreeParserCtxt(C); }
    } freeCtxt{ctxt};
    bool stopped = false;
    pkg.Stream(name, [&](const char* data, size_t n) {
        if (stopped) return;
        xmlParseChunk(ctxt, data, static_cast<int>(n), 0);
        stopped = !h.Error.empty() || h.Dtd || ctxt->disableSAX || !ctxt->wellFormed;
    });
    if (!stopped) xmlParseChunk(ctxt, nullptr, 0, 1);
    if (h.Dtd) pkg.Fail(L"part " + UTF8ToString(name) + L" holds a DTD");
    if (!h.Error.empty()) pkg.Fail(h.Error);
    if (!ctxt->wellFormed) pkg.Fail(L"malformed part " + UTF8ToString(name));
}

bool ToInt(std::string_view s, long long& v)
{
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size() && !s.empty();
}

// The text of a shared string item or an inline string: plain text or rich
// runs joined, phonetic runs (rPh) left out. Depths are relative to the
// item's element (1: its children).
struct TRichText {
    int Depth = 0;        // 1: in the item's element itself
    int TDepth = 0;       // depth of the <t> whose text is collected (0: none)
    bool InRun = false, RunTDone = false;
    Utf8 Text;

    void Begin()
    {
        Depth = 1;
        TDepth = 0;
        InRun = RunTDone = false;
        Text.clear();
    }
    void Start(const char* local)
    {
        ++Depth;
        if (TDepth) return;   // inside a <t>: its text is collected whole
        if (Depth == 2) {
            InRun = std::strcmp(local, "r") == 0;
            RunTDone = false;
            if (std::strcmp(local, "t") == 0) TDepth = Depth;
        } else if (Depth == 3 && InRun && !RunTDone && std::strcmp(local, "t") == 0) {
            TDepth = Depth;   // a run's first <t>
        }
    }
    void End()
    {
        if (TDepth == Depth) {
            TDepth = 0;
            if (Depth == 3) RunTDone = true;
        }
        if (Depth == 2) InRun = false;
        --Depth;
    }
    void Characters(const char* s, int len)
    {
        if (TDepth) Text.append(s, static_cast<size_t>(len));
    }
};

class TSharedStringsPart : public TSaxPart {
public:
    TSharedStringsPart(const Utf8& name, std::vector<String>& out) : FName(name), FOut(out) {}

    void Start(const char* local, const char* uri, int, const xmlChar**) override
    {
        ++FDepth;
        if (FDepth == 1) {
            if (std::strcmp(local, "sst") != 0 || !uri || std::strcmp(uri, MainNs) != 0)
                Fault(L"malformed part " + UTF8ToString(FName));
            return;
        }
        if (FItem) {
            FRich.Start(local);
            return;
        }
        if (FDepth == 2 && std::strcmp(local, "si") == 0) {
            FItem = true;
            FRich.Begin();
        }
    }
    void End() override
    {
        if (FItem) {
            if (FRich.Depth == 1) {
                FOut.push_back(UTF8ToString(FRich.Text));
                FItem = false;
                FRich.Depth = 0;
            } else {
                FRich.End();
            }
        }
        --FDepth;
    }
    void Characters(const char* s, int len) override
    {
        if (FItem) FRich.Characters(s, len);
    }

private:
    Utf8 FName;
    std::vector<String>& FOut;
    int FDepth = 0;
    bool FItem = false;
    TRichText FRich;
};

std::vector<String> ReadSharedStrings(TPackage& pkg, const Utf8& name)
{
    std::vector<String> out;
    TSharedStringsPart part(name, out);
    ParseStreamed(pkg, name, part);
    return out;
}

class TSheetPart : public TSaxPart {
public:
    TSheetPart(const Utf8& name, const std::vector<String>& shared, const TStyles& styles, TXlsxSheet& sheet)
        : FName(name), FShared(shared), FStyles(styles), FSheet(sheet)
    {
    }

    void Start(const char* local, const char* uri, int nAttrs, const xmlChar** attrs) override
    {
        ++FDepth;
        if (FDepth == 1) {
            if (std::strcmp(local, "worksheet") != 0 || !uri || std::strcmp(uri, MainNs) != 0)
                Fault(L"malformed part " + UTF8ToString(FName));
            return;
        }
        if (FInCell) {
            CellChild(local);
            return;
        }
        switch (FDepth) {
        case 2:
            if (std::strcmp(local, "sheetViews") == 0 && !FViewsSeen) FInViews = true;
            else if (std::strcmp(local, "sheetData") == 0 && !FDataSeen) FInData = true;
            break;
        case 3:
            if (FInViews && std::strcmp(local, "sheetView") == 0 && !FViewSeen) FInView = true;
            else if (FInData && std::strcmp(local, "row") == 0) Row(nAttrs, attrs);
            break;
        case 4:
            if (FInView) ViewChild(local, nAttrs, attrs);
            else if (FInRow && std::strcmp(local, "c") == 0) Cell(nAttrs, attrs);
            break;
        default:
            break;
        }
    }

    void End() override
    {
        if (FInCell) {
            if (FDepth == 4) {
                FinishCell();
            } else {
                if (FInInline) {
                    if (FRich.Depth == 1) FInInline = false, FInlineDone = true, FRich.Depth = 0;
                    else FRich.End();
                }
                if (FDepth == FVDepth) FVDepth = 0, FVDone = true;
            }
        } else if (FDepth == 4 && FInRow) {
            // an element of the row that is not a cell
        } else if (FDepth == 3) {
            if (FInRow) FInRow = false;
            if (FInView) FinishView();
        } else if (FDepth == 2) {
            if (FInViews) FInViews = false, FViewsSeen = true;
            if (FInData) FInData = false, FDataSeen = true;
        }
        --FDepth;
    }

    void Characters(const char* s, int len) override
    {
        if (!FInCell) return;
        if (FVDepth) FValue.append(s, static_cast<size_t>(len));
        else if (FInInline) FRich.Characters(s, len);
    }

private:
    void Bad(std::string_view what)
    {
        Fault(L"bad cell in " + UTF8ToString(FName) + L": " + UTF8ToString(Utf8(what)));
    }

    void ViewChild(const char* local, int nAttrs, const xmlChar** attrs)
    {
        std::string_view v;
        if (std::strcmp(local, "pane") == 0) {
            if (!FPaneSeen && Attr(nAttrs, attrs, "activePane", v)) FActivePane = v;
            FPaneSeen = true;
        } else if (std::strcmp(local, "selection") == 0) {
            std::string_view pane, cell;
            TSelection s;
            s.HasCell = Attr(nAttrs, attrs, "activeCell", cell);
            Attr(nAttrs, attrs, "pane", pane);
            s.Pane = pane;
            s.Cell = cell;
            FSelections.push_back(std::move(s));
        }
    }

    void FinishView()
    {
        FInView = false;
        FViewSeen = true;
        const TSelection* chosen = nullptr;
        for (const TSelection& s : FSelections)
            if (!chosen || (!FActivePane.empty() && s.Pane == FActivePane)) chosen = &s;
        if (chosen && chosen->HasCell) {
            int r = 0, c = 0;
            if (!XlsxParseCellRef(UTF8ToString(chosen->Cell), r, c)) return Bad(chosen->Cell);
            FSheet.ActiveRow = r;
            FSheet.ActiveColumn = c;
        }
    }

    void Row(int nAttrs, const xmlChar** attrs)
    {
        std::string_view v;
        long long rn = FLastRow + 1;
        const bool has = Attr(nAttrs, attrs, "r", v);
        if (has && !ToInt(v, rn)) return Bad(v);
        if (rn < 1 || rn > XlsxMaxRows) return Bad(has ? v : std::string_view(std::to_string(rn)));
        FLastRow = static_cast<int>(rn);
        FLastCol = 0;
        FInRow = true;
    }

    void Cell(int nAttrs, const xmlChar** attrs)
    {
        FRow = FLastRow;
        FCol = FLastCol + 1;
        std::string_view ref, t, s;
        FRef.clear();
        if (Attr(nAttrs, attrs, "r", ref)) {
            FRef = ref;
            if (!ParseRef(ref, FRow, FCol)) return Bad(ref);
        } else if (FCol > XlsxMaxColumns) {
            return Bad("past the last column");
        }
        FLastCol = FCol;
        FType = Attr(nAttrs, attrs, "t", t) ? Utf8(t) : Utf8();
        FNumFmt = 0;
        FNumFmtCode = nullptr;
        if (Attr(nAttrs, attrs, "s", s)) {
            long long xf = 0;
            if (!ToInt(s, xf) || xf < 0) return Bad(s);
            if (static_cast<size_t>(xf) < FStyles.XfNumFmt.size()) {
                FNumFmt = FStyles.XfNumFmt[static_cast<size_t>(xf)];
                auto code = FStyles.Codes.find(FNumFmt);
                if (code != FStyles.Codes.end()) FNumFmtCode = &code->second;
            }
        }
        FInCell = true;
        FFormula = FVDone = FInlineSeen = FInlineDone = FInInline = false;
        FVDepth = 0;
        FHasV = false;
        FValue.clear();
    }

    // "B12" in UTF-8 (ASCII) without a conversion.
    static bool ParseRef(std::string_view ref, int& row, int& col)
    {
        size_t i = 0, n = ref.size();
        if (i < n && ref[i] == '$') ++i;
        long c = 0;
        size_t letters = 0;
        while (i < n && ((ref[i] >= 'A' && ref[i] <= 'Z') || (ref[i] >= 'a' && ref[i] <= 'z'))) {
            if (++letters > 3) return false;
            c = c * 26 + (std::toupper(static_cast<unsigned char>(ref[i])) - 'A' + 1);
            ++i;
        }
        if (letters == 0) return false;
        if (i < n && ref[i] == '$') ++i;
        long r = 0;
        size_t digits = 0;
        while (i < n && ref[i] >= '0' && ref[i] <= '9') {
            if (++digits > 7) return false;
            r = r * 10 + (ref[i] - '0');
            ++i;
        }
        if (digits == 0 || i != n || c < 1 || c > XlsxMaxColumns || r < 1 || r > XlsxMaxRows) return false;
        row = static_cast<int>(r);
        col = static_cast<int>(c);
        return true;
    }

    void CellChild(const char* local)
    {
        if (FInInline) {
            FRich.Start(local);
            return;
        }
        if (FDepth != 5) return;
        if (std::strcmp(local, "f") == 0) {
            FFormula = true;
        } else if (std::strcmp(local, "v") == 0 && !FVDone && !FVDepth) {
            FVDepth = FDepth;
            FHasV = true;
        } else if (std::strcmp(local, "is") == 0 && !FInlineSeen) {
            FInlineSeen = true;
            FInInline = true;
            FRich.Begin();
        }
    }

    void FinishCell()
    {
        FInCell = false;
        TXlsxCell cell;
        cell.NumFmtId = FNumFmt;
        if (FNumFmtCode) cell.NumFmtCode = UTF8ToString(*FNumFmtCode);
        cell.Formula = FFormula;
        const Utf8& t = FType;
        auto bad = [&] { Bad(FRef + " " + FValue); };
        if (t == "inlineStr") {
            cell.Kind = TXlsxCellKind::String;
            cell.Text = UTF8ToString(FInlineDone ? FRich.Text : Utf8());
        } else if (FHasV) {
            if (t == "s") {
                long long i = 0;
                if (!ToInt(FValue, i) || i < 0 || static_cast<size_t>(i) >= FShared.size()) return bad();
                cell.Kind = TXlsxCellKind::String;
                cell.Text = FShared[static_cast<size_t>(i)];
            } else if (t == "d") {
                if (!IsoToSerial(FValue, cell.Number)) return bad();
                cell.Kind = TXlsxCellKind::Number;
            } else if (t == "str") {
                cell.Kind = TXlsxCellKind::String;
                cell.Text = UTF8ToString(FValue);
            } else if (t == "b") {
                if (FValue != "0" && FValue != "1") return bad();
                cell.Kind = TXlsxCellKind::Boolean;
                cell.Boolean = FValue == "1";
            } else if (t == "e") {
                cell.Kind = TXlsxCellKind::Error;
                cell.Text = UTF8ToString(FValue);
            } else if (t.empty() || t == "n") {
                if (!ToDouble(FValue, cell.Number)) return bad();
                cell.Kind = TXlsxCellKind::Number;
            } else {
                return Bad(FRef + " type " + t);
            }
        }
        auto& cells = FSheet.Cells;
        const std::pair<int, int> at{FRow, FCol};
        const bool keep = cell.Kind != TXlsxCellKind::Empty || cell.NumFmtId != 0;
        // Cells mostly come in order: append at the end without a search.
        if (keep && (cells.empty() || std::prev(cells.end())->first < at)) {
            cells.emplace_hint(cells.end(), at, std::move(cell));
        } else if (keep) {
            cells[at] = std::move(cell);
        } else {
            cells.erase(at);
        }
    }

    struct TSelection {
        Utf8 Pane, Cell;
        bool HasCell = false;
    };

    Utf8 FName;
    const std::vector<String>& FShared;
    const TStyles& FStyles;
    TXlsxSheet& FSheet;
    int FDepth = 0;
    bool FInViews = false, FViewsSeen = false, FInView = false, FViewSeen = false, FPaneSeen = false;
    bool FInData = false, FDataSeen = false, FInRow = false;
    Utf8 FActivePane;
    std::vector<TSelection> FSelections;
    int FLastRow = 0, FLastCol = 0;
    // The cell being read.
    bool FInCell = false, FFormula = false, FHasV = false, FVDone = false;
    bool FInlineSeen = false, FInInline = false, FInlineDone = false;
    int FVDepth = 0;
    int FRow = 0, FCol = 0, FNumFmt = 0;
    const Utf8* FNumFmtCode = nullptr;
    Utf8 FRef, FType, FValue;
    TRichText FRich;
};

void ReadSheet(TPackage& pkg, const Utf8& name, const std::vector<String>& shared, const TStyles& styles,
               TXlsxSheet& sheet)
{
    TSheetPart part(name, shared, styles, sheet);
    ParseStreamed(pkg, name, part);
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

    // Serial numbers of the 1904 date system name other days in the usual
    // one, which is all a writer of the model produces.
    bool date1904 = false;
    if (xmlNodePtr pr = Child(wb.Root(), "workbookPr")) {
        Utf8 v;
        date1904 = Attr(pr, "date1904", v) && (v == "1" || v == "true");
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
    if (date1904) book.Unkept.push_back(L"the 1904 date system");
    if (book.ActiveSheet >= static_cast<int>(book.Sheets.size())) book.ActiveSheet = 0;
    return book;
}

// The file store behind HKEY_CURRENT_USER, the raw registry calls and the
// change notification.
//
// File format (UTF-8, one item a line):
//   ; comment
//   [HKEY_CURRENT_USER\SOFTWARE\Vendor\Program]
//   "name"="text"              REG_SZ; \\ \" \n \r \t escapes, \uXXXX (exactly
//                              four hex digits) for other control characters
//                              and \UXXXXXXXX (exactly eight) for a unit that
//                              is no Unicode character (a surrogate, above
//                              U+10FFFF): every wchar_t unit reads back as it was
//   @="text"                   the default value
//   "e"=expand:"text"          REG_EXPAND_SZ
//   "m"=multi:"a","b"          REG_MULTI_SZ
//   "d"=dword:0000002a         REG_DWORD
//   "q"=qword:000000000000002a REG_QWORD
//   "b"=hex:01,02,ff           REG_BINARY
//   "x"=hex(1f):01,02          any other type (in hex), raw bytes
//
// The file is the user's: a change rewrites only the lines of what changed,
// and every line the parser did not understand stays where it was.
#include "platform/base/RegistryStore.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Threads.h"

namespace regstore {

namespace {

inline Char FoldChar(Char c)
{
    if (uint32_t(c) < 0x80) return (c >= L'a' && c <= L'z') ? Char(c - 32) : c;
    return AnsiUpperChar(c);
}

// Compares a (folded when foldA) with b (folded when foldB), unit by unit
// as unsigned values, then by length.
int FoldCompare(std::wstring_view a, bool foldA, std::wstring_view b, bool foldB)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        uint32_t x = uint32_t(foldA ? FoldChar(a[i]) : a[i]);
        uint32_t y = uint32_t(foldB ? FoldChar(b[i]) : b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::vector<Byte> BytesOfText(const String& text)
{
    std::vector<Byte> d((text.size() + 1) * sizeof(wchar_t), 0);
    std::memcpy(d.data(), text.data(), text.size() * sizeof(wchar_t));
    return d;
}

// The wchar_t units of string data (a partial last unit is dropped).
String UnitsOf(const std::vector<Byte>& data)
{
    String s(data.size() / sizeof(wchar_t), L'\0');
    if (!s.empty()) std::memcpy(s.data(), data.data(), s.size() * sizeof(wchar_t));
    return s;
}

std::vector<String> SplitPath(const String& path)
{
    std::vector<String> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find(L'\\', i);
        if (j == String::npos) j = path.size();
        if (j > i) parts.push_back(path.substr(i, j - i));
        i = j + 1;
    }
    return parts;
}

String KeyIdOf(const std::vector<String>& path)
{
    String id;
    for (const String& p : path) {
        id += Fold(p);
        id += L'\\';
    }
    return id;
}

// ---------------------------------------------------------------------------
// Writing

const char kHexDigits[] = "0123456789abcdef";

// Appends the UTF-8 form of a Unicode scalar value.
void PutUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

void PutHexNumber(std::string& out, uint64_t v, int digits)
{
    for (int i = digits - 1; i >= 0; --i) out += kHexDigits[(v >> (4 * i)) & 15];
}

// Every unit has a form: nothing here can fail or be cut short.
void PutQuoted(std::string& out, std::wstring_view s)
{
    out += '"';
    for (Char ch : s) {
        uint32_t c = uint32_t(ch);
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\u";
                PutHexNumber(out, c, 4);
            } else if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
                out += "\\U";
                PutHexNumber(out, c, 8);
            } else {
                PutUtf8(out, c);
            }
        }
    }
    out += '"';
}

void PutHex(std::string& out, const std::vector<Byte>& data)
{
    for (size_t i = 0; i < data.size(); ++i) {
        if (i) out += ',';
        out += kHexDigits[data[i] >> 4];
        out += kHexDigits[data[i] & 15];
    }
}

// The digits a number needs (at least one).
int HexWidth(uint64_t v)
{
    int n = 1;
    while (n < 16 && (v >> (4 * n)) != 0) ++n;
    return n;
}

// A key's path as its header names it.
std::string HeaderLine(const std::vector<const TRegNode*>& chain)
{
    String path = L"HKEY_CURRENT_USER";
    for (const TRegNode* n : chain) path += L'\\' + n->Name;
    return '[' + UTF8Encode(path) + ']';
}

// Key names never hold units UTF-8 cannot carry (the store refuses them),
// but a tree built in memory could: such a key is still written, with
// U+FFFD in its header.

// A node needs a header line to exist after a parse when it holds values or
// nothing at all (a key with sub-keys exists through their headers).
bool NeedsHeader(const TRegNode& n, bool isRoot) { return isRoot ? !n.Values.empty() : (!n.Values.empty() || n.Keys.empty()); }

// ---------------------------------------------------------------------------
// Reading

// A parser over one line; every step fails cleanly at the end of the line.
class TLineParser {
public:
    explicit TLineParser(const String& s) : FS(s) {}
    bool AtEnd() const { return FPos >= FS.size(); }
    void SkipBlanks()
    {
        while (FPos < FS.size() && (FS[FPos] == L' ' || FS[FPos] == L'\t')) ++FPos;
    }
    bool Take(Char c)
    {
        if (FPos < FS.size() && FS[FPos] == c) {
            ++FPos;
            return true;
        }
        return false;
    }
    bool TakeWord(const wchar_t* w)
    {
        size_t n = wcslen(w);
        if (FS.compare(FPos, n, w) != 0) return false;
        FPos += n;
        return true;
    }
    bool Quoted(String& out)
    {
        out.clear();
        if (!Take(L'"')) return false;
        while (FPos < FS.size()) {
            Char c = FS[FPos++];
            if (c == L'"') return true;
            if (c != L'\\') {
                out += c;
                continue;
            }
            if (FPos >= FS.size()) return false;
            Char e = FS[FPos++];
            switch (e) {
            case L'\\': out += L'\\'; break;
            case L'"': out += L'"'; break;
            case L'n': out += L'\n'; break;
            case L'r': out += L'\r'; break;
            case L't': out += L'\t'; break;
            case L'u':
            case L'U': {
                // A fixed count of digits: what follows them is text.
                uint64_t v;
                size_t n = e == L'u' ? 4 : 8;
                if (!ExactHex(v, n)) return false;
                out += Char(uint32_t(v));
                break;
            }
            default: return false;
            }
        }
        return false;
    }
    bool ExactHex(uint64_t& v, size_t n)
    {
        v = 0;
        for (size_t i = 0; i < n; ++i) {
            int d = FPos < FS.size() ? Digit(FS[FPos]) : -1;
            if (d < 0) return false;
            v = v * 16 + uint64_t(d);
            ++FPos;
        }
        return true;
    }
    // minDigits..maxDigits hexadecimal digits, and no more.
    bool HexDigits(uint64_t& v, size_t minDigits, size_t maxDigits)
    {
        v = 0;
        size_t n = 0;
        while (FPos < FS.size() && n < maxDigits) {
            int d = Digit(FS[FPos]);
            if (d < 0) break;
            v = v * 16 + uint64_t(d);
            ++FPos;
            ++n;
        }
        if (FPos < FS.size() && n == maxDigits && Digit(FS[FPos]) >= 0) return false;
        return n >= minDigits;
    }
    bool HexBytes(std::vector<Byte>& out)
    {
        out.clear();
        SkipBlanks();
        if (AtEnd()) return true;
        for (;;) {
            SkipBlanks();
            uint64_t b;
            if (!HexDigits(b, 1, 2)) return false;
            out.push_back(Byte(b));
            SkipBlanks();
            if (AtEnd()) return true;
            if (!Take(L',')) return false;
        }
    }

private:
    static int Digit(Char c)
    {
        return (c >= L'0' && c <= L'9') ? c - L'0'
             : (c >= L'a' && c <= L'f') ? c - L'a' + 10
             : (c >= L'A' && c <= L'F') ? c - L'A' + 10 : -1;
    }

    const String& FS;
    size_t FPos = 0;
};

bool ParseValue(const String& line, TRegValue& v)
{
    TLineParser p(line);
    if (p.Take(L'@')) {
        v.Name.clear();
    } else if (!p.Quoted(v.Name)) {
        return false;
    }
    p.SkipBlanks();
    if (!p.Take(L'=')) return false;
    p.SkipBlanks();
    String text;
    if (p.Quoted(text)) {
        v.Type = REG_SZ;
        v.Data = NormaliseString(REG_SZ, BytesOfText(text));
    } else if (p.TakeWord(L"expand:")) {
        if (!p.Quoted(text)) return false;
        v.Type = REG_EXPAND_SZ;
        v.Data = NormaliseString(REG_EXPAND_SZ, BytesOfText(text));
    } else if (p.TakeWord(L"multi:")) {
        String all;
        p.SkipBlanks();
        bool first = true;
        while (!p.AtEnd()) {
            if (!first && !p.Take(L',')) return false;
            p.SkipBlanks();
            if (!p.Quoted(text)) return false;
            if (!first) all += L'\0';
            all += text;
            first = false;
            p.SkipBlanks();
        }
        v.Type = REG_MULTI_SZ;
        v.Data = NormaliseString(REG_MULTI_SZ, BytesOfText(all));
    } else if (p.TakeWord(L"dword:")) {
        uint64_t d;
        if (!p.HexDigits(d, 1, 8)) return false;
        uint32_t d32 = uint32_t(d);
        v.Type = REG_DWORD;
        v.Data.assign(reinterpret_cast<Byte*>(&d32), reinterpret_cast<Byte*>(&d32) + 4);
    } else if (p.TakeWord(L"qword:")) {
        uint64_t q;
        if (!p.HexDigits(q, 1, 16)) return false;
        v.Type = REG_QWORD;
        v.Data.assign(reinterpret_cast<Byte*>(&q), reinterpret_cast<Byte*>(&q) + 8);
    } else if (p.TakeWord(L"hex:")) {
        v.Type = REG_BINARY;
        if (!p.HexBytes(v.Data)) return false;
    } else if (p.TakeWord(L"hex(")) {
        uint64_t t;
        if (!p.HexDigits(t, 1, 8) || !p.Take(L')') || !p.Take(L':')) return false;
        v.Type = DWORD(t);
        if (!p.HexBytes(v.Data)) return false;
        if (IsString(v.Type)) v.Data = NormaliseString(v.Type, v.Data);
    } else {
        return false;
    }
    p.SkipBlanks();
    return p.AtEnd();
}

bool IsUtf8(const std::string& s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            // Malformed sequences decode to U+FFFD, which encodes otherwise.
            return UTF8Encode(UTF8ToString(s)) == s;
    return true;
}

void EmitValues(std::string& out, const TRegNode& n, const char* eol)
{
    for (const auto& [name, v] : n.Values) {
        out += ValueLine(v);
        out += eol;
    }
}

// Appends every key below (and with) n that needs a header and has none in
// the file, with its values.
void AppendMissingKeys(std::string& out, const TRegNode& n, std::vector<const TRegNode*>& chain,
                       const std::set<String>& headers, const String& id, const char* eol)
{
    if (NeedsHeader(n, chain.empty()) && !headers.count(id)) {
        out += HeaderLine(chain);
        out += eol;
        EmitValues(out, n, eol);
    }
    for (const auto& [name, child] : n.Keys) {
        chain.push_back(child.get());
        AppendMissingKeys(out, *child, chain, headers, id + name + L'\\', eol);
        chain.pop_back();
    }
}

}   // namespace

bool TFoldLess::operator()(const String& a, const String& b) const { return FoldCompare(a, false, b, false) < 0; }
bool TFoldLess::operator()(const String& folded, TUnfolded b) const { return FoldCompare(folded, false, b.Text, true) < 0; }
bool TFoldLess::operator()(TUnfolded a, const String& folded) const { return FoldCompare(a.Text, true, folded, false) < 0; }

String Fold(std::wstring_view s)
{
    String r(s);
    for (Char& c : r) c = FoldChar(c);
    return r;
}

std::vector<Byte> NormaliseString(DWORD type, const std::vector<Byte>& data)
{
    String s = UnitsOf(data);
    if (type == REG_MULTI_SZ) {
        while (!s.empty() && s.back() == L'\0') s.pop_back();
        std::vector<Byte> d = BytesOfText(s);
        d.resize(d.size() + sizeof(wchar_t), 0);
        return d;
    }
    size_t nul = s.find(L'\0');
    if (nul != String::npos) s.resize(nul);
    return BytesOfText(s);
}

TRegNode* Descend(TRegNode& root, const std::vector<String>& path, bool create)
{
    TRegNode* n = &root;
    for (const String& part : path) {
        auto it = n->Keys.find(TUnfolded{part});
        if (it == n->Keys.end()) {
            if (!create) return nullptr;
            auto child = std::make_unique<TRegNode>();
            child->Name = part;
            it = n->Keys.emplace(Fold(part), std::move(child)).first;
        }
        n = it->second.get();
    }
    return n;
}

bool SameTree(const TRegNode& a, const TRegNode& b)
{
    if (a.Name != b.Name || a.Values.size() != b.Values.size() || a.Keys.size() != b.Keys.size()) return false;
    for (auto i = a.Values.begin(), j = b.Values.begin(); i != a.Values.end(); ++i, ++j)
        if (i->first != j->first || !(i->second == j->second)) return false;
    for (auto i = a.Keys.begin(), j = b.Keys.begin(); i != a.Keys.end(); ++i, ++j)
        if (i->first != j->first || !SameTree(*i->second, *j->second)) return false;
    return true;
}

void Parse(const std::string& bytes, TStoreDoc& doc)
{
    doc.Lines.clear();
    doc.Root = TRegNode();
    TRegNode* current = nullptr;
    std::vector<String> currentPath;
    String currentId;
    size_t i = 0;
    while (i < bytes.size()) {
        size_t j = bytes.find('\n', i);
        if (j == std::string::npos) j = bytes.size();
        TStoreLine ln;
        ln.Raw = bytes.substr(i, j - i);
        i = j + 1;
        String line = Trim(UTF8ToString(ln.Raw));
        ln.Utf8 = IsUtf8(ln.Raw);
        if (!line.empty() && line[0] == L'\xFEFF') line = Trim(line.substr(1));
        if (line.empty() || line[0] == L';' || line[0] == L'#') {
            doc.Lines.push_back(std::move(ln));
            continue;
        }
        if (line[0] == L'[') {
            current = nullptr;
            ln.Kind = TStoreLine::BadHeader;
            if (line.back() == L']') {
                std::vector<String> path = SplitPath(line.substr(1, line.size() - 2));
                if (!path.empty() && (Fold(path[0]) == L"HKEY_CURRENT_USER" || Fold(path[0]) == L"HKCU"))
                    path.erase(path.begin());
                current = Descend(doc.Root, path, true);
                currentPath = path;
                currentId = KeyIdOf(path);
                ln.Kind = TStoreLine::Header;
                ln.Path = std::move(path);
                ln.KeyId = currentId;
            }
            doc.Lines.push_back(std::move(ln));
            continue;
        }
        TRegValue v;
        if (current && ParseValue(line, v)) {
            ln.Kind = TStoreLine::Value;
            ln.Path = currentPath;
            ln.KeyId = currentId;
            ln.Val = v;
            String f = Fold(v.Name);
            current->Values[f] = std::move(v);
        }
        doc.Lines.push_back(std::move(ln));
    }
}

std::string ValueLine(const TRegValue& v)
{
    std::string out;
    if (v.Name.empty()) out += '@';
    else PutQuoted(out, v.Name);
    out += '=';
    if (v.Type == REG_SZ || v.Type == REG_EXPAND_SZ) {
        if (v.Type == REG_EXPAND_SZ) out += "expand:";
        String s = UnitsOf(v.Data);
        size_t nul = s.find(L'\0');
        PutQuoted(out, std::wstring_view(s).substr(0, nul == String::npos ? s.size() : nul));
    } else if (v.Type == REG_MULTI_SZ) {
        out += "multi:";
        String s = UnitsOf(v.Data);
        while (!s.empty() && s.back() == L'\0') s.pop_back();
        if (!s.empty()) {
            size_t i = 0;
            bool first = true;
            while (i <= s.size()) {
                size_t j = s.find(L'\0', i);
                if (j == String::npos) j = s.size();
                if (!first) out += ',';
                PutQuoted(out, std::wstring_view(s).substr(i, j - i));
                first = false;
                i = j + 1;
            }
        }
    } else if (v.Type == REG_DWORD && v.Data.size() == 4) {
        uint32_t d;
        std::memcpy(&d, v.Data.data(), 4);
        out += "dword:";
        PutHexNumber(out, d, 8);
    } else if (v.Type == REG_QWORD && v.Data.size() == 8) {
        uint64_t q;
        std::memcpy(&q, v.Data.data(), 8);
        out += "qword:";
        PutHexNumber(out, q, 16);
    } else if (v.Type == REG_BINARY) {
        out += "hex:";
        PutHex(out, v.Data);
    } else {
        out += "hex(";
        PutHexNumber(out, v.Type, HexWidth(v.Type));
        out += "):";
        PutHex(out, v.Data);
    }
    return out;
}

std::string Serialise(const TRegNode& root)
{
    TStoreDoc empty;
    bool lossy = false;
    return Rewrite(empty, root, lossy);
}

std::string Rewrite(const TStoreDoc& doc, const TRegNode& root, bool& lossy)
{
    lossy = false;
    // New lines follow the file's own line ends.
    const char* eol = !doc.Lines.empty() && !doc.Lines[0].Raw.empty() && doc.Lines[0].Raw.back() == '\r' ? "\r\n" : "\n";

    // Where each key's lines are, and which line of a value counts (the
    // last one, as the parser takes it).
    std::set<String> headers;
    std::map<String, size_t> lastLineOfKey;
    std::map<std::pair<String, String>, size_t> winner;
    std::set<std::pair<String, String>> inFile;
    for (size_t i = 0; i < doc.Lines.size(); ++i) {
        const TStoreLine& ln = doc.Lines[i];
        if (ln.Kind == TStoreLine::Header) {
            headers.insert(ln.KeyId);
            lastLineOfKey[ln.KeyId] = i;
        } else if (ln.Kind == TStoreLine::Value) {
            auto id = std::make_pair(ln.KeyId, Fold(ln.Val.Name));
            winner[id] = i;
            inFile.insert(id);
            lastLineOfKey[ln.KeyId] = i;
        }
    }
    // The key each insertion point belongs to.
    std::map<size_t, String> insertAt;
    for (const auto& [id, line] : lastLineOfKey) insertAt[line] = id;

    std::set<String> spelled;   // keys whose spelling a line before gave
    std::string out;
    if (doc.Lines.empty() && (NeedsHeader(root, true) || !root.Keys.empty())) {
        out += "; Velmora registry store: the current user's settings.";
        out += eol;
    }
    for (size_t i = 0; i < doc.Lines.size(); ++i) {
        const TStoreLine& ln = doc.Lines[i];
        const TRegNode* node = nullptr;
        if (ln.Kind == TStoreLine::Header || ln.Kind == TStoreLine::Value)
            node = Descend(const_cast<TRegNode&>(root), ln.Path, false);
        switch (ln.Kind) {
        case TStoreLine::Other:
        case TStoreLine::BadHeader:
            out += ln.Raw;
            out += '\n';
            break;
        case TStoreLine::Header:
            if (node) {   // a deleted key's header goes with it
                // The first line naming a key gives its spelling: when a
                // dropped line gave it before, this one takes it over.
                std::vector<const TRegNode*> chain;
                const TRegNode* n = &root;
                String id;
                bool respell = false;
                for (const String& part : ln.Path) {
                    n = n->Keys.find(TUnfolded{part})->second.get();
                    chain.push_back(n);
                    id += Fold(part) + L'\\';
                    if (spelled.insert(id).second && n->Name != part) respell = true;
                }
                if (respell) {
                    if (!ln.Utf8) lossy = true;
                    out += HeaderLine(chain);
                    out += eol;
                } else {
                    out += ln.Raw;
                    out += '\n';
                }
            }
            break;
        case TStoreLine::Value: {
            auto it = node ? node->Values.find(TUnfolded{ln.Val.Name}) : decltype(node->Values.end())();
            bool exists = node && it != node->Values.end();
            bool wins = winner[{ln.KeyId, Fold(ln.Val.Name)}] == i;
            if (!exists) {
                // The value went: every line of it goes, and a line that had
                // given way to a later one held something else.
                if (!wins) lossy = true;
            } else if (!wins || it->second == ln.Val) {
                out += ln.Raw;
                out += '\n';
            } else {
                if (!ln.Utf8) lossy = true;
                out += ValueLine(it->second);
                out += eol;
            }
            break;
        }
        }
        auto at = insertAt.find(i);
        if (at != insertAt.end()) {
            const TStoreLine& any = doc.Lines[i];
            if (const TRegNode* n = Descend(const_cast<TRegNode&>(root), any.Path, false)) {
                for (const auto& [name, v] : n->Values) {
                    if (inFile.count({at->second, name})) continue;
                    out += ValueLine(v);
                    out += eol;
                }
            }
        }
    }
    std::vector<const TRegNode*> chain;
    AppendMissingKeys(out, root, chain, headers, String(), eol);
    return out;
}

}   // namespace regstore

using namespace regstore;

namespace {

const char* const kStoreFileName = "HKEY_CURRENT_USER.reg";
const char* const kLockFileName = "HKEY_CURRENT_USER.reg.lock";
const char* const kBackupSuffix = ".bak";

// ---------------------------------------------------------------------------
// Digests for the change notification

void DigestNode(const TRegNode& n, DWORD filter, bool subtree, std::string& out)
{
    if (filter & REG_NOTIFY_CHANGE_NAME) {
        for (const auto& [name, child] : n.Keys) {
            out += 'k';
            out += UTF8Encode(name);
            out += '\n';
        }
    }
    if (filter & REG_NOTIFY_CHANGE_LAST_SET) {
        for (const auto& [name, v] : n.Values) {
            out += 'v';
            out += UTF8Encode(name);
            out += '\x01';
            out += std::to_string(v.Type);
            out += '\x01';
            out.append(reinterpret_cast<const char*>(v.Data.data()), v.Data.size());
            out += '\n';
        }
    }
    if (subtree) {
        for (const auto& [name, child] : n.Keys) {
            out += '[';
            out += UTF8Encode(name);
            out += '\n';
            DigestNode(*child, filter, subtree, out);
            out += "]\n";
        }
    }
}

// ---------------------------------------------------------------------------
// The store

struct TOpenKey {
    HKEY Root = 0;
    std::vector<String> Path;
    REGSAM Access = 0;
    // The key's node while the tree is of generation Gen.
    TRegNode* Node = nullptr;
    uint64_t Gen = 0;
};

struct TWatch {
    HKEY Handle = 0;
    HKEY Root = 0;
    std::vector<String> Path;
    bool Subtree = false;
    DWORD Filter = 0;
    std::shared_ptr<TEventState> Event;
    std::string Digest;
};

// What tells one state of the store file from another: a write renames a new
// file (inode) over it, an edit in place changes its size or time stamps.
struct TFileId {
    bool Exists = false;
    dev_t Dev = 0;
    ino_t Ino = 0;
    off_t Size = 0;
    long MSec = 0, MNsec = 0, CSec = 0, CNsec = 0;

    static TFileId Of(const struct stat& st)
    {
        TFileId id;
        id.Exists = true;
        id.Dev = st.st_dev;
        id.Ino = st.st_ino;
        id.Size = st.st_size;
        id.MSec = long(st.st_mtim.tv_sec);
        id.MNsec = st.st_mtim.tv_nsec;
        id.CSec = long(st.st_ctim.tv_sec);
        id.CNsec = st.st_ctim.tv_nsec;
        return id;
    }
    bool operator==(const TFileId& o) const
    {
        return Exists == o.Exists && Dev == o.Dev && Ino == o.Ino && Size == o.Size && MSec == o.MSec &&
               MNsec == o.MNsec && CSec == o.CSec && CNsec == o.CNsec;
    }
};

// Never destroyed: the watcher thread may still run while the process exits.
//
// The parsed file stays in memory. It is read again only when the file may
// have changed: every write of ours bumps a counter in a page shared through
// the lock file (so a write of one process is seen by the next call of every
// other), and the watcher thread flags any other change of the file's folder
// (an edit by hand, a program that knows no counter). Without either (no
// folder yet, or a watch refused) each call compares the file's identity.
struct TStore {
    std::mutex Lock;
    bool Located = false;
    std::string Dir, File, LockFile;
    bool Loaded = false;
    std::string Raw;   // the file's bytes behind Doc
    TFileId RawId;     // the file they were read from
    TStoreDoc Doc;     // Doc.Root is HKEY_CURRENT_USER
    TRegNode Empty;    // every other root
    uint64_t Generation = 1;   // grows whenever nodes may have moved or gone
    std::map<HKEY, TOpenKey> Handles;
    HKEY NextHandle = 0x1000;
    std::vector<TWatch> Watches;
    std::thread* Watcher = nullptr;
    int InotifyFd = -1;
    int WakeFd = -1;
    std::atomic<uint64_t>* Counter = nullptr;   // in the lock file's shared page
    uint64_t SeenCounter = 0;
    std::atomic<bool> Dirty{true};              // the watcher saw the folder change
    bool Stopping = false;                      // the watcher is being stopped: start none
};

static_assert(std::atomic<uint64_t>::is_always_lock_free, "the shared counter must be address-free");
constexpr size_t kCounterPage = 4096;

void PrepareFork();
void ParentAfterFork();
void ChildAfterFork();

TStore& Store()
{
    static TStore* s = [] {
        auto* st = new TStore;
        ::pthread_atfork(PrepareFork, ParentAfterFork, ChildAfterFork);
        return st;
    }();
    return *s;
}

void PrepareFork() { Store().Lock.lock(); }
void ParentAfterFork() { Store().Lock.unlock(); }

// The child has no watcher thread: forget it and the watches of the parent.
void ChildAfterFork()
{
    TStore& s = Store();
    s.Watcher = nullptr;   // the thread object stays with the parent's memory image
    if (s.InotifyFd >= 0) ::close(s.InotifyFd);
    if (s.WakeFd >= 0) ::close(s.WakeFd);
    s.InotifyFd = s.WakeFd = -1;
    s.Watches.clear();
    s.Dirty = true;
    s.Lock.unlock();
}

void Locate(TStore& s)
{
    if (s.Located) return;
    const char* x = std::getenv("XDG_CONFIG_HOME");
    std::string conf = (x && *x == '/') ? std::string(x) : UTF8Encode(GetHomePath()) + "/.config";
    while (conf.size() > 1 && conf.back() == '/') conf.pop_back();
    s.Dir = conf + "/velmora/registry";
    s.File = s.Dir + "/" + kStoreFileName;
    s.LockFile = s.Dir + "/" + kLockFileName;
    s.Located = true;
}

// The file a path names once every symbolic link on its last part is
// followed (the path itself when it is none, or a link loop).
std::string FollowLinks(const std::string& path)
{
    std::string p = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st{};
        if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
        char buf[PATH_MAX];
        ssize_t n = ::readlink(p.c_str(), buf, sizeof buf - 1);
        if (n <= 0) return p;
        std::string target(buf, size_t(n));
        if (target[0] != '/') {
            size_t slash = p.rfind('/');
            target = (slash == std::string::npos ? std::string() : p.substr(0, slash + 1)) + target;
        }
        p = target;
    }
    return path;
}

bool ReadWhole(const std::string& name, std::string& out, TFileId& id)
{
    out.clear();
    id = TFileId();
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    id = TFileId::Of(st);
    out.reserve(size_t(st.st_size));
    char buf[65536];
    for (;;) {
        ssize_t r = ::read(fd, buf, sizeof buf);
        if (r < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (r == 0) break;
        out.append(buf, size_t(r));
    }
    ::close(fd);
    return true;
}

TFileId IdOf(const std::string& name)
{
    struct stat st{};
    return ::stat(name.c_str(), &st) == 0 ? TFileId::Of(st) : TFileId();
}

bool DirExists(const std::string& dir)
{
    struct stat st{};
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Maps the counter page of the lock file (best effort: without it every
// call compares the file's identity).
void EnsureCounter(TStore& s)
{
    if (s.Counter || !DirExists(s.Dir)) return;
    int fd = ::open(s.LockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    struct stat st{};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
              (st.st_size >= off_t(kCounterPage) || ::ftruncate(fd, kCounterPage) == 0);
    void* p = ok ? ::mmap(nullptr, kCounterPage, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    ::close(fd);
    if (p != MAP_FAILED) s.Counter = static_cast<std::atomic<uint64_t>*>(p);
}

void DropCounter(TStore& s)
{
    if (s.Counter) ::munmap(static_cast<void*>(s.Counter), kCounterPage);
    s.Counter = nullptr;
    s.SeenCounter = 0;
}

bool EnsureWatcher(TStore& s, bool create);

void Loaded(TStore& s, std::string&& bytes)
{
    if (!s.Loaded || bytes != s.Raw) {
        Parse(bytes, s.Doc);
        s.Raw = std::move(bytes);
        ++s.Generation;
    }
    s.Loaded = true;
}

// Brings Doc up to date with the file (a missing file is an empty store).
void Refresh(TStore& s)
{
    Locate(s);
    if (!s.Watcher && !s.Stopping) EnsureWatcher(s, false);
    EnsureCounter(s);
    uint64_t seen = s.Counter ? s.Counter->load(std::memory_order_acquire) : 0;
    if (s.Loaded && s.Counter && s.Watcher && seen == s.SeenCounter && !s.Dirty.load(std::memory_order_acquire))
        return;
    s.Dirty.store(false, std::memory_order_release);
    if (s.Loaded && IdOf(s.File) == s.RawId) {
        s.SeenCounter = seen;
        return;
    }
    std::string bytes;
    TFileId id;
    if (!ReadWhole(s.File, bytes, id)) return;   // unreadable now: keep what we have
    s.SeenCounter = seen;
    s.RawId = id;
    Loaded(s, std::move(bytes));
}

// Replaces the file the store's name leads to: a symbolic link stays and
// its target gets the new content (still by rename, so never half written).
bool WriteStoreFile(TStore& s, const std::string& content)
{
    // The store may hold passwords: only its owner reads it.
    return WriteFileAtomic(UTF8ToString(FollowLinks(s.File)), content.data(), content.size(), 0600);
}

void CheckWatches(TStore& s);

// Applies change to a fresh copy of the file under the exclusive file lock
// and writes the result. change(root) answers an error number and sets
// changed when it altered something. Only the lines of what changed are
// rewritten; when the new text would drop anything else, the previous file
// is kept beside it as HKEY_CURRENT_USER.reg.bak first.
template <class F>
LONG Modify(TStore& s, F change)
{
    Locate(s);
    if (!ForceDirectories(UTF8ToString(s.Dir))) return ERROR_ACCESS_DENIED;
    int lockFd = ::open(s.LockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) return ERROR_ACCESS_DENIED;
    while (::flock(lockFd, LOCK_EX) != 0 && errno == EINTR) {
    }
    EnsureCounter(s);
    std::string bytes;
    TFileId id;
    LONG rc;
    if (!ReadWhole(s.File, bytes, id)) {
        rc = ERROR_READ_FAULT;
    } else {
        Loaded(s, std::move(bytes));
        s.RawId = id;
        ++s.Generation;   // change may reshape the tree
        bool changed = false;
        rc = change(s.Doc.Root, changed);
        if (changed) {
            bool lossy = false;
            std::string content = Rewrite(s.Doc, s.Doc.Root, lossy);
            bool ok = true;
            if (content != s.Raw) {
                if (lossy && !s.Raw.empty())
                    ok = WriteFileAtomic(UTF8ToString(s.File + kBackupSuffix), s.Raw.data(), s.Raw.size(), 0600);
                ok = ok && WriteStoreFile(s, content);
            }
            if (ok) {
                if (content != s.Raw && s.Counter) s.SeenCounter = s.Counter->fetch_add(1) + 1;
                s.RawId = IdOf(s.File);
                Parse(content, s.Doc);   // exactly what every other process reads now
                s.Raw = std::move(content);
            } else {
                Parse(s.Raw, s.Doc);   // back to what the file holds
                rc = ERROR_WRITE_FAULT;
            }
            ++s.Generation;
        }
    }
    ::flock(lockFd, LOCK_UN);
    ::close(lockFd);
    CheckWatches(s);
    return rc;
}

// ---------------------------------------------------------------------------
// Handles

bool IsPredefined(HKEY k) { return k >= HKEY_CLASSES_ROOT && k <= HKEY_DYN_DATA; }

// Resolves a handle to its root and path; false for an unknown handle.
bool Resolve(TStore& s, HKEY key, TOpenKey& out)
{
    if (IsPredefined(key)) {
        out.Root = key;
        out.Path.clear();
        out.Access = key == HKEY_CURRENT_USER ? KEY_ALL_ACCESS : KEY_READ;
        return true;
    }
    auto it = s.Handles.find(key);
    if (it == s.Handles.end()) return false;
    out = it->second;
    return true;
}

TRegNode* Lookup(TStore& s, HKEY root, const std::vector<String>& path)
{
    if (root == HKEY_CURRENT_USER) return Descend(s.Doc.Root, path, false);
    return path.empty() ? &s.Empty : nullptr;
}

HKEY NewHandle(TStore& s, const TOpenKey& k)
{
    HKEY h = s.NextHandle++;
    s.Handles[h] = k;
    return h;
}

std::vector<String> Join(const std::vector<String>& base, const wchar_t* sub)
{
    std::vector<String> path = base;
    if (sub) {
        std::vector<String> more = SplitPath(sub);
        path.insert(path.end(), more.begin(), more.end());
    }
    return path;
}

void CheckWatches(TStore& s)
{
    for (auto it = s.Watches.begin(); it != s.Watches.end();) {
        std::string digest = "\x02gone";
        if (TRegNode* n = Lookup(s, it->Root, it->Path)) {
            digest.clear();
            DigestNode(*n, it->Filter, it->Subtree, digest);
        }
        if (digest != it->Digest) {
            it->Event->Set();
            it = s.Watches.erase(it);
        } else {
            ++it;
        }
    }
}

// The folders watched and the file name that matters in each.
struct TWatchedDir {
    int Wd;
    std::string Name;
};

void WatchLoop(int inotifyFd, int wakeFd, std::vector<TWatchedDir> dirs)
{
    alignas(struct inotify_event) char buf[8192];
    for (;;) {
        struct pollfd fds[2] = {{inotifyFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        bool relevant = false;
        for (;;) {
            ssize_t n = ::read(inotifyFd, buf, sizeof buf);
            if (n <= 0) break;
            for (char* p = buf; p < buf + n;) {
                auto* ev = reinterpret_cast<struct inotify_event*>(p);
                if (ev->mask & (IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF)) relevant = true;
                if (ev->len)
                    for (const TWatchedDir& d : dirs)
                        if (d.Wd == ev->wd && d.Name == ev->name) relevant = true;
                p += sizeof(struct inotify_event) + ev->len;
            }
        }
        if (relevant) {
            TStore& s = Store();
            s.Dirty.store(true, std::memory_order_release);
            std::lock_guard<std::mutex> g(s.Lock);
            if (!s.Watches.empty()) {
                Refresh(s);
                CheckWatches(s);
            }
        }
    }
}

// Starts the thread that notices other processes' writes (under the lock);
// with create, makes the store's folder first.
bool EnsureWatcher(TStore& s, bool create)
{
    if (s.Watcher) return true;
    Locate(s);
    if (create ? !ForceDirectories(UTF8ToString(s.Dir)) : !DirExists(s.Dir)) return false;
    int in = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (in < 0) return false;
    const uint32_t mask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_MODIFY |
                          IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
    std::vector<TWatchedDir> dirs;
    int wd = ::inotify_add_watch(in, s.Dir.c_str(), mask);
    if (wd < 0) {
        ::close(in);
        return false;
    }
    dirs.push_back({wd, kStoreFileName});
    // A store that is a link: its target's folder too.
    std::string target = FollowLinks(s.File);
    if (target != s.File) {
        size_t slash = target.rfind('/');
        std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
        std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
        int twd = ::inotify_add_watch(in, dir.c_str(), mask);
        if (twd >= 0) dirs.push_back({twd, name});
    }
    int wake = ::eventfd(0, EFD_CLOEXEC);
    if (wake < 0) {
        ::close(in);
        return false;
    }
    s.InotifyFd = in;
    s.WakeFd = wake;
    s.Dirty = true;   // whatever happened before the watch began
    s.Watcher = new std::thread(WatchLoop, in, wake, std::move(dirs));
    return true;
}

void StopWatcher(TStore& s, std::unique_lock<std::mutex>& l)
{
    if (!s.Watcher) return;
    std::thread* t = s.Watcher;
    s.Watcher = nullptr;
    uint64_t one = 1;
    ssize_t w = ::write(s.WakeFd, &one, sizeof one);
    (void)w;
    s.Stopping = true;
    l.unlock();   // the loop may be waiting for the lock
    t->join();
    delete t;
    l.lock();
    s.Stopping = false;
    ::close(s.InotifyFd);
    ::close(s.WakeFd);
    s.InotifyFd = s.WakeFd = -1;
}

bool CanWrite(const TOpenKey& k) { return k.Root == HKEY_CURRENT_USER && (k.Access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)); }

}   // namespace

// ---------------------------------------------------------------------------
// The raw calls

LONG RegOpenKeyEx(HKEY key, const wchar_t* subKey, DWORD, REGSAM desired, HKEY* result)
{
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = 0;
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TOpenKey base;
    if (!Resolve(s, key, base)) return ERROR_INVALID_HANDLE;
    TOpenKey k{base.Root, Join(base.Path, subKey), desired};
    Refresh(s);
    if (!Lookup(s, k.Root, k.Path)) return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(s, k);
    return ERROR_SUCCESS;
}

LONG RegCreateKeyEx(HKEY key, const wchar_t* subKey, DWORD, const wchar_t*, DWORD, REGSAM desired, void*,
                    HKEY* result, DWORD* disposition)
{
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = 0;
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TOpenKey base;
    if (!Resolve(s, key, base)) return ERROR_INVALID_HANDLE;
    TOpenKey k{base.Root, Join(base.Path, subKey), desired};
    // A line break in a key name would break the store's lines, and a unit
    // that is no character has no form in its header.
    for (const String& part : k.Path)
        for (Char ch : part) {
            uint32_t c = uint32_t(ch);
            if (c < 0x20 || c == 0x7F || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return ERROR_INVALID_PARAMETER;
        }
    Refresh(s);
    bool existed = Lookup(s, k.Root, k.Path) != nullptr;
    if (!existed) {
        if (base.Root != HKEY_CURRENT_USER || !(base.Access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
        if (!Lookup(s, base.Root, base.Path)) return ERROR_KEY_DELETED;
        LONG rc = Modify(s, [&](TRegNode& root, bool& changed) {
            if (!Descend(root, base.Path, false)) return ERROR_KEY_DELETED;
            existed = Descend(root, k.Path, false) != nullptr;
            changed = !existed;
            Descend(root, k.Path, true);
            return ERROR_SUCCESS;
        });
        if (rc != ERROR_SUCCESS) return rc;
    }
    if (disposition) *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *result = NewHandle(s, k);
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key)
{
    if (IsPredefined(key)) return ERROR_SUCCESS;
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    if (s.Handles.erase(key) == 0) return ERROR_INVALID_HANDLE;
    for (auto it = s.Watches.begin(); it != s.Watches.end();) {
        if (it->Handle == key) {
            it->Event->Set();
            it = s.Watches.erase(it);
        } else {
            ++it;
        }
    }
    return ERROR_SUCCESS;
}

LONG RegFlushKey(HKEY key)
{
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TOpenKey k;
    return Resolve(s, key, k) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

// The current node of an open key, with the store re-read first (the lock
// held by the caller); a handle that is not open or a key deleted since it
// was opened answers its error.
static LONG FindOpenNode(TStore& s, HKEY key, TRegNode*& node)
{
    if (IsPredefined(key)) {
        Refresh(s);
        node = Lookup(s, key, {});
        return ERROR_SUCCESS;
    }
    auto it = s.Handles.find(key);
    if (it == s.Handles.end()) return ERROR_INVALID_HANDLE;
    Refresh(s);
    TOpenKey& k = it->second;
    if (k.Gen != s.Generation) {
        k.Node = Lookup(s, k.Root, k.Path);
        k.Gen = s.Generation;
    }
    node = k.Node;
    return node ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// Hands a value's type and bytes to a caller's buffer; a buffer too small
// gets the size needed and ERROR_MORE_DATA.
static LONG CopyValueOut(const TRegValue& v, DWORD* type, Byte* data, DWORD* dataSize)
{
    if (type) *type = v.Type;
    DWORD size = DWORD(v.Data.size());
    if (data) {
        if (!dataSize) return ERROR_INVALID_PARAMETER;
        if (*dataSize < size) {
            *dataSize = size;
            return ERROR_MORE_DATA;
        }
        if (size) std::memcpy(data, v.Data.data(), size);
    }
    if (dataSize) *dataSize = size;
    return ERROR_SUCCESS;
}

LONG RegQueryValueEx(HKEY key, const wchar_t* valueName, DWORD*, DWORD* type, Byte* data, DWORD* dataSize)
{
    if (data && !dataSize) return ERROR_INVALID_PARAMETER;
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TRegNode* n = nullptr;
    if (LONG rc = FindOpenNode(s, key, n); rc != ERROR_SUCCESS) return rc;
    auto it = n->Values.find(TUnfolded{valueName ? valueName : L""});
    if (it == n->Values.end()) return ERROR_FILE_NOT_FOUND;
    const TRegValue& v = it->second;
    return CopyValueOut(v, type, data, dataSize);
}

LONG RegGetValue(HKEY key, const wchar_t* subKey, const wchar_t* valueName, DWORD flags, DWORD* type, void* data,
                 DWORD* dataSize)
{
    if ((data && !dataSize) || flags != RRF_RT_ANY) return ERROR_INVALID_PARAMETER;
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TRegNode* n = nullptr;
    if (LONG rc = FindOpenNode(s, key, n); rc != ERROR_SUCCESS) return rc;
    // The path's parts looked up where they stand: no copies.
    std::wstring_view path = subKey ? subKey : L"";
    size_t i = 0;
    while (i < path.size()) {
        size_t j = path.find(L'\\', i);
        if (j == std::wstring_view::npos) j = path.size();
        if (j > i) {
            auto it = n->Keys.find(TUnfolded{path.substr(i, j - i)});
            if (it == n->Keys.end()) return ERROR_FILE_NOT_FOUND;
            n = it->second.get();
        }
        i = j + 1;
    }
    auto it = n->Values.find(TUnfolded{valueName ? valueName : L""});
    if (it == n->Values.end()) return ERROR_FILE_NOT_FOUND;
    return CopyValueOut(it->second, type, static_cast<Byte*>(data), dataSize);
}

LONG RegSetValueEx(HKEY key, const wchar_t* valueName, DWORD, DWORD type, const Byte* data, DWORD dataSize)
{
    if (!data && dataSize) return ERROR_INVALID_PARAMETER;
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TOpenKey k;
    if (!Resolve(s, key, k)) return ERROR_INVALID_HANDLE;
    if (!CanWrite(k)) return ERROR_ACCESS_DENIED;
    TRegValue v;
    v.Name = valueName ? valueName : L"";
    v.Type = type;
    if (dataSize) v.Data.assign(data, data + dataSize);
    if (IsString(type)) v.Data = NormaliseString(type, v.Data);
    String f = Fold(v.Name);
    Refresh(s);
    TRegNode* n = Lookup(s, k.Root, k.Path);
    if (!n) return ERROR_KEY_DELETED;
    auto old = n->Values.find(f);
    if (old != n->Values.end() && old->second.Type == v.Type && old->second.Data == v.Data) return ERROR_SUCCESS;
    return Modify(s, [&](TRegNode& root, bool& changed) {
        TRegNode* node = Descend(root, k.Path, false);
        if (!node) return ERROR_KEY_DELETED;
        auto it = node->Values.find(f);
        if (it != node->Values.end()) v.Name = it->second.Name;   // keep the stored spelling
        if (it == node->Values.end() || it->second.Type != v.Type || it->second.Data != v.Data) {
            node->Values[f] = v;
            changed = true;
        }
        return ERROR_SUCCESS;
    });
}

LONG RegDeleteValue(HKEY key, const wchar_t* valueName)
{
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TOpenKey k;
    if (!Resolve(s, key, k)) return ERROR_INVALID_HANDLE;
    String f = Fold(valueName ? valueName : L"");
    Refresh(s);
    TRegNode* n = Lookup(s, k.Root, k.Path);
    if (!n) return ERROR_KEY_DELETED;
    if (!n->Values.count(f)) return ERROR_FILE_NOT_FOUND;
    if (!CanWrite(k)) return ERROR_ACCESS_DENIED;
    return Modify(s, [&](TRegNode& root, bool& changed) {
        TRegNode* node = Descend(root, k.Path, false);
        if (!node) return ERROR_KEY_DELETED;
        changed = node->Values.erase(f) > 0;
        return changed ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG RegDeleteKey(HKEY key, const wchar_t* subKey)
{
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TOpenKey base;
    if (!Resolve(s, key, base)) return ERROR_INVALID_HANDLE;
    std::vector<String> path = Join(base.Path, subKey);
    if (path.size() <= base.Path.size() && path.empty()) return ERROR_ACCESS_DENIED;   // a root
    Refresh(s);
    TRegNode* n = Lookup(s, base.Root, path);
    if (!n) return ERROR_FILE_NOT_FOUND;
    if (base.Root != HKEY_CURRENT_USER) return ERROR_ACCESS_DENIED;
    if (!n->Keys.empty()) return ERROR_ACCESS_DENIED;
    std::vector<String> parentPath(path.begin(), path.end() - 1);
    String last = Fold(path.back());
    return Modify(s, [&](TRegNode& root, bool& changed) {
        TRegNode* parent = Descend(root, parentPath, false);
        if (!parent) return ERROR_FILE_NOT_FOUND;
        auto it = parent->Keys.find(last);
        if (it == parent->Keys.end()) return ERROR_FILE_NOT_FOUND;
        if (!it->second->Keys.empty()) return ERROR_ACCESS_DENIED;
        parent->Keys.erase(it);
        changed = true;
        return ERROR_SUCCESS;
    });
}

namespace {

LONG CopyName(const String& src, wchar_t* name, DWORD* nameLen)
{
    if (!name || !nameLen) return ERROR_INVALID_PARAMETER;
    if (*nameLen < src.size() + 1) {
        *nameLen = DWORD(src.size() + 1);
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, src.c_str(), (src.size() + 1) * sizeof(wchar_t));
    *nameLen = DWORD(src.size());
    return ERROR_SUCCESS;
}

}   // namespace

LONG RegEnumKeyEx(HKEY key, DWORD index, wchar_t* name, DWORD* nameLen, DWORD*, wchar_t* keyClass,
                  DWORD* classLen, void*)
{
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TRegNode* n = nullptr;
    if (LONG rc = FindOpenNode(s, key, n); rc != ERROR_SUCCESS) return rc;
    if (index >= n->Keys.size()) return ERROR_NO_MORE_ITEMS;
    auto it = n->Keys.begin();
    std::advance(it, index);
    if (keyClass && classLen && *classLen) keyClass[0] = L'\0';
    if (classLen) *classLen = 0;
    return CopyName(it->second->Name, name, nameLen);
}

LONG RegEnumValue(HKEY key, DWORD index, wchar_t* name, DWORD* nameLen, DWORD*, DWORD* type, Byte* data,
                  DWORD* dataSize)
{
    if (data && !dataSize) return ERROR_INVALID_PARAMETER;
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    TRegNode* n = nullptr;
    if (LONG rc = FindOpenNode(s, key, n); rc != ERROR_SUCCESS) return rc;
    if (index >= n->Values.size()) return ERROR_NO_MORE_ITEMS;
    auto it = n->Values.begin();
    std::advance(it, index);
    const TRegValue& v = it->second;
    LONG rc = CopyName(v.Name, name, nameLen);
    if (rc != ERROR_SUCCESS) return rc;
    return CopyValueOut(v, type, data, dataSize);
}

LONG RegNotifyChangeKeyValue(HKEY key, BOOL watchSubtree, DWORD filter, HANDLE event, BOOL asynchronous)
{
    std::shared_ptr<TEventState> state;
    if (asynchronous) {
        state = EventStateOf(event);
        if (!state) return ERROR_INVALID_PARAMETER;
    } else {
        state = std::make_shared<TEventState>(true, false);
    }
    {
        TStore& s = Store();
        std::lock_guard<std::mutex> g(s.Lock);
        TOpenKey k;
        if (!Resolve(s, key, k)) return ERROR_INVALID_HANDLE;
        Refresh(s);
        TRegNode* n = Lookup(s, k.Root, k.Path);
        if (!n) return ERROR_KEY_DELETED;
        if (k.Root == HKEY_CURRENT_USER && !EnsureWatcher(s, true)) return ERROR_ACCESS_DENIED;
        TWatch w;
        w.Handle = key;
        w.Root = k.Root;
        w.Path = k.Path;
        w.Subtree = watchSubtree != 0;
        w.Filter = filter;
        w.Event = state;
        DigestNode(*n, filter, w.Subtree, w.Digest);
        s.Watches.push_back(std::move(w));
    }
    if (!asynchronous) state->Wait(INFINITE);
    return ERROR_SUCCESS;
}

String RegistryStorePath()
{
    TStore& s = Store();
    std::lock_guard<std::mutex> g(s.Lock);
    Locate(s);
    return UTF8ToString(s.File);
}

void RegistryStoreReset()
{
    TStore& s = Store();
    std::unique_lock<std::mutex> l(s.Lock);
    StopWatcher(s, l);
    for (TWatch& w : s.Watches) w.Event->Set();
    s.Watches.clear();
    s.Handles.clear();
    DropCounter(s);
    s.Located = false;
    s.Loaded = false;
    s.Raw.clear();
    s.RawId = TFileId();
    s.Doc = TStoreDoc();
    s.Dirty = true;
    ++s.Generation;
}

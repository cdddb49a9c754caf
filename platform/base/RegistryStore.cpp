// The file store behind HKEY_CURRENT_USER, the raw registry calls and the
// change notification.
//
// File format (UTF-8, one item a line):
//   ; comment
//   [HKEY_CURRENT_USER\SOFTWARE\Vendor\Program]
//   "name"="text"              REG_SZ; \\ \" \n \r \t and \uXXXX escapes
//   @="text"                   the default value
//   "e"=expand:"text"          REG_EXPAND_SZ
//   "m"=multi:"a","b"          REG_MULTI_SZ
//   "d"=dword:0000002a         REG_DWORD
//   "q"=qword:000000000000002a REG_QWORD
//   "b"=hex:01,02,ff           REG_BINARY
//   "x"=hex(5):01,02           any other type, raw bytes
#include "platform/base/Registry.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"
#include "platform/base/Threads.h"

namespace {

const char* const kStoreFileName = "HKEY_CURRENT_USER.reg";
const char* const kLockFileName = "HKEY_CURRENT_USER.reg.lock";

struct TRegValue {
    String Name;
    DWORD Type = REG_NONE;
    std::vector<Byte> Data;
};

struct TRegNode {
    String Name;
    std::map<String, TRegValue> Values;                    // by folded name
    std::map<String, std::unique_ptr<TRegNode>> Keys;      // by folded name
};

String Fold(const String& s) { return AnsiUpperCase(s); }

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

// String data as stored: REG_SZ/REG_EXPAND_SZ end at the first NUL and get
// one; REG_MULTI_SZ keeps its NUL-separated items and ends with two NULs.
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

// ---------------------------------------------------------------------------
// Text form

void PutQuoted(String& out, const String& s)
{
    out += L'"';
    for (Char c : s) {
        switch (c) {
        case L'\\': out += L"\\\\"; break;
        case L'"': out += L"\\\""; break;
        case L'\n': out += L"\\n"; break;
        case L'\r': out += L"\\r"; break;
        case L'\t': out += L"\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                wchar_t buf[8];
                swprintf(buf, 8, L"\\u%04x", unsigned(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += L'"';
}

void PutHex(String& out, const std::vector<Byte>& data)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    for (size_t i = 0; i < data.size(); ++i) {
        if (i) out += L',';
        out += digits[data[i] >> 4];
        out += digits[data[i] & 15];
    }
}

void PutNumber(String& out, uint64_t v, int digitsCount)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    for (int i = digitsCount - 1; i >= 0; --i) out += digits[(v >> (4 * i)) & 15];
}

void PutValue(String& out, const TRegValue& v)
{
    if (v.Name.empty()) out += L'@';
    else PutQuoted(out, v.Name);
    out += L'=';
    if (v.Type == REG_SZ || v.Type == REG_EXPAND_SZ) {
        if (v.Type == REG_EXPAND_SZ) out += L"expand:";
        String s = UnitsOf(v.Data);
        size_t nul = s.find(L'\0');
        PutQuoted(out, nul == String::npos ? s : s.substr(0, nul));
    } else if (v.Type == REG_MULTI_SZ) {
        out += L"multi:";
        String s = UnitsOf(v.Data);
        while (!s.empty() && s.back() == L'\0') s.pop_back();
        if (!s.empty()) {
            size_t i = 0;
            bool first = true;
            while (i <= s.size()) {
                size_t j = s.find(L'\0', i);
                if (j == String::npos) j = s.size();
                if (!first) out += L',';
                PutQuoted(out, s.substr(i, j - i));
                first = false;
                i = j + 1;
            }
        }
    } else if (v.Type == REG_DWORD && v.Data.size() == 4) {
        uint32_t d;
        std::memcpy(&d, v.Data.data(), 4);
        out += L"dword:";
        PutNumber(out, d, 8);
    } else if (v.Type == REG_QWORD && v.Data.size() == 8) {
        uint64_t q;
        std::memcpy(&q, v.Data.data(), 8);
        out += L"qword:";
        PutNumber(out, q, 16);
    } else if (v.Type == REG_BINARY) {
        out += L"hex:";
        PutHex(out, v.Data);
    } else {
        out += L"hex(";
        PutNumber(out, v.Type, 1);
        out += L"):";
        PutHex(out, v.Data);
    }
    out += L'\n';
}

void PutNode(String& out, const TRegNode& node, const String& path)
{
    if (!node.Values.empty() || node.Keys.empty()) {
        if (!(path == L"HKEY_CURRENT_USER" && node.Values.empty())) {
            out += L'[' + path + L"]\n";
            for (const auto& [name, v] : node.Values) PutValue(out, v);
        }
    }
    for (const auto& [name, child] : node.Keys) PutNode(out, *child, path + L'\\' + child->Name);
}

std::string Serialise(const TRegNode& root)
{
    String out = L"; Velmora registry store: the current user's settings.\n";
    PutNode(out, root, L"HKEY_CURRENT_USER");
    return UTF8Encode(out);
}

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
            case L'u': {
                uint64_t v;
                if (!HexDigits(v, 4, 4)) return false;
                out += Char(v);
                break;
            }
            default: return false;
            }
        }
        return false;
    }
    // minDigits..maxDigits hexadecimal digits.
    bool HexDigits(uint64_t& v, size_t minDigits, size_t maxDigits)
    {
        v = 0;
        size_t n = 0;
        while (FPos < FS.size() && n < maxDigits) {
            Char c = FS[FPos];
            int d = (c >= L'0' && c <= L'9') ? c - L'0'
                  : (c >= L'a' && c <= L'f') ? c - L'a' + 10
                  : (c >= L'A' && c <= L'F') ? c - L'A' + 10 : -1;
            if (d < 0) break;
            v = v * 16 + uint64_t(d);
            ++FPos;
            ++n;
        }
        if (FPos < FS.size() && n == maxDigits && std::iswxdigit(FS[FPos])) return false;
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

TRegNode* Descend(TRegNode& root, const std::vector<String>& path, bool create)
{
    TRegNode* n = &root;
    for (const String& part : path) {
        String f = Fold(part);
        auto it = n->Keys.find(f);
        if (it == n->Keys.end()) {
            if (!create) return nullptr;
            auto child = std::make_unique<TRegNode>();
            child->Name = part;
            it = n->Keys.emplace(f, std::move(child)).first;
        }
        n = it->second.get();
    }
    return n;
}

void Parse(const std::string& bytes, TRegNode& root)
{
    root = TRegNode();
    String text = UTF8ToString(bytes);
    TRegNode* current = nullptr;
    size_t i = 0;
    while (i < text.size()) {
        size_t j = text.find(L'\n', i);
        if (j == String::npos) j = text.size();
        String line = Trim(text.substr(i, j - i));
        i = j + 1;
        if (!line.empty() && line[0] == L'\xFEFF') line = Trim(line.substr(1));
        if (line.empty() || line[0] == L';' || line[0] == L'#') continue;
        if (line[0] == L'[') {
            current = nullptr;
            if (line.back() != L']') continue;
            std::vector<String> path = SplitPath(line.substr(1, line.size() - 2));
            if (!path.empty() && (Fold(path[0]) == L"HKEY_CURRENT_USER" || Fold(path[0]) == L"HKCU"))
                path.erase(path.begin());
            current = Descend(root, path, true);
            continue;
        }
        TRegValue v;
        if (current && ParseValue(line, v)) current->Values[Fold(v.Name)] = std::move(v);
    }
}

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

// Never destroyed: the watcher thread may still run while the process exits.
struct TStore {
    std::mutex Lock;
    bool Located = false;
    std::string Dir, File, LockFile;
    bool Loaded = false;
    std::string Raw;   // the file's bytes behind Root
    TRegNode Root;     // HKEY_CURRENT_USER
    TRegNode Empty;    // every other root
    std::map<HKEY, TOpenKey> Handles;
    HKEY NextHandle = 0x1000;
    std::vector<TWatch> Watches;
    std::thread* Watcher = nullptr;
    int InotifyFd = -1;
    int WakeFd = -1;
};

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

bool ReadWhole(const std::string& name, std::string& out)
{
    out.clear();
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT;
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

// Brings Root up to date with the file (a missing file is an empty store).
void Refresh(TStore& s)
{
    Locate(s);
    std::string bytes;
    if (!ReadWhole(s.File, bytes)) return;   // unreadable now: keep what we have
    if (s.Loaded && bytes == s.Raw) return;
    Parse(bytes, s.Root);
    s.Raw = std::move(bytes);
    s.Loaded = true;
}

bool WriteStoreFile(TStore& s, const std::string& content)
{
    // The store may hold passwords: only its owner reads it.
    return WriteFileAtomic(UTF8ToString(s.File), content.data(), content.size(), 0600);
}

void CheckWatches(TStore& s);

// Applies change to a fresh copy of the file under the exclusive file lock
// and writes the result. change(root) answers an error number and sets
// changed when it altered something.
template <class F>
LONG Modify(TStore& s, F change)
{
    Locate(s);
    if (!ForceDirectories(UTF8ToString(s.Dir))) return ERROR_ACCESS_DENIED;
    int lockFd = ::open(s.LockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) return ERROR_ACCESS_DENIED;
    while (::flock(lockFd, LOCK_EX) != 0 && errno == EINTR) {
    }
    std::string bytes;
    LONG rc;
    if (!ReadWhole(s.File, bytes)) {
        rc = ERROR_READ_FAULT;
    } else {
        if (!s.Loaded || bytes != s.Raw) {
            Parse(bytes, s.Root);
            s.Raw = std::move(bytes);
            s.Loaded = true;
        }
        bool changed = false;
        rc = change(s.Root, changed);
        if (changed) {
            std::string content = Serialise(s.Root);
            if (WriteStoreFile(s, content)) {
                s.Raw = std::move(content);
            } else {
                Parse(s.Raw, s.Root);   // back to what the file holds
                rc = ERROR_WRITE_FAULT;
            }
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
    if (root == HKEY_CURRENT_USER) return Descend(s.Root, path, false);
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

void WatchLoop(int inotifyFd, int wakeFd)
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
                if ((ev->mask & IN_Q_OVERFLOW) || (ev->len && std::strcmp(ev->name, kStoreFileName) == 0))
                    relevant = true;
                p += sizeof(struct inotify_event) + ev->len;
            }
        }
        if (relevant) {
            TStore& s = Store();
            std::lock_guard<std::mutex> g(s.Lock);
            Refresh(s);
            CheckWatches(s);
        }
    }
}

// Starts the thread that notices other processes' writes (under the lock).
bool EnsureWatcher(TStore& s)
{
    if (s.Watcher) return true;
    Locate(s);
    if (!ForceDirectories(UTF8ToString(s.Dir))) return false;
    int in = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (in < 0) return false;
    if (::inotify_add_watch(in, s.Dir.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE |
                                                   IN_DELETE) < 0) {
        ::close(in);
        return false;
    }
    int wake = ::eventfd(0, EFD_CLOEXEC);
    if (wake < 0) {
        ::close(in);
        return false;
    }
    s.InotifyFd = in;
    s.WakeFd = wake;
    s.Watcher = new std::thread(WatchLoop, in, wake);
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
    l.unlock();   // the loop may be waiting for the lock
    t->join();
    delete t;
    l.lock();
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
    // A line break in a key name would break the store's lines.
    for (const String& part : k.Path)
        for (Char c : part)
            if (c < 0x20 || c == 0x7F) return ERROR_INVALID_PARAMETER;
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
    TOpenKey k;
    if (!Resolve(s, key, k)) return ERROR_INVALID_HANDLE;
    Refresh(s);
    node = Lookup(s, k.Root, k.Path);
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
    auto it = n->Values.find(Fold(valueName ? valueName : L""));
    if (it == n->Values.end()) return ERROR_FILE_NOT_FOUND;
    const TRegValue& v = it->second;
    return CopyValueOut(v, type, data, dataSize);
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
        if (k.Root == HKEY_CURRENT_USER && !EnsureWatcher(s)) return ERROR_ACCESS_DENIED;
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
    s.Located = false;
    s.Loaded = false;
    s.Raw.clear();
    s.Root = TRegNode();
}

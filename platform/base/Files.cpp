#include "platform/base/Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/SysUtils.h"


#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

std::string Native(const String& s) { return UTF8Encode(s); }

bool StatOf(const String& name, struct stat& st) { return ::stat(Native(name).c_str(), &st) == 0; }

// Days between 1899-12-30 and the civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468 + 25569;   // 1970-01-01 is day 25569
}

TDateTime LocalDateTime(time_t t)
{
    struct tm tmv{};
    localtime_r(&t, &tmv);
    int64_t days = DaysFromCivil(tmv.tm_year + 1900, unsigned(tmv.tm_mon + 1), unsigned(tmv.tm_mday));
    double secs = tmv.tm_hour * 3600.0 + tmv.tm_min * 60.0 + tmv.tm_sec;
    return double(days) + secs / 86400.0;
}

Integer AttrOf(const std::string& name, const struct stat& st, bool isLink)
{
    Integer a = 0;
    if (S_ISDIR(st.st_mode)) a |= faDirectory;
    else if (S_ISREG(st.st_mode)) a |= faArchive;
    else a |= faSysFile;
    if (!(st.st_mode & S_IWUSR)) a |= faReadOnly;
    if (name.size() > 1 && name[0] == '.' && name != "..") a |= faHidden;
    if (isLink) a |= faSymLink;
    return a;
}

bool WildMatch(const String& name, const String& mask)
{
    // Iterative matching with one backtrack point for the last '*'.
    size_t n = 0, m = 0, starM = String::npos, starN = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == L'?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == L'*') {
            starM = m++;
            starN = n;
        } else if (starM != String::npos) {
            m = starM + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == L'*') ++m;
    return m == mask.size();
}

// Creates a temporary file next to target; returns its fd and name.
int MakeTempBeside(const std::string& target, std::string& tmpName)
{
    std::string dir = target;
    size_t slash = dir.rfind('/');
    dir = slash == std::string::npos ? std::string(".") : dir.substr(0, slash == 0 ? 1 : slash);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string tmpl = dir + (dir == "/" ? "" : "/") + "." + base + ".tmpXXXXXX";
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    int fd = ::mkostemp(buf.data(), O_CLOEXEC);
    if (fd >= 0) tmpName = buf.data();
    return fd;
}

bool WriteAll(int fd, const char* p, size_t n)
{
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += w;
        n -= size_t(w);
    }
    return true;
}

bool CopyContents(const std::string& src, const std::string& dst, bool failIfExists);

// rename() that fails with EEXIST rather than replace the target.
bool RenameNoReplace(const std::string& from, const std::string& to)
{
#ifdef SYS_renameat2
    if (::syscall(SYS_renameat2, AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    int err = errno;
    if (err != EINVAL && err != ENOSYS && err != EXDEV) return false;
#else
    int err = ENOSYS;
#endif
    struct stat st{};
    if (::lstat(from.c_str(), &st) != 0) return false;
    if (err == EXDEV && S_ISREG(st.st_mode)) {
        // Another file system: copy without replacing, then drop the source.
        if (!CopyContents(from, to, true)) return false;
        return ::unlink(from.c_str()) == 0;
    }
    if (S_ISDIR(st.st_mode)) {
        // Folders cannot be hard-linked: check, then rename (best effort).
        struct stat tt{};
        if (::lstat(to.c_str(), &tt) == 0) {
            errno = EEXIST;
            return false;
        }
        return ::rename(from.c_str(), to.c_str()) == 0;
    }
    if (::link(from.c_str(), to.c_str()) != 0) return false;
    ::unlink(from.c_str());
    return true;
}

bool CopyContents(const std::string& src, const std::string& dst, bool failIfExists)
{
    int in = ::open(src.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return false;
    struct stat st{};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(in);
        return false;
    }
    std::string tmp;
    int out = MakeTempBeside(dst, tmp);
    if (out < 0) {
        ::close(in);
        return false;
    }
    bool ok = true;
    std::vector<char> buf(1 << 16);
    for (;;) {
        ssize_t r = ::read(in, buf.data(), buf.size());
        if (r < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (r == 0) break;
        if (!WriteAll(out, buf.data(), size_t(r))) {
            ok = false;
            break;
        }
    }
    ::close(in);
    if (ok) ok = ::fchmod(out, st.st_mode & 07777) == 0;
    if (ok) ok = ::fsync(out) == 0;
    if (::close(out) != 0) ok = false;
    if (ok) {
        if (failIfExists) {
            ok = ::link(tmp.c_str(), dst.c_str()) == 0;
        } else {
            ok = ::rename(tmp.c_str(), dst.c_str()) == 0;
            if (ok) return true;
        }
    }
    int saved = errno;
    ::unlink(tmp.c_str());
    errno = saved;
    return ok;
}

}   // namespace

bool FileExists(const String& fileName)
{
    struct stat st{};
    return !fileName.empty() && StatOf(fileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const String& dir)
{
    struct stat st{};
    return !dir.empty() && StatOf(dir, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const String& dir)
{
    return !dir.empty() && ::mkdir(Native(dir).c_str(), 0777) == 0;
}

bool ForceDirectories(const String& dir)
{
    String d = ExcludeTrailingPathDelimiter(dir);
    if (d.empty()) return dir == L"/";
    if (DirectoryExists(d)) return true;
    String parent = ExtractFileDir(d);
    if (!parent.empty() && parent != d && !ForceDirectories(parent)) return false;
    return CreateDir(d) || DirectoryExists(d);
}

bool RemoveDir(const String& dir) { return !dir.empty() && ::rmdir(Native(dir).c_str()) == 0; }

bool DeleteFile(const String& fileName)
{
    struct stat st{};
    std::string n = Native(fileName);
    if (fileName.empty() || ::lstat(n.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
    return ::unlink(n.c_str()) == 0;
}

bool RenameFile(const String& oldName, const String& newName)
{
    if (oldName.empty() || newName.empty()) return false;
    return RenameNoReplace(Native(oldName), Native(newName));
}

BOOL MoveFile(const String& existingName, const String& newName)
{
    return RenameFile(existingName, newName) ? 1 : 0;
}

BOOL CopyFile(const String& existingName, const String& newName, BOOL failIfExists)
{
    if (existingName.empty() || newName.empty()) return 0;
    return CopyContents(Native(existingName), Native(newName), failIfExists != 0) ? 1 : 0;
}

bool WriteFileAtomic(const String& fileName, const void* data, size_t size, unsigned mode)
{
    if (fileName.empty()) return false;
    std::string target = Native(fileName);
    struct stat st{};
    bool existed = ::stat(target.c_str(), &st) == 0;
    if (existed && S_ISDIR(st.st_mode)) return false;
    size_t slash = target.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    static std::atomic<unsigned> counter{0};
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        tmp = dir + "." + base + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 07777);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, static_cast<const char*>(data), size);
    if (ok && existed) ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        int saved = errno;
        ::unlink(tmp.c_str());
        errno = saved;
    }
    return ok;
}

bool FileAge(const String& fileName, TDateTime& fileDateTime)
{
    struct stat st{};
    if (!StatOf(fileName, st) || S_ISDIR(st.st_mode)) return false;
    fileDateTime = LocalDateTime(st.st_mtime);
    return true;
}

Int64 FileGetSize(const String& fileName)
{
    struct stat st{};
    if (!StatOf(fileName, st) || S_ISDIR(st.st_mode)) return -1;
    return Int64(st.st_size);
}

String ExtractFilePath(const String& fileName)
{
    size_t p = fileName.rfind(PathDelim);
    return p == String::npos ? String() : fileName.substr(0, p + 1);
}

String ExtractFileDir(const String& fileName)
{
    size_t p = fileName.rfind(PathDelim);
    if (p == String::npos) return String();
    if (p > 0 && fileName[p - 1] != PathDelim) return fileName.substr(0, p);
    return fileName.substr(0, p + 1);
}

String ExtractFileName(const String& fileName)
{
    size_t p = fileName.rfind(PathDelim);
    return p == String::npos ? fileName : fileName.substr(p + 1);
}

String ExtractFileExt(const String& fileName)
{
    size_t p = fileName.find_last_of(L"./");
    if (p == String::npos || fileName[p] != L'.') return String();
    return fileName.substr(p);
}

String ChangeFileExt(const String& fileName, const String& ext)
{
    size_t p = fileName.find_last_of(L"./");
    if (p == String::npos || fileName[p] != L'.') return fileName + ext;
    return fileName.substr(0, p) + ext;
}

String IncludeTrailingPathDelimiter(const String& s)
{
    if (!s.empty() && s.back() == PathDelim) return s;
    return s + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& s)
{
    if (!s.empty() && s.back() == PathDelim) return s.substr(0, s.size() - 1);
    return s;
}

String ExpandFileName(const String& fileName)
{
    if (fileName.empty()) return String();
    String full = fileName[0] == PathDelim ? fileName : IncludeTrailingPathDelimiter(GetCurrentDir()) + fileName;
    std::vector<String> parts;
    size_t i = 0;
    while (i <= full.size()) {
        size_t j = full.find(PathDelim, i);
        if (j == String::npos) j = full.size();
        String part = full.substr(i, j - i);
        if (part == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    String out;
    for (const String& p : parts) out += PathDelim + p;
    if (out.empty()) return L"/";
    if (full.back() == PathDelim) out += PathDelim;
    return out;
}

bool MatchesMask(const String& fileName, const String& mask)
{
    return WildMatch(AnsiUpperCase(fileName), AnsiUpperCase(mask));
}

struct TFindState {
    struct Entry {
        String Name;
        Int64 Size;
        Integer Attr;
        TDateTime Time;
    };
    std::vector<Entry> Entries;
    size_t Next = 0;
};

namespace {

void FillRec(TSearchRec& rec)
{
    const TFindState::Entry& e = rec.FindHandle->Entries[rec.FindHandle->Next++];
    rec.Name = e.Name;
    rec.Size = e.Size;
    rec.Attr = e.Attr;
    rec.Time = e.Time;
}

}   // namespace

Integer FindFirst(const String& path, Integer attr, TSearchRec& rec)
{
    rec.FindHandle.reset();
    String dir = ExtractFilePath(path);
    String mask = ExtractFileName(path);
    if (mask.empty()) return ERROR_FILE_NOT_FOUND;
    std::string ndir = Native(dir.empty() ? String(L".") : dir);
    DIR* d = ::opendir(ndir.c_str());
    if (!d) return ERROR_PATH_NOT_FOUND;

    rec.ExcludeAttr = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    String umask = AnsiUpperCase(mask);
    String umaskBare;   // "name.*" also matches "name"
    if (umask.size() >= 2 && umask.compare(umask.size() - 2, 2, L".*") == 0)
        umaskBare = umask.substr(0, umask.size() - 2);

    auto state = std::make_shared<TFindState>();
    std::string base = ndir == "/" ? "/" : ndir + (ndir.back() == '/' ? "" : "/");
    while (struct dirent* de = ::readdir(d)) {
        std::string nname = de->d_name;
        String name = UTF8ToString(nname);
        String uname = AnsiUpperCase(name);
        if (!WildMatch(uname, umask) && !(!umaskBare.empty() && WildMatch(uname, umaskBare) &&
                                           uname.find(L'.') == String::npos))
            continue;
        struct stat st{};
        std::string full = base + nname;
        bool isLink = false;
        struct stat lst{};
        if (::lstat(full.c_str(), &lst) != 0) continue;
        isLink = S_ISLNK(lst.st_mode);
        if (!isLink || ::stat(full.c_str(), &st) != 0) st = lst;
        Integer a = AttrOf(nname, st, isLink);
        if (a & rec.ExcludeAttr) continue;
        state->Entries.push_back({name, S_ISREG(st.st_mode) ? Int64(st.st_size) : 0, a,
                                  LocalDateTime(st.st_mtime)});
    }
    ::closedir(d);
    if (state->Entries.empty()) return ERROR_FILE_NOT_FOUND;
    std::sort(state->Entries.begin(), state->Entries.end(),
              [](const TFindState::Entry& a, const TFindState::Entry& b) { return a.Name < b.Name; });
    rec.FindHandle = state;
    FillRec(rec);
    return 0;
}

Integer FindNext(TSearchRec& rec)
{
    if (!rec.FindHandle || rec.FindHandle->Next >= rec.FindHandle->Entries.size())
        return ERROR_NO_MORE_FILES;
    FillRec(rec);
    return 0;
}

void FindClose(TSearchRec& rec) { rec.FindHandle.reset(); }

String GetCurrentDir()
{
    std::vector<char> buf(4096);
    for (;;) {
        if (::getcwd(buf.data(), buf.size())) return UTF8ToString(buf.data());
        if (errno != ERANGE || buf.size() > (1u << 20)) return String();
        buf.resize(buf.size() * 2);
    }
}

bool SetCurrentDir(const String& dir) { return !dir.empty() && ::chdir(Native(dir).c_str()) == 0; }

String GetTempDir()
{
    const char* t = std::getenv("TMPDIR");
    String s = (t && *t) ? UTF8ToString(t) : String(L"/tmp");
    String r = ExcludeTrailingPathDelimiter(s);
    return r.empty() ? String(L"/") : r;
}

String GetTempPath() { return IncludeTrailingPathDelimiter(GetTempDir()); }

String GetHomePath()
{
    const char* h = std::getenv("HOME");
    if (h && *h) return ExcludeTrailingPathDelimiter(UTF8ToString(h));
    struct passwd pw{};
    struct passwd* res = nullptr;
    std::vector<char> buf(16384);
    if (::getpwuid_r(::getuid(), &pw, buf.data(), buf.size(), &res) == 0 && res && res->pw_dir)
        return ExcludeTrailingPathDelimiter(UTF8ToString(res->pw_dir));
    return L"/";
}

String GetDocumentsPath()
{
    String home = GetHomePath();
    const char* x = std::getenv("XDG_CONFIG_HOME");
    std::string conf = (x && *x == '/') ? std::string(x) : Native(home) + "/.config";
    std::ifstream in(conf + "/user-dirs.dirs");
    std::string line;
    while (in && std::getline(in, line)) {
        size_t p = line.find_first_not_of(" \t");
        if (p == std::string::npos || line[p] == '#') continue;
        const std::string key = "XDG_DOCUMENTS_DIR=";
        if (line.compare(p, key.size(), key) != 0) continue;
        std::string v = line.substr(p + key.size());
        while (!v.empty() && (v.back() == '\r' || v.back() == ' ' || v.back() == '\t')) v.pop_back();
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        String value;
        if (v.compare(0, 5, "$HOME") == 0) value = home + UTF8ToString(v.substr(5));
        else if (!v.empty() && v[0] == '/') value = UTF8ToString(v);
        else continue;
        value = ExcludeTrailingPathDelimiter(value);
        return value.empty() ? String(L"/") : value;
    }
    return home == L"/" ? String(L"/Documents") : home + L"/Documents";
}

String ExecutablePath()
{
    std::vector<char> buf(4096);
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return String();
    return UTF8ToString(std::string(buf.data(), size_t(n)));
}

namespace {

std::vector<std::string> CommandLine()
{
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string all = ss.str();
    std::vector<std::string> args;
    size_t i = 0;
    while (i < all.size()) {
        size_t j = all.find('\0', i);
        if (j == std::string::npos) j = all.size();
        args.push_back(all.substr(i, j - i));
        i = j + 1;
    }
    return args;
}

}   // namespace

Integer ParamCount()
{
    size_t n = CommandLine().size();
    return n == 0 ? 0 : Integer(n - 1);
}

String ParamStr(Integer index)
{
    if (index == 0) return ExecutablePath();
    std::vector<std::string> args = CommandLine();
    if (index < 0 || size_t(index) >= args.size()) return String();
    return UTF8ToString(args[size_t(index)]);
}

String GetComputerName()
{
    char buf[256] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0) return String();
    return UTF8ToString(buf);
}

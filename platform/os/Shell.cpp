#include "platform/os/Shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <mutex>

#include "platform/base/Files.h"
#include "platform/gfx/ImageList.h"
#include "platform/os/Process.h"

namespace {

std::mutex gCommandLock;
std::vector<String> gOpenCommand;
std::vector<String> gShowItemsCommand;

String Lower(String s)
{
    for (Char& c : s)
        if (c >= L'A' && c <= L'Z') c = Char(c - L'A' + L'a');
    return s;
}

String TrimBlanks(const String& s)
{
    size_t b = s.find_first_not_of(L" \t");
    if (b == String::npos) return String();
    size_t e = s.find_last_not_of(L" \t");
    return s.substr(b, e - b + 1);
}

String Unquote(String s)
{
    s = TrimBlanks(s);
    if (s.size() >= 2 && s.front() == L'"' && s.back() == L'"') s = s.substr(1, s.size() - 2);
    return s;
}

String FindInPath(const String& name)
{
    const char* path = getenv("PATH");
    std::string p = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::string n = UTF8Encode(name);
    size_t b = 0;
    while (b <= p.size()) {
        size_t e = p.find(':', b);
        std::string dir = p.substr(b, e == std::string::npos ? std::string::npos : e - b);
        if (!dir.empty()) {
            std::string full = dir + "/" + n;
            if (access(full.c_str(), X_OK) == 0) return UTF8ToString(full);
        }
        if (e == std::string::npos) break;
        b = e + 1;
    }
    return String();
}

// "scheme:..." with a scheme of two or more characters (so "C:\x" is a path).
bool IsAddress(const String& s)
{
    size_t colon = s.find(L':');
    if (colon == String::npos || colon < 2) return false;
    auto alpha = [](Char c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); };
    if (!alpha(s[0])) return false;
    for (size_t i = 1; i < colon; ++i) {
        Char c = s[i];
        if (!alpha(c) && !(c >= L'0' && c <= L'9') && c != L'+' && c != L'-' && c != L'.') return false;
    }
    return true;
}

String ParentFolder(const String& path)
{
    size_t slash = path.find_last_of(L'/');
    if (slash == String::npos) return L".";
    if (slash == 0) return L"/";
    return path.substr(0, slash);
}

String Absolute(const String& path)
{
    if (!path.empty() && path[0] == L'/') return path;
    return GetCurrentDir() + L"/" + path;
}

// Starts argv with no standard input or output; the process handle goes to
// *process when asked for, else it is let go.
bool Start(const std::vector<String>& argv, HANDLE* process)
{
    if (process) *process = nullptr;
    if (argv.empty()) return false;
    String line = BuildCommandLine(argv);
    STARTUPINFO si;
    si.dwFlags = STARTF_USESTDHANDLES;   // null handles: /dev/null
    PROCESS_INFORMATION pi;
    if (!CreateProcess(nullptr, line.c_str(), nullptr, nullptr, 0, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    if (process)
        *process = pi.hProcess;
    else
        CloseHandle(pi.hProcess);
    return true;
}

bool OpenWithDefault(const String& target, HANDLE* process)
{
    std::vector<String> argv;
    {
        std::lock_guard<std::mutex> g(gCommandLock);
        argv = gOpenCommand;
    }
    if (argv.empty()) argv = {L"xdg-open"};
    argv.push_back(target);
    return Start(argv, process);
}

std::string PercentEncodePath(const std::string& path)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '/' || c == '-' || c == '_' || c == '.' || c == '~';
        if (plain) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

constexpr intptr_t kSuccess = 42;

intptr_t Execute(const Char* operation, const Char* file, const Char* parameters, const Char* directory,
                 HANDLE* process)
{
    if (process) *process = nullptr;
    String target = file ? String(file) : String();
    if (target.empty()) return SE_ERR_FNF;
    String verb = Lower(operation ? String(operation) : String());
    if (verb.empty()) verb = L"open";

    size_t sep = target.find_last_of(L"\\/");
    String base = Lower(sep == String::npos ? target : target.substr(sep + 1));
    if (base == L"explorer.exe" || base == L"explorer") {
        String params = TrimBlanks(parameters ? String(parameters) : String());
        if (Lower(params.substr(0, 8)) == L"/select,") {
            String item = Unquote(params.substr(8));
            if (!FileExists(item) && !DirectoryExists(item)) return SE_ERR_FNF;
            return ShowFileInFileManager(item) ? kSuccess : SE_ERR_NOASSOC;
        }
        String folder = Unquote(params);
        if (folder.empty() || !DirectoryExists(folder)) return SE_ERR_PNF;
        return OpenWithDefault(folder, process) ? kSuccess : SE_ERR_NOASSOC;
    }
    if (verb != L"open" && verb != L"explore") return SE_ERR_NOASSOC;

    if (!IsAddress(target)) {
        if (target[0] != L'/' && directory && *directory) target = String(directory) + L"/" + target;
        bool isDir = DirectoryExists(target);
        if (!isDir && !FileExists(target)) return SE_ERR_FNF;
        if (verb == L"explore" && !isDir) target = ParentFolder(Absolute(target));
    }
    return OpenWithDefault(target, process) ? kSuccess : SE_ERR_NOASSOC;
}

}  // namespace

HINSTANCE ShellExecute(HWND, const Char* operation, const Char* file, const Char* parameters,
                       const Char* directory, int)
{
    return reinterpret_cast<HINSTANCE>(Execute(operation, file, parameters, directory, nullptr));
}

BOOL ShellExecuteEx(SHELLEXECUTEINFO* info)
{
    if (!info) return 0;
    HANDLE process = nullptr;
    bool keep = (info->fMask & SEE_MASK_NOCLOSEPROCESS) != 0;
    intptr_t r = Execute(info->lpVerb, info->lpFile, info->lpParameters, info->lpDirectory,
                         keep ? &process : nullptr);
    info->hInstApp = reinterpret_cast<HINSTANCE>(r);
    info->hProcess = process;
    return r > 32 ? 1 : 0;
}

bool ShowFileInFileManager(const String& path)
{
    String full = Absolute(path);
    std::string uri = "file://" + PercentEncodePath(UTF8Encode(full));
    std::vector<String> argv;
    {
        std::lock_guard<std::mutex> g(gCommandLock);
        argv = gShowItemsCommand;
    }
    if (!argv.empty()) {
        argv.push_back(UTF8ToString(uri));
    } else if (String gdbus = FindInPath(L"gdbus"); !gdbus.empty()) {
        argv = {gdbus, L"call", L"--session", L"--timeout", L"3", L"--dest", L"org.freedesktop.FileManager1",
                L"--object-path", L"/org/freedesktop/FileManager1", L"--method",
                L"org.freedesktop.FileManager1.ShowItems", UTF8ToString("['" + uri + "']"), L""};
    } else if (String dbusSend = FindInPath(L"dbus-send"); !dbusSend.empty()) {
        argv = {dbusSend, L"--session", L"--print-reply", L"--reply-timeout=3000",
                L"--dest=org.freedesktop.FileManager1", L"/org/freedesktop/FileManager1",
                L"org.freedesktop.FileManager1.ShowItems", UTF8ToString("array:string:" + uri), L"string:"};
    }
    if (!argv.empty()) {
        HANDLE p = nullptr;
        if (Start(argv, &p)) {
            DWORD code = 1;
            if (WaitForSingleObject(p, 5000) == WAIT_OBJECT_0) GetExitCodeProcess(p, &code);
            else TerminateProcess(p, 1);
            CloseHandle(p);
            if (code == 0) return true;
        }
    }
    return OpenWithDefault(DirectoryExists(full) ? full : ParentFolder(full), nullptr);
}

void SetShellOpenCommand(const std::vector<String>& command)
{
    std::lock_guard<std::mutex> g(gCommandLock);
    gOpenCommand = command;
}

void SetShellShowItemsCommand(const std::vector<String>& command)
{
    std::lock_guard<std::mutex> g(gCommandLock);
    gShowItemsCommand = command;
}

// ---------------------------------------------------------------------------

namespace {
String EnvFolder(const char* var, const String& fallbackUnderHome)
{
    const char* v = getenv(var);
    if (v && v[0] == '/') return UTF8ToString(v);
    return GetHomePath() + L"/" + fallbackUnderHome;
}
}  // namespace

BOOL SHGetSpecialFolderPath(HWND, Char* path, int csidl, BOOL create)
{
    if (!path) return 0;
    path[0] = 0;
    if (csidl & CSIDL_FLAG_CREATE) create = 1;
    String folder;
    switch (csidl & 0xFF) {
    case CSIDL_PERSONAL: folder = GetDocumentsPath(); break;
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: folder = GetHomePath() + L"/Desktop"; break;
    case CSIDL_APPDATA: folder = EnvFolder("XDG_CONFIG_HOME", L".config"); break;
    case CSIDL_LOCAL_APPDATA: folder = EnvFolder("XDG_DATA_HOME", L".local/share"); break;
    case CSIDL_PROFILE: folder = GetHomePath(); break;
    case CSIDL_MYVIDEO: folder = GetHomePath() + L"/Videos"; break;
    case CSIDL_MYMUSIC: folder = GetHomePath() + L"/Music"; break;
    case CSIDL_MYPICTURES: folder = GetHomePath() + L"/Pictures"; break;
    default: return 0;
    }
    while (folder.size() > 1 && folder.back() == L'/') folder.pop_back();
    if (folder.empty() || folder.size() >= size_t(MAX_PATH)) return 0;
    if (create && !ForceDirectories(folder)) return 0;
    std::copy(folder.begin(), folder.end(), path);
    path[folder.size()] = 0;
    return 1;
}

TShellIconKind ShellIconKindOf(const String& fileName, bool folder)
{
    if (folder) return siFolder;
    size_t slash = fileName.find_last_of(L"\\/");
    size_t dot = fileName.find_last_of(L'.');
    if (dot == String::npos || (slash != String::npos && dot < slash)) return siFile;
    String ext = Lower(fileName.substr(dot + 1));
    struct Entry {
        TShellIconKind Kind;
        std::initializer_list<const wchar_t*> Exts;
    };
    static const Entry table[] = {
        {siVideo, {L"flv", L"mp4", L"avi", L"mpeg", L"mpg", L"wmv", L"mkv", L"webm", L"mov", L"m4v", L"3gp", L"asf"}},
        {siAudio, {L"mp3", L"wav", L"ogg", L"flac", L"m4a", L"aac", L"wma"}},
        {siImage, {L"png", L"jpg", L"jpeg", L"gif", L"bmp", L"ico", L"tif", L"tiff", L"webp"}},
        {siText, {L"txt", L"log", L"ini", L"csv", L"md"}},
        {siArchive, {L"zip", L"rar", L"7z", L"gz", L"tar", L"bz2", L"xz"}},
        {siProgram, {L"exe", L"sh", L"bin", L"com", L"bat", L"appimage"}},
        {siDocument, {L"pdf", L"doc", L"docx", L"rtf", L"html", L"htm", L"odt", L"xls", L"xlsx"}},
    };
    for (const Entry& e : table)
        for (const wchar_t* x : e.Exts)
            if (ext == x) return e.Kind;
    return siFile;
}

// ---------------------------------------------------------------------------
// The icon set, drawn on a 16-unit grid scaled to the list's size.

namespace {

class TIconPainter {
public:
    explicit TIconPainter(int size) : FImg(size, size, 0), FScale(size / 16) {}

    // Cells [x0, x1) x [y0, y1) of the 16-unit grid.
    void Fill(int x0, int y0, int x1, int y1, uint32_t argb)
    {
        for (int y = y0 * FScale; y < y1 * FScale; ++y)
            for (int x = x0 * FScale; x < x1 * FScale; ++x) Put(x, y, argb);
    }
    // A one-pixel frame around the cells.
    void Frame(int x0, int y0, int x1, int y1, uint32_t argb)
    {
        int l = x0 * FScale, t = y0 * FScale, r = x1 * FScale - 1, b = y1 * FScale - 1;
        for (int x = l; x <= r; ++x) {
            Put(x, t, argb);
            Put(x, b, argb);
        }
        for (int y = t; y <= b; ++y) {
            Put(l, y, argb);
            Put(r, y, argb);
        }
    }
    // A triangle pointing right, in the cells' box.
    void Play(int x0, int y0, int x1, int y1, uint32_t argb)
    {
        double l = x0 * FScale, t = y0 * FScale, w = (x1 - x0) * FScale, h = (y1 - y0) * FScale;
        for (int y = int(t); y < int(t + h); ++y) {
            double half = h / 2 - std::abs(y + 0.5 - (t + h / 2));
            for (int x = int(l); x < int(l + w * half / (h / 2)); ++x) Put(x, y, argb);
        }
    }
    // The page every file icon stands on, its corner folded.
    void Page()
    {
        Fill(3, 1, 13, 15, kWhite);
        Frame(3, 1, 13, 15, kEdge);
        Fill(10, 1, 13, 4, 0);
        Fill(10, 1, 11, 4, kEdge);
        Fill(10, 3, 13, 4, kEdge);
    }
    TImageData& Image() { return FImg; }

    static constexpr uint32_t kWhite = 0xFFFFFFFF;
    static constexpr uint32_t kEdge = 0xFF6E7480;

private:
    void Put(int x, int y, uint32_t argb)
    {
        if (x >= 0 && y >= 0 && x < FImg.Width && y < FImg.Height) FImg.Pixel(x, y) = argb;
    }
    TImageData FImg;
    int FScale;
};

TImageData ShellIcon(TShellIconKind kind, int size)
{
    TIconPainter p(size);
    switch (kind) {
    case siFolder:
        p.Fill(1, 3, 7, 5, 0xFFE0A82E);
        p.Fill(1, 5, 15, 14, 0xFFF2C94C);
        p.Frame(1, 5, 15, 14, 0xFFB7821F);
        break;
    case siVideo:
        p.Page();
        p.Fill(4, 6, 12, 13, 0xFF2B3A67);
        p.Play(7, 7, 10, 12, 0xFFFFFFFF);
        break;
    case siAudio:
        p.Page();
        p.Fill(8, 5, 9, 12, 0xFF7B3FA0);
        p.Fill(8, 5, 11, 6, 0xFF7B3FA0);
        p.Fill(5, 10, 8, 13, 0xFF7B3FA0);
        break;
    case siImage:
        p.Page();
        p.Fill(4, 6, 12, 10, 0xFF8CC8F0);
        p.Fill(4, 10, 12, 13, 0xFF4CA64C);
        p.Fill(9, 7, 11, 9, 0xFFF5D033);
        break;
    case siText:
        p.Page();
        for (int y = 5; y < 13; y += 2) p.Fill(5, y, 11, y + 1, 0xFF8A8F99);
        break;
    case siArchive:
        p.Page();
        p.Fill(7, 2, 9, 14, 0xFF9C6B30);
        for (int y = 3; y < 13; y += 2) p.Fill(7, y, 8, y + 1, 0xFFE8D3A9);
        break;
    case siProgram:
        p.Fill(1, 2, 15, 14, 0xFFFFFFFF);
        p.Fill(1, 2, 15, 5, 0xFF2F6FD0);
        p.Frame(1, 2, 15, 14, 0xFF24579F);
        break;
    case siDocument:
        p.Page();
        p.Fill(4, 4, 10, 6, 0xFFC0392B);
        for (int y = 7; y < 13; y += 2) p.Fill(5, y, 11, y + 1, 0xFF8A8F99);
        break;
    default:
        p.Page();
        break;
    }
    p.Image().HasAlpha = true;
    return p.Image();
}

}  // namespace

TCustomImageList* ShellSystemImageList(bool small)
{
    static std::once_flag once;
    static TImageList* lists[2] = {nullptr, nullptr};   // live for the whole process
    std::call_once(once, [] {
        for (int i = 0; i < 2; ++i) {
            int size = i == 0 ? 32 : 16;
            auto* l = new TImageList(nullptr);
            l->SetWidth(size);
            l->SetHeight(size);
            for (int k = 0; k < siShellIconCount; ++k) l->AddImage(ShellIcon(TShellIconKind(k), size));
            lists[i] = l;
        }
    });
    return lists[small ? 1 : 0];
}

uintptr_t SHGetFileInfo(const Char* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize, UINT flags)
{
    if (!path || !info || infoSize < sizeof(SHFILEINFO)) return 0;
    String name = path;
    auto list = [&] { return reinterpret_cast<uintptr_t>(ShellSystemImageList((flags & SHGFI_SMALLICON) != 0)); };
    if (name.empty() && (flags & SHGFI_SYSICONINDEX) && !(flags & SHGFI_USEFILEATTRIBUTES)) {
        *info = SHFILEINFO();
        return list();
    }
    bool folder;
    if (flags & SHGFI_USEFILEATTRIBUTES) {
        folder = (fileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        struct stat st;
        if (stat(UTF8Encode(name).c_str(), &st) != 0) return 0;
        folder = S_ISDIR(st.st_mode);
    }
    *info = SHFILEINFO();
    info->iIcon = ShellIconKindOf(name, folder);
    if (flags & SHGFI_DISPLAYNAME) {
        size_t slash = name.find_last_of(L"\\/");
        String display = slash == String::npos ? name : name.substr(slash + 1);
        if (display.empty()) display = name;
        display = display.substr(0, MAX_PATH - 1);
        std::copy(display.begin(), display.end(), info->szDisplayName);
    }
    if (flags & SHGFI_TYPENAME) {
        String type = L"File";
        if (folder) {
            type = L"File folder";
        } else {
            size_t slash = name.find_last_of(L"\\/");
            size_t dot = name.find_last_of(L'.');
            if (dot != String::npos && (slash == String::npos || dot > slash) && dot + 1 < name.size()) {
                String ext = name.substr(dot + 1);
                for (Char& c : ext)
                    if (c >= L'a' && c <= L'z') c = Char(c - L'a' + L'A');
                type = ext + L" File";
            }
        }
        type = type.substr(0, 79);
        std::copy(type.begin(), type.end(), info->szTypeName);
    }
    if (flags & SHGFI_ATTRIBUTES) info->dwAttributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    if (flags & SHGFI_SYSICONINDEX) return list();
    return 1;
}

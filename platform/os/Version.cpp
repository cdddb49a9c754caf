#include "platform/os/Version.h"

#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>
#include <algorithm>
#include <ctime>
#include <string>
#include <vector>


namespace {

constexpr char kBlockMagic[8] = {'V', 'E', 'L', 'V', 'B', 'L', 'K', '1'};
constexpr const char* kSectionName = ".velver";
constexpr const char* kSectionHeader = "VELVERSION 1";
constexpr uint64_t kMaxSection = 64 * 1024;
constexpr uint64_t kMaxStrtab = 16 * 1024 * 1024;

// Block layout (4-byte fields, in this order): magic, total size,
// translation count, text count, VS_FIXEDFILEINFO, translations, then per
// text: key length, value length (characters with the ending zero), key
// characters, value characters.
struct TBlockHeader {
    char Magic[8];
    uint32_t TotalSize;
    uint32_t TranslationCount;
    uint32_t TextCount;
    VS_FIXEDFILEINFO Fixed;
};
static_assert(sizeof(TBlockHeader) % sizeof(Char) == 0, "texts follow the header aligned");

void Append(std::string& out, const void* p, size_t n) { out.append(static_cast<const char*>(p), n); }

void AppendU32(std::string& out, uint32_t v) { Append(out, &v, sizeof v); }

void AppendChars(std::string& out, const String& s)
{
    Append(out, s.c_str(), (s.size() + 1) * sizeof(Char));
}

String LowerAscii(String s)
{
    for (Char& c : s)
        if (c >= L'A' && c <= L'Z') c = Char(c - L'A' + L'a');
    return s;
}

// "2.4.0.0" -> MS 0x00020004, LS 0x00000000 (missing parts are 0).
void ParseVersionNumbers(const String& text, DWORD& ms, DWORD& ls)
{
    DWORD part[4] = {0, 0, 0, 0};
    size_t idx = 0;
    for (size_t i = 0; i < text.size() && idx < 4; ++i) {
        Char c = text[i];
        if (c >= L'0' && c <= L'9')
            part[idx] = std::min<DWORD>(part[idx] * 10 + DWORD(c - L'0'), 0xFFFF);
        else if (c == L'.' || c == L',')
            ++idx;
        else
            break;
    }
    ms = (part[0] << 16) | part[1];
    ls = (part[2] << 16) | part[3];
}

bool ParseTranslation(const String& t, DWORD& out)
{
    if (t.size() != 8) return false;
    DWORD v = 0;
    for (Char c : t) {
        int d;
        if (c >= L'0' && c <= L'9') d = c - L'0';
        else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
        else return false;
        v = (v << 4) | DWORD(d);
    }
    // Stored as the platform stores it: language in the low word, code page
    // in the high word.
    out = (v >> 16) | ((v & 0xFFFF) << 16);
    return true;
}

// Reads exactly n bytes at offset; false on any short read.
bool ReadAt(int fd, uint64_t offset, void* buf, size_t n)
{
    char* p = static_cast<char*>(buf);
    while (n > 0) {
        ssize_t r = pread(fd, p, n, off_t(offset));
        if (r <= 0) return false;
        p += r;
        offset += uint64_t(r);
        n -= size_t(r);
    }
    return true;
}

struct TSection {
    uint32_t Name = 0;
    uint32_t Type = 0;
    uint64_t Offset = 0;
    uint64_t Size = 0;
    uint32_t Link = 0;
};

// Finds the ".velver" section of an ELF file by its section headers. Every
// offset and size is checked against the file before it is used.
bool ReadVersionSection(const String& fileName, std::string& out)
{
    int fd = open(UTF8Encode(fileName).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat st;
    if (fstat(fd, &st) < 0 || !S_ISREG(st.st_mode)) return false;
    const uint64_t fileSize = uint64_t(st.st_size);

    unsigned char ident[EI_NIDENT];
    if (fileSize < EI_NIDENT || !ReadAt(fd, 0, ident, EI_NIDENT)) return false;
    if (memcmp(ident, ELFMAG, SELFMAG) != 0 || ident[EI_DATA] != ELFDATA2LSB) return false;
    const bool is64 = ident[EI_CLASS] == ELFCLASS64;
    if (!is64 && ident[EI_CLASS] != ELFCLASS32) return false;

    uint64_t shoff;
    uint32_t shentsize, shnum, shstrndx;
    if (is64) {
        Elf64_Ehdr eh;
        if (fileSize < sizeof eh || !ReadAt(fd, 0, &eh, sizeof eh)) return false;
        shoff = eh.e_shoff; shentsize = eh.e_shentsize; shnum = eh.e_shnum; shstrndx = eh.e_shstrndx;
    } else {
        Elf32_Ehdr eh;
        if (fileSize < sizeof eh || !ReadAt(fd, 0, &eh, sizeof eh)) return false;
        shoff = eh.e_shoff; shentsize = eh.e_shentsize; shnum = eh.e_shnum; shstrndx = eh.e_shstrndx;
    }
    const uint32_t need = is64 ? sizeof(Elf64_Shdr) : sizeof(Elf32_Shdr);
    if (shoff == 0 || shentsize < need || shoff > fileSize) return false;

    auto readSection = [&](uint64_t index, TSection& s) -> bool {
        uint64_t at = shoff + index * shentsize;
        if (at < shoff || at > fileSize || fileSize - at < need) return false;
        if (is64) {
            Elf64_Shdr sh;
            if (!ReadAt(fd, at, &sh, sizeof sh)) return false;
            s = {sh.sh_name, sh.sh_type, sh.sh_offset, sh.sh_size, sh.sh_link};
        } else {
            Elf32_Shdr sh;
            if (!ReadAt(fd, at, &sh, sizeof sh)) return false;
            s = {sh.sh_name, sh.sh_type, sh.sh_offset, sh.sh_size, sh.sh_link};
        }
        return true;
    };

    // Extended numbering: the real counts live in section 0.
    if (shnum == 0 || shstrndx == SHN_XINDEX) {
        TSection s0;
        if (!readSection(0, s0)) return false;
        if (shnum == 0) shnum = uint32_t(std::min<uint64_t>(s0.Size, 1u << 20));
        if (shstrndx == SHN_XINDEX) shstrndx = s0.Link;
    }
    if (shnum == 0 || shstrndx >= shnum) return false;
    if ((fileSize - shoff) / shentsize < shnum) return false;

    TSection strtab;
    if (!readSection(shstrndx, strtab)) return false;
    if (strtab.Size == 0 || strtab.Size > kMaxStrtab || strtab.Offset > fileSize ||
        fileSize - strtab.Offset < strtab.Size)
        return false;
    std::string names(size_t(strtab.Size), '\0');
    if (!ReadAt(fd, strtab.Offset, names.data(), names.size())) return false;

    const size_t wantLen = strlen(kSectionName);
    for (uint32_t i = 1; i < shnum; ++i) {
        TSection s;
        if (!readSection(i, s)) return false;
        if (s.Name >= names.size() || names.size() - s.Name < wantLen + 1) continue;
        if (memcmp(names.data() + s.Name, kSectionName, wantLen + 1) != 0) continue;
        if (s.Type == SHT_NOBITS || s.Size == 0 || s.Size > kMaxSection || s.Offset > fileSize ||
            fileSize - s.Offset < s.Size)
            return false;
        out.assign(size_t(s.Size), '\0');
        if (!ReadAt(fd, s.Offset, out.data(), out.size())) return false;
        out.resize(strnlen(out.data(), out.size()));   // text ends at the first zero
        return true;
    }
    return false;
}

TVersionTexts CommonControlsTexts()
{
    TVersionTexts t;
    t.FileDescription = L"User Experience Controls Library";
    t.FileVersion = L"6.0.7601.0";
    t.ProductVersion = L"6.0.7601.0";
    t.InternalName = L"comctl32";
    t.OriginalFilename = L"comctl32.dll";
    t.Translation = L"040904B0";
    return t;
}

// A built-in block for a system library name, or empty.
std::string BuiltinBlock(const String& fileName)
{
    size_t slash = fileName.find_last_of(L"\\/");
    String base = LowerAscii(slash == String::npos ? fileName : fileName.substr(slash + 1));
    if (base == L"comctl32.dll" || base == L"comctl32") {
        TVersionTexts t = CommonControlsTexts();
        VS_FIXEDFILEINFO f;
        ParseVersionNumbers(t.FileVersion, f.dwFileVersionMS, f.dwFileVersionLS);
        ParseVersionNumbers(t.ProductVersion, f.dwProductVersionMS, f.dwProductVersionLS);
        f.dwFileType = VFT_DLL;
        return MakeVersionBlock(t, f);
    }
    return {};
}

std::string BlockOfFile(const Char* fileName)
{
    if (!fileName || !*fileName) return {};
    std::string block = BuiltinBlock(fileName);
    if (!block.empty()) return block;
    std::string section;
    TVersionTexts texts;
    if (!ReadVersionSection(fileName, section) || !ParseVersionSection(section, texts)) return {};
    VS_FIXEDFILEINFO f;
    ParseVersionNumbers(texts.FileVersion, f.dwFileVersionMS, f.dwFileVersionLS);
    ParseVersionNumbers(texts.ProductVersion, f.dwProductVersionMS, f.dwProductVersionLS);
    return MakeVersionBlock(texts, f);
}

}  // namespace

bool ParseVersionSection(const std::string& section, TVersionTexts& texts)
{
    size_t eol = section.find('\n');
    std::string first = section.substr(0, eol);
    if (!first.empty() && first.back() == '\r') first.pop_back();
    if (first != kSectionHeader) return false;
    texts = TVersionTexts();
    size_t pos = eol == std::string::npos ? section.size() : eol + 1;
    while (pos < section.size()) {
        size_t e = section.find('\n', pos);
        std::string line = section.substr(pos, e == std::string::npos ? std::string::npos : e - pos);
        pos = e == std::string::npos ? section.size() : e + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        String key = LowerAscii(UTF8ToString(line.substr(0, eq)));
        String value = UTF8ToString(line.substr(eq + 1));
        if (key == L"companyname") texts.CompanyName = value;
        else if (key == L"filedescription") texts.FileDescription = value;
        else if (key == L"fileversion") texts.FileVersion = value;
        else if (key == L"internalname") texts.InternalName = value;
        else if (key == L"legalcopyright") texts.LegalCopyright = value;
        else if (key == L"legaltrademarks") texts.LegalTrademarks = value;
        else if (key == L"originalfilename") texts.OriginalFilename = value;
        else if (key == L"productname") texts.ProductName = value;
        else if (key == L"productversion") texts.ProductVersion = value;
        else if (key == L"comments") texts.Comments = value;
        else if (key == L"translation") texts.Translation = value;
    }
    DWORD dummy;
    return ParseTranslation(texts.Translation, dummy);
}

std::string MakeVersionBlock(const TVersionTexts& texts, const VS_FIXEDFILEINFO& fixed)
{
    struct Item {
        const wchar_t* Name;
        const String* Value;
    };
    const Item items[] = {
        {L"CompanyName", &texts.CompanyName},       {L"FileDescription", &texts.FileDescription},
        {L"FileVersion", &texts.FileVersion},       {L"InternalName", &texts.InternalName},
        {L"LegalCopyright", &texts.LegalCopyright}, {L"LegalTrademarks", &texts.LegalTrademarks},
        {L"OriginalFilename", &texts.OriginalFilename}, {L"ProductName", &texts.ProductName},
        {L"ProductVersion", &texts.ProductVersion}, {L"Comments", &texts.Comments},
    };
    DWORD translation = 0;
    bool haveTranslation = ParseTranslation(texts.Translation, translation);
    String prefix = texts.Translation;
    for (Char& c : prefix)
        if (c >= L'a' && c <= L'f') c = Char(c - L'a' + L'A');

    TBlockHeader h{};
    memcpy(h.Magic, kBlockMagic, sizeof h.Magic);
    h.TranslationCount = haveTranslation ? 1 : 0;
    h.Fixed = fixed;
    std::string body;
    if (haveTranslation) AppendU32(body, translation);
    uint32_t count = 0;
    if (haveTranslation) {
        for (const Item& it : items) {
            if (it.Value->empty()) continue;   // a missing text is not in the block
            String key = prefix + L"\\" + it.Name;
            AppendU32(body, uint32_t(key.size() + 1));
            AppendU32(body, uint32_t(it.Value->size() + 1));
            AppendChars(body, key);
            AppendChars(body, *it.Value);
            ++count;
        }
    }
    h.TextCount = count;
    h.TotalSize = uint32_t(sizeof h + body.size());
    std::string out;
    Append(out, &h, sizeof h);
    out += body;
    return out;
}

DWORD GetFileVersionInfoSize(const Char* fileName, DWORD* handle)
{
    if (handle) *handle = 0;
    return DWORD(BlockOfFile(fileName).size());
}

BOOL GetFileVersionInfo(const Char* fileName, DWORD, DWORD len, void* data)
{
    if (!data) return 0;
    std::string block = BlockOfFile(fileName);
    if (block.empty() || len < block.size()) return 0;
    memcpy(data, block.data(), block.size());
    return 1;
}

BOOL VerQueryValue(const void* block, const Char* subBlock, void** buffer, UINT* len)
{
    if (buffer) *buffer = nullptr;
    if (len) *len = 0;
    if (!block || !subBlock || !buffer) return 0;
    const char* base = static_cast<const char*>(block);
    TBlockHeader h;
    memcpy(&h, base, sizeof h);
    if (memcmp(h.Magic, kBlockMagic, sizeof h.Magic) != 0 || h.TotalSize < sizeof h) return 0;
    const uint64_t total = h.TotalSize;

    String path = subBlock;
    while (!path.empty() && path[0] == L'\\') path.erase(0, 1);
    String lower = LowerAscii(path);
    if (lower.empty()) {
        *buffer = const_cast<char*>(base) + offsetof(TBlockHeader, Fixed);
        if (len) *len = sizeof(VS_FIXEDFILEINFO);
        return 1;
    }
    uint64_t pos = sizeof h;
    if (lower == L"varfileinfo\\translation") {
        if (h.TranslationCount == 0 || total - pos < uint64_t(h.TranslationCount) * 4) return 0;
        *buffer = const_cast<char*>(base) + pos;
        if (len) *len = h.TranslationCount * 4;
        return 1;
    }
    const String prefix = L"stringfileinfo\\";
    if (lower.compare(0, prefix.size(), prefix) != 0) return 0;
    String want = lower.substr(prefix.size());
    if (total - pos < uint64_t(h.TranslationCount) * 4) return 0;
    pos += uint64_t(h.TranslationCount) * 4;
    for (uint32_t i = 0; i < h.TextCount; ++i) {
        if (total - pos < 8) return 0;
        uint32_t keyLen, valLen;
        memcpy(&keyLen, base + pos, 4);
        memcpy(&valLen, base + pos + 4, 4);
        pos += 8;
        uint64_t bytes = (uint64_t(keyLen) + valLen) * sizeof(Char);
        if (keyLen == 0 || valLen == 0 || total - pos < bytes) return 0;
        String key(keyLen - 1, L'\0');
        memcpy(key.data(), base + pos, (keyLen - 1) * sizeof(Char));
        if (LowerAscii(key) == want) {
            *buffer = const_cast<char*>(base) + pos + uint64_t(keyLen) * sizeof(Char);
            if (len) *len = valLen;
            return 1;
        }
        pos += bytes;
    }
    return 0;
}

// ---------------------------------------------------------------------------

namespace {
void FillVersion(OSVERSIONINFO* info, bool extended)
{
    info->dwMajorVersion = 6;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 7601;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    const wchar_t csd[] = L"Service Pack 1";
    std::fill(std::begin(info->szCSDVersion), std::end(info->szCSDVersion), Char(0));
    std::copy(std::begin(csd), std::end(csd), info->szCSDVersion);
    if (extended) {
        auto* ex = static_cast<OSVERSIONINFOEX*>(info);
        ex->wServicePackMajor = 1;
        ex->wServicePackMinor = 0;
        ex->wSuiteMask = 0x0100;   // single-user terminal services, as a desktop reports
        ex->wProductType = VER_NT_WORKSTATION;
        ex->wReserved = 0;
    }
}

UINT CopyFolder(const wchar_t* folder, Char* buffer, UINT size)
{
    String f = folder;
    if (!buffer || size < f.size() + 1) return UINT(f.size() + 1);
    std::copy(f.begin(), f.end(), buffer);
    buffer[f.size()] = 0;
    return UINT(f.size());
}
}  // namespace

BOOL GetVersionEx(OSVERSIONINFO* info)
{
    if (!info) return 0;
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFOEX)) {
        FillVersion(info, true);
        return 1;
    }
    if (info->dwOSVersionInfoSize == sizeof(OSVERSIONINFO)) {
        FillVersion(info, false);
        return 1;
    }
    return 0;
}

LONG RtlGetVersion(OSVERSIONINFO* info)
{
    constexpr LONG STATUS_INVALID_PARAMETER = LONG(0xC000000D);
    return GetVersionEx(info) ? 0 : STATUS_INVALID_PARAMETER;
}

UINT GetWindowsDirectory(Char* buffer, UINT size) { return CopyFolder(L"/usr", buffer, size); }
UINT GetSystemDirectory(Char* buffer, UINT size) { return CopyFolder(L"/usr/lib", buffer, size); }

BOOL FileTimeToSystemTime(const FILETIME* fileTime, SYSTEMTIME* systemTime)
{
    if (!fileTime || !systemTime) return 0;
    uint64_t t = (uint64_t(fileTime->dwHighDateTime) << 32) | fileTime->dwLowDateTime;
    if (t >= 0x8000000000000000ull) return 0;
    uint64_t ms = t / 10000;
    uint64_t days = ms / 86400000ull;
    uint64_t rest = ms % 86400000ull;
    // Days since 1601-01-01 to a civil date (proleptic Gregorian).
    int64_t z = int64_t(days) + 584694;   // days since 0000-03-01 (1601 is day 584694)
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    int64_t doe = z - era * 146097;
    int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int64_t y = yoe + era * 400;
    int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int64_t mp = (5 * doy + 2) / 153;
    int64_t d = doy - (153 * mp + 2) / 5 + 1;
    int64_t m = mp < 10 ? mp + 3 : mp - 9;
    if (m <= 2) ++y;
    if (y > 30827) return 0;
    systemTime->wYear = Word(y);
    systemTime->wMonth = Word(m);
    systemTime->wDay = Word(d);
    systemTime->wDayOfWeek = Word((days + 1) % 7);   // 1601-01-01 was a Monday
    systemTime->wHour = Word(rest / 3600000);
    systemTime->wMinute = Word(rest / 60000 % 60);
    systemTime->wSecond = Word(rest / 1000 % 60);
    systemTime->wMilliseconds = Word(rest % 1000);
    return 1;
}


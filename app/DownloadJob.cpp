#include "app/DownloadJob.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "app/Explode.h"
#include "app/MainWindow.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Files.h"
#include "platform/base/SysUtils.h"

const wchar_t* const kConverterFileName = L"kestrix.exe";
const wchar_t* const kConverterMissingMessage = L"kestrix.exe was not found. Conversion aborted.";
const wchar_t* const kConverterMissingCaption = L"Error";
const wchar_t* const kNoteNotConverted = L"not converted";
const wchar_t* const kNoteConvertFailed = L"convert failed";
const wchar_t* const kNoteConverterNotRun = L"no converter";
const wchar_t* const kNoteRenameFailed = L"rename failed";

namespace {

String JoinPath(const String& folder, const String& name)
{
    return folder.empty() ? name : IncludeTrailingPathDelimiter(folder) + name;
}

// The extension of a final name ("" when it has none), from the last dot.
String SplitExtension(const String& name, String& base)
{
    const size_t dot = name.rfind(L'.');
    if (dot == String::npos) {
        base = name;
        return String();
    }
    base = name.substr(0, dot);
    return name.substr(dot);
}

// Reads a decimal number with "." as its separator, whatever FormatSettings say.
bool ReadDecimal(const String& s, double& v)
{
    TFormatSettings fs = DefaultFormatSettings();
    fs.DecimalSeparator = L'.';
    fs.ThousandSeparator = L',';
    Extended e = 0;
    if (!TryStrToFloat(s, e, fs) || !std::isfinite(e))
        return false;
    v = e;
    return true;
}

// Seconds that fit the progress arithmetic; anything else counts as unknown.
Integer WholeSeconds(double v)
{
    if (!std::isfinite(v) || v < 0 || v > 1e9)
        return 0;
    return static_cast<Integer>(Round(v));
}

String Latin1(const std::string& bytes)
{
    String s;
    s.reserve(bytes.size());
    for (unsigned char c : bytes)
        s += static_cast<wchar_t>(c);
    return s;
}

}  // namespace

String ConverterPath(const String& appFolder)
{
    return JoinPath(appFolder, kConverterFileName);
}

bool FormatConverts(Integer format)
{
    return format >= 1 && format <= 3;
}

String FormatExtension(Integer format)
{
    switch (format) {
    case 0: return L".flv";
    case 1: return L".avi";
    case 2: return L".mpeg";
    case 3: return L".wmv";
    default: return String();
    }
}

String ConverterCommandLine(Integer format, const String& converter, const String& input,
                            const String& output, Integer server)
{
    const String extra = server == site_xvideos ? L" -aspect 1:1 " : L"";
    const String q = L"\"";
    switch (format) {
    case 1:
        return converter + L" -i " + q + input + q + L" -sameq -vcodec mpeg4 " + extra +
               L" -acodec libmp3lame -f avi -y " + q + output + q;
    case 2:
        return converter + L" -i " + q + input + q +
               L" -sameq -vcodec mpeg1video -r 29.97  -acodec mp2 -f mpeg -y " + q + output + q;
    case 3:
        return converter + L" -i " + q + input + q +
               L" -f asf -sameq -vcodec wmv2 -acodec wmav2 -y " + q + output + q;
    default:
        return String();
    }
}

std::vector<String> ConverterArguments(Integer format, const String& converter,
                                       const String& input, const String& output, Integer server)
{
    switch (format) {
    case 1: {
        std::vector<String> a = {converter, L"-i", input, L"-sameq", L"-vcodec", L"mpeg4"};
        if (server == site_xvideos) {
            a.push_back(L"-aspect");
            a.push_back(L"1:1");
        }
        for (const wchar_t* s : {L"-acodec", L"libmp3lame", L"-f", L"avi", L"-y"})
            a.push_back(s);
        a.push_back(output);
        return a;
    }
    case 2:
        return {converter, L"-i",  input, L"-sameq", L"-vcodec", L"mpeg1video", L"-r", L"29.97",
                L"-acodec", L"mp2", L"-f", L"mpeg",  L"-y",      output};
    case 3:
        return {converter, L"-i",      input,     L"-f",      L"asf", L"-sameq", L"-vcodec",
                L"wmv2",   L"-acodec", L"wmav2",  L"-y",      output};
    default:
        return {};
    }
}

void TConverterProgress::Feed(const char* data, size_t len)
{
    // A record longer than this is examined in pieces rather than kept
    // growing: the markers are at the start of the converter's lines.
    constexpr size_t kMaxRecord = 64 * 1024;
    for (size_t i = 0; i < len; ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            if (!FPending.empty())
                Examine(FPending);
            FPending.clear();
        } else {
            FPending += c;
            if (FPending.size() >= kMaxRecord) {
                Examine(FPending);
                FPending.clear();
            }
        }
    }
}

void TConverterProgress::Finish()
{
    if (!FPending.empty())
        Examine(FPending);
    FPending.clear();
}

void TConverterProgress::Examine(const std::string& record)
{
    const size_t p = record.find("Duration:");
    if (p != std::string::npos) {
        // From the first character after "Duration: " up to the next comma.
        const size_t from = p + 10;
        const size_t comma = from <= record.size() ? record.find(',', from) : std::string::npos;
        Integer duration = 0;
        if (comma != std::string::npos) {
            const TDynStringArray parts = Explode(L":", Latin1(record.substr(from, comma - from)), 0);
            double h = 0, m = 0, s = 0;
            if (parts.size() >= 3 && ReadDecimal(parts[0], h) && ReadDecimal(parts[1], m) &&
                ReadDecimal(parts[2], s))
                duration = WholeSeconds(h * 3600 + m * 60 + s);
        }
        FDuration = duration;
    }

    const size_t t = record.find("time=");
    if (t != std::string::npos) {
        Integer current = 0;
        try {
            current = WholeSeconds(TimeToSec(Latin1(record.substr(t + 5, 8))));
        } catch (const Exception&) {
            current = 0;
        }
        FCurrent = current;
    }
}

Integer TConverterProgress::Percent() const
{
    if (FDuration <= 0 || FCurrent <= 0)
        return -1;
    const Int64 pct = static_cast<Int64>(FCurrent) * 100 / FDuration;
    return static_cast<Integer>(pct > 100 ? 100 : pct);
}

TMediaFile::TMediaFile(int fd, size_t bufferBytes) : FFd(fd), FBuffer(bufferBytes ? bufferBytes : 1) {}

Integer TMediaFile::Read(void*, Integer)
{
    return 0;
}

Int64 TMediaFile::Seek(Int64 Offset, TSeekOrigin Origin)
{
    if (!(Offset == 0 && Origin == soCurrent) && !(Origin == soBeginning && Offset == FTaken) &&
        !(Origin == soEnd && Offset == 0))
        throw EStreamError(L"The download file cannot seek");
    return FTaken;
}

void TMediaFile::WriteOut(const char* p, size_t n)
{
    if (FFailed)
        throw EWriteError(L"Stream write error");
    while (n > 0) {
        const ssize_t w = ::write(FFd, p, n);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            FFailed = true;
            const int err = w < 0 ? errno : ENOSPC;
            throw EWriteError(L"Stream write error: " + UTF8ToString(strerror(err)));
        }
        p += w;
        n -= static_cast<size_t>(w);
        FWritten += w;
    }
    StartWriteback();
}

// A download of gigabytes would otherwise pile up as dirty pages until the
// kernel throttles the writer hard (and evicts everyone else's cache). So
// every 8 MiB written is sent to the disk at once, the window before it is
// waited for and dropped from the cache: the dirty part stays small and the
// disk works while the network delivers. The file's bytes are the same.
void TMediaFile::StartWriteback()
{
    constexpr Int64 window = Int64(8) << 20;
    while (FWritten - FWritebackTo >= window) {
        ::sync_file_range(FFd, FWritebackTo, window, SYNC_FILE_RANGE_WRITE);
        if (FWritebackTo >= window) {
            const Int64 prev = FWritebackTo - window;
            ::sync_file_range(FFd, prev, window,
                              SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
            ::posix_fadvise(FFd, prev, window, POSIX_FADV_DONTNEED);
        }
        FWritebackTo += window;
    }
}

Integer TMediaFile::Write(const void* Buffer, Integer Count)
{
    if (Count <= 0)
        return 0;
    if (FFailed)
        throw EWriteError(L"Stream write error");
    const char* p = static_cast<const char*>(Buffer);
    size_t n = static_cast<size_t>(Count);
    const size_t cap = FBuffer.size();
    if (FUsed == 0 && n >= cap) {
        // A block as large as the buffer goes straight out.
        WriteOut(p, n);
    } else {
        while (n > 0) {
            const size_t take = std::min(n, cap - FUsed);
            std::memcpy(FBuffer.data() + FUsed, p, take);
            FUsed += take;
            p += take;
            n -= take;
            if (FUsed == cap)
                Flush();
        }
    }
    FTaken += Count;
    return Count;
}

void TMediaFile::Flush()
{
    if (FUsed == 0)
        return;
    const size_t used = FUsed;
    FUsed = 0;
    WriteOut(FBuffer.data(), used);
}

TFileIdentity FileIdentityOf(int fd)
{
    TFileIdentity id;
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0) {
        id.valid = true;
        id.dev = static_cast<uint64_t>(st.st_dev);
        id.ino = static_cast<uint64_t>(st.st_ino);
    }
    return id;
}

bool RemoveOwnFile(const String& path, const TFileIdentity& id)
{
    if (!id.valid)
        return false;
    const std::string p = UTF8Encode(path);
    struct stat st {};
    if (::lstat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_dev) != id.dev || static_cast<uint64_t>(st.st_ino) != id.ino)
        return false;
    return ::unlink(p.c_str()) == 0;
}

void IgnoreFileSizeSignal()
{
    static std::once_flag once;
    std::call_once(once, [] { ::signal(SIGXFSZ, SIG_IGN); });
}

int CreateDownloadFile(const String& folder, String& filenamet)
{
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const String name = RandomString(L"22222222") + L".flv";
        const std::string path = UTF8Encode(JoinPath(folder, name));
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            filenamet = name;
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

TNamingResult ConvertAndName(const TNamingJob& job, const TRunConverter& run,
                             const std::function<bool()>& terminated)
{
    TNamingResult r;
    r.filename = job.filename;

    const String input = JoinPath(job.saveto, job.filenamet);
    const String output = input + L"_";
    const String titleName = job.filename + L".flv";

    // Moves the download to the title name unless that name is taken, and
    // answers the name the download has afterwards.
    auto nameDownload = [&]() {
        return RenameFile(input, JoinPath(job.saveto, titleName)) ? titleName : job.filenamet;
    };

    if (!FileExists(job.converter)) {
        r.filename = nameDownload();
        r.converterMissing = FormatConverts(job.format);
        if (job.format != 0)
            r.note = kNoteNotConverted;
        r.outcome = TNamingOutcome::noFinished;
        return r;
    }
    if (terminated && terminated()) {
        r.outcome = TNamingOutcome::noStopped;
        return r;
    }

    if (!FormatConverts(job.format)) {
        r.filename = nameDownload();
        if (job.format != 0)
            r.note = kNoteNotConverted;
        r.outcome = TNamingOutcome::noFinished;
        return r;
    }

    const TConverterRun cr =
        run ? run(ConverterCommandLine(job.format, job.converter, input, output, job.server),
                  ConverterArguments(job.format, job.converter, input, output, job.server))
            : TConverterRun{};
    if (cr.stopped || (terminated && terminated())) {
        DeleteFile(output);
        r.outcome = TNamingOutcome::noStopped;
        return r;
    }
    if (!cr.started || cr.exitCode != 0 || !FileExists(output)) {
        // The download itself is complete: it stays, named as one that was
        // not converted.
        DeleteFile(output);
        r.filename = nameDownload();
        r.note = cr.started ? kNoteConvertFailed : kNoteConverterNotRun;
        r.outcome = TNamingOutcome::noFinished;
        return r;
    }

    if (job.settleMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(job.settleMs));

    // The converted file: the title name, or with a random suffix when that is
    // taken; a suffix that is taken as well (or taken meanwhile) gets another.
    String finalName = job.filename + FormatExtension(job.format);
    bool named = false;
    for (int attempt = 0; attempt < 20 && !named; ++attempt) {
        if (attempt > 0 || FileExists(JoinPath(job.saveto, finalName))) {
            String base;
            const String ext = SplitExtension(job.filename + FormatExtension(job.format), base);
            finalName = base + L"_" + RandomString(L"123") + ext;
            if (FileExists(JoinPath(job.saveto, finalName)))
                continue;
        }
        named = RenameFile(output, JoinPath(job.saveto, finalName));
    }
    if (!named) {
        // The converted file stays under the converter's name; the entry can
        // be started again.
        r.note = kNoteRenameFailed;
        r.outcome = TNamingOutcome::noFailed;
        return r;
    }

    nameDownload();
    r.filename = finalName;
    r.outcome = TNamingOutcome::noFinished;
    return r;
}

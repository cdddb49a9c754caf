// The download thread's window-independent part: the temporary file, the
// converter's command lines and progress, and the final naming of the files.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/HttpSettings.h"
#include "app/ItemList.h"
#include "platform/base/Streams.h"
#include "platform/base/Threads.h"
#include "platform/base/Types.h"

extern const wchar_t* const kConverterFileName;        // "kestrix.exe"
extern const wchar_t* const kConverterMissingMessage;  // shown for AVI, MPEG, WMV only
extern const wchar_t* const kConverterMissingCaption;  // "Error"

// Short texts for the Progress column when an entry does not end as usual.
extern const wchar_t* const kNoteNotConverted;     // finished, kept as ".flv"
extern const wchar_t* const kNoteConvertFailed;    // converter ended badly or wrote nothing
extern const wchar_t* const kNoteConverterNotRun;  // converter could not be started
extern const wchar_t* const kNoteRenameFailed;     // the converted file could not be named

// The application's folder (with or without a trailing "/") + "kestrix.exe".
String ConverterPath(const String& appFolder);

// Formats 1, 2 and 3 run the converter.
bool FormatConverts(Integer format);
// ".flv", ".avi", ".mpeg", ".wmv" for formats 0 to 3; "" for the others.
String FormatExtension(Integer format);

// The converter's command line for formats 1 to 3 ("" for the others); site
// 33 gets " -aspect 1:1 " in the AVI line. The converter path is written
// unquoted, the two file names quoted.
String ConverterCommandLine(Integer format, const String& converter, const String& input,
                            const String& output, Integer server);
// The same command as an argument vector (program first), for starting the
// converter without splitting a command line.
std::vector<String> ConverterArguments(Integer format, const String& converter,
                                       const String& input, const String& output, Integer server);

// Reads the converter's error stream. Its records end in CR (progress) or LF
// (everything else); each complete record is examined for "Duration:" and
// "time=". Numbers use "." as their decimal separator whatever the program's
// settings say.
class TConverterProgress {
public:
    void Feed(const char* data, size_t len);
    // Examines what is left after the stream ended.
    void Finish();
    // Whole seconds; 0 while unknown.
    Integer Duration() const { return FDuration; }
    Integer Current() const { return FCurrent; }
    // current * 100 div duration, clamped to 0..100; -1 while either is 0.
    Integer Percent() const;

private:
    void Examine(const std::string& record);
    std::string FPending;
    Integer FDuration = 0;
    Integer FCurrent = 0;
};

// The download's temporary file, written through a buffer: the blocks the
// client hands over are gathered and written in pieces of the buffer's size.
// A write that fails raises EWriteError at once (the bytes not written are
// dropped, and later writes fail too); Flush writes what the buffer holds.
// What is written goes on to the disk in 8 MiB windows as it comes, so a
// large download never holds gigabytes of dirty pages.
// The descriptor stays the caller's.
constexpr size_t kMediaBufferBytes = size_t(256) << 10;

class TMediaFile : public TStream {
public:
    explicit TMediaFile(int fd, size_t bufferBytes = kMediaBufferBytes);
    ~TMediaFile() override = default;
    Integer Read(void* Buffer, Integer Count) override;
    Integer Write(const void* Buffer, Integer Count) override;
    // Answers the position (the bytes taken so far); it cannot move.
    Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
    void Flush();
    // Bytes taken so far, written or still in the buffer.
    Int64 Taken() const { return FTaken; }

private:
    void WriteOut(const char* p, size_t n);
    void StartWriteback();
    int FFd;
    Int64 FWritten = 0;
    Int64 FWritebackTo = 0;
    std::vector<char> FBuffer;
    size_t FUsed = 0;
    Int64 FTaken = 0;
    bool FFailed = false;
};

// A file's identity (device and inode), so that a file is removed only while
// its name still leads to the very file we created.
struct TFileIdentity {
    bool valid = false;
    uint64_t dev = 0, ino = 0;
};
TFileIdentity FileIdentityOf(int fd);
// Removes path when it is still that file (a regular file with the same
// identity); answers whether it was removed.
bool RemoveOwnFile(const String& path, const TFileIdentity& id);

// A file size limit must make the write fail ("cannot write") instead of
// killing the process: SIGXFSZ is ignored from the first call on.
void IgnoreFileSizeSignal();

// Creates the download's temporary file in folder exclusively (never an
// existing one), choosing eight new random lower-case letters + ".flv" on a
// clash. Answers an open, writable descriptor that the caller closes, and the
// name in filenamet; -1 when the folder does not take a file.
int CreateDownloadFile(const String& folder, String& filenamet);

// What the conversion and naming step works on.
struct TNamingJob {
    String saveto;     // save folder
    String filenamet;  // the downloaded file's temporary name
    String filename;   // the cleaned title
    Integer format = 0;
    Integer server = 0;
    String converter;  // ConverterPath(...)
    int settleMs = 500;  // pause between the converter's end and the renames
};

// How a converter run ended.
struct TConverterRun {
    bool started = false;  // false: it could not be started
    bool stopped = false;  // terminated on request
    Integer exitCode = -1;
};

// Runs the converter with the given command line (and argument vector),
// feeding its error stream to the progress reader; the download thread
// supplies it.
using TRunConverter = std::function<TConverterRun(const String& commandLine,
                                                  const std::vector<String>& arguments)>;

enum class TNamingOutcome {
    noFinished,  // the entry is finished: filename names the result
    noStopped,   // termination was requested: filename unchanged, nothing renamed
    noFailed,    // the conversion failed: filename unchanged, note says why
};

struct TNamingResult {
    TNamingOutcome outcome = TNamingOutcome::noFailed;
    String filename;               // the entry's filename afterwards
    bool converterMissing = false; // show kConverterMissingMessage
    String note;                   // Progress text instead of "100%" / "0%", or ""
};

// Converts (when the format asks for it) and names the files. Renames never
// replace a file: a title name that is taken leaves the download under its
// temporary name, and a converted file whose name is taken gets "_" and three
// random letters before its extension. A stopped conversion removes the
// converter's partial output and leaves the download as it was; a failed one
// (or a converter that cannot be started) removes the output too and
// finishes the download as not converted, under the title name with ".flv",
// with the reason as its note.
TNamingResult ConvertAndName(const TNamingJob& job, const TRunConverter& run,
                             const std::function<bool()>& terminated);

// ---------------------------------------------------------------------------
// The download thread

class TIdHTTP;

// What a download changes in the window. Every call arrives on the
// user-interface thread.
class IDownloadView {
public:
    virtual ~IDownloadView() = default;
    // The entry's Size and Progress texts; an empty text stays as it is.
    virtual void SetRowTexts(TItemKey key, const String& sizeText, const String& progressText) = 0;
    virtual void EnableButtons() = 0;
    // The converter-missing box; the download waits until it is closed.
    virtual void ShowConverterMissing() = 0;
};

struct TDownloadSettings {
    THttpSettings http;
    String appFolder;       // where the converter is looked for
    int rowUpdateMs = 100;  // at most one row update per this many ms
    int settleMs = 500;     // pause between the converter's end and the renames
};

// Short texts for the Progress column of a failed download.
extern const wchar_t* const kNoteDownloadFailed;
extern const wchar_t* const kNoteCannotWrite;
extern const wchar_t* const kNoteStalled;        // no byte for the stall time-out
extern const wchar_t* const kNoteNoConnection;   // the connect time-out passed
extern const wchar_t* const kNoteFolderMissing;  // the save folder went away
extern const wchar_t* const kNoteFileMissing;    // the named file is not there

class TDownloadThread : public TThread {
public:
    TDownloadThread(TItemList& list, TItemKey key, TItemKey token,
                    std::shared_ptr<IDownloadView> view, const TDownloadSettings& settings);
    ~TDownloadThread() override;

    Int64 total_size = 0;  // the length the server announced
    Int64 total = 0;       // bytes so far, while the entry's size is unknown

    // The index of this thread's entry now; -1 when it is gone or another
    // run owns it.
    Integer FindItemIndex() const;

protected:
    void Execute() override;
    void TerminatedSet() override;

private:
    void HttpWorkBegin(Int64 workCountMax);
    void HttpWork(Int64 workCount);
    TConverterRun RunConverter(const String& commandLine, const std::vector<String>& arguments);
    // Writes the entry when this run still owns it.
    bool UpdateEntry(const std::function<void(TItem&)>& fn);
    // Hands row texts and the button states to the user-interface thread.
    void ShowRow(const String& sizeText, const String& progressText);
    void QueueEnableButtons();
    bool RowUpdateDue(bool force);
    // The figures of the bytes received, shown whatever the throttle says:
    // at the end of a transfer, however it ends.
    void ShowFinalFigures();

    TItemList& FList;
    TItemKey FKey;
    TItemKey FToken;
    std::shared_ptr<IDownloadView> FView;
    TDownloadSettings FSettings;
    Int64 FSize = 0;
    String FProgressText = L"0%";
    Integer FShownPercent = 0;   // the percentage the row shows (known length)
    Int64 FReceived = 0;         // bytes received so far
    Int64 FShownReceived = -1;   // the bytes the Size column shows (unknown length)
    uint64_t FLastRowUpdate = 0;
    bool FRowUpdated = false;

    std::mutex FClientLock;
    TIdHTTP* FClient = nullptr;
};

// Download thread objects that still exist (running, or ending and not yet
// freed).
Integer RunningDownloadThreads();

// A fresh download token.
TItemKey NewDownloadToken();

// Start: the entry (ready, listed) becomes downloading and gets a thread
// (created suspended, freed when it ends, lowest priority). False when the
// entry is gone or not ready.
bool StartDownload(TItemList& list, TItemKey key, std::shared_ptr<IDownloadView> view,
                   const TDownloadSettings& settings);

// Stop: asks the entry's download thread, if it still runs, to end, and
// makes the entry ready at once. Never waits for the thread.
void StopDownload(TItemList& list, TItemKey key);

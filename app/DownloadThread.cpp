// The download thread: the media file into a temporary file, progress in the
// entry's row, then conversion and naming.
#include <algorithm>
#include <map>
#include <unistd.h>

#include "app/DownloadJob.h"
#include "app/MainWindow.h"
#include "platform/base/Files.h"
#include "platform/base/Streams.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Http.h"
#include "platform/os/Process.h"

const wchar_t* const kNoteDownloadFailed = L"failed";
const wchar_t* const kNoteCannotWrite = L"cannot write";
const wchar_t* const kNoteStalled = L"stalled";
const wchar_t* const kNoteNoConnection = L"no connection";
const wchar_t* const kNoteFolderMissing = L"folder missing";
const wchar_t* const kNoteFileMissing = L"file missing";

namespace {

// The running download threads by token, so that Stop reaches a thread only
// while it exists. Never destroyed: threads may still end while the process
// exits.
std::mutex& RegistryLock()
{
    static auto* m = new std::mutex;
    return *m;
}

std::map<TItemKey, TDownloadThread*>& Registry()
{
    static auto* r = new std::map<TItemKey, TDownloadThread*>;
    return *r;
}

// A short reason for the Progress column.
String FailureNote(const Exception& e)
{
    if (const auto* p = dynamic_cast<const EIdHTTPProtocolException*>(&e))
        return L"HTTP " + IntToStr(p->ErrorCode());
    if (dynamic_cast<const EWriteError*>(&e) || dynamic_cast<const EStreamError*>(&e))
        return kNoteCannotWrite;
    if (dynamic_cast<const EIdConnectTimeout*>(&e))
        return kNoteNoConnection;
    if (dynamic_cast<const EIdReadTimeout*>(&e))
        return kNoteStalled;
    return kNoteDownloadFailed;
}

String InFolder(const String& folder, const String& name)
{
    return folder.empty() ? name : IncludeTrailingPathDelimiter(folder) + name;
}

}  // namespace

Integer RunningDownloadThreads()
{
    std::lock_guard<std::mutex> g(RegistryLock());
    return static_cast<Integer>(Registry().size());
}

TItemKey NewDownloadToken()
{
    static std::atomic<TItemKey> next{1};
    return next++;
}

TDownloadThread::TDownloadThread(TItemList& list, TItemKey key, TItemKey token,
                                 std::shared_ptr<IDownloadView> view, const TDownloadSettings& settings)
    : TThread(true), FList(list), FKey(key), FToken(token), FView(std::move(view)), FSettings(settings)
{
    std::lock_guard<std::mutex> g(RegistryLock());
    Registry()[FToken] = this;
}

TDownloadThread::~TDownloadThread()
{
    std::lock_guard<std::mutex> g(RegistryLock());
    auto it = Registry().find(FToken);
    if (it != Registry().end() && it->second == this)
        Registry().erase(it);
}

Integer TDownloadThread::FindItemIndex() const
{
    const Integer i = FList.IndexOfKey(FKey);
    TItem item;
    if (i < 0 || !FList.Get(i, item) || item.key != FKey || item.download_token != FToken)
        return -1;
    return i;
}

bool TDownloadThread::UpdateEntry(const std::function<void(TItem&)>& fn)
{
    bool mine = false;
    FList.Update(FKey, [&](TItem& item) {
        mine = item.download_token == FToken;
        if (mine)
            fn(item);
    });
    return mine;
}

void TDownloadThread::ShowRow(const String& sizeText, const String& progressText)
{
    if (!FView)
        return;
    TItemList* list = &FList;
    const TItemKey key = FKey, token = FToken;
    std::shared_ptr<IDownloadView> view = FView;
    TThread::Queue(nullptr, [list, key, token, view, sizeText, progressText] {
        TItem item;
        if (list->GetByKey(key, item) && item.download_token == token)
            view->SetRowTexts(key, sizeText, progressText);
    });
}

void TDownloadThread::QueueEnableButtons()
{
    if (!FView)
        return;
    std::shared_ptr<IDownloadView> view = FView;
    TThread::Queue(nullptr, [view] { view->EnableButtons(); });
}

bool TDownloadThread::RowUpdateDue(bool force)
{
    const uint64_t now = GetTickCount64();
    if (!force && FRowUpdated && now - FLastRowUpdate < static_cast<uint64_t>(FSettings.rowUpdateMs))
        return false;
    FRowUpdated = true;
    FLastRowUpdate = now;
    return true;
}

void TDownloadThread::TerminatedSet()
{
    std::lock_guard<std::mutex> g(FClientLock);
    if (FClient)
        FClient->Disconnect();
}

void TDownloadThread::HttpWorkBegin(Int64 workCountMax)
{
    total_size = workCountMax;
}

void TDownloadThread::HttpWork(Int64 workCount)
{
    FReceived = workCount;
    if (Terminated()) {
        std::lock_guard<std::mutex> g(FClientLock);
        if (FClient)
            FClient->Disconnect();
        return;
    }
    if (FSize == -1) {
        // Unknown length: the bytes so far, and a counter that shows activity.
        total = workCount;
        if (!RowUpdateDue(false))
            return;
        if (FProgressText == L"100%")
            FProgressText = L"0%";
        const Integer n = StrToIntDef(FProgressText.substr(0, FProgressText.size() - 1), 0);
        FProgressText = IntToStr(n + 1) + L"%";
        FShownReceived = total;
        ShowRow(FmtFileSize(total), FProgressText);
        return;
    }
    if (total_size <= 500)
        return;
    // Most blocks leave the percentage as it is: no text is made for them.
    const Int64 pct = Round(static_cast<double>(workCount) / static_cast<double>(total_size) * 100.0);
    if (pct == FShownPercent || !RowUpdateDue(pct >= 100))
        return;
    FShownPercent = static_cast<Integer>(pct);
    FProgressText = IntToStr(pct) + L"%";
    ShowRow(String(), FProgressText);
}

void TDownloadThread::ShowFinalFigures()
{
    if (FSize == -1) {
        total = FReceived;
        if (FReceived != FShownReceived) {
            FShownReceived = FReceived;
            ShowRow(FmtFileSize(FReceived), FProgressText);
        }
        return;
    }
    if (total_size <= 500)
        return;
    const Int64 pct = Round(static_cast<double>(FReceived) / static_cast<double>(total_size) * 100.0);
    if (pct != FShownPercent) {
        FShownPercent = static_cast<Integer>(pct);
        FProgressText = IntToStr(pct) + L"%";
        ShowRow(String(), FProgressText);
    }
}

TConverterRun TDownloadThread::RunConverter(const String& commandLine,
                                            const std::vector<String>& arguments)
{
    TConverterRun run;
    SECURITY_ATTRIBUTES sa;
    sa.bInheritHandle = 1;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return run;

    STARTUPINFO si;
    si.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    si.wShowWindow = 0;  // hidden
    si.hStdInput = nullptr;
    si.hStdOutput = nullptr;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi;
    static const char emptyEnvironment[2] = {0, 0};
    const String program = arguments.empty() ? String() : arguments[0];
    if (!CreateProcess(program.empty() ? nullptr : program.c_str(), commandLine.c_str(), nullptr,
                       nullptr, 1, CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS, emptyEnvironment,
                       nullptr, &si, &pi)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return run;
    }
    run.started = true;
    CloseHandle(writeEnd);

    TConverterProgress progress;
    Integer shown = -1;
    auto show = [&](bool force) {
        const Integer pct = progress.Percent();
        if (pct >= 0 && pct != shown && RowUpdateDue(force || pct == 100)) {
            shown = pct;
            ShowRow(String(), IntToStr(pct) + L"%");
        }
    };
    char buf[4096];
    for (;;) {
        if (Terminated()) {
            TerminateProcess(pi.hProcess, 0);
            run.stopped = true;
            ShowRow(String(), L"0%");
            break;
        }
        // Wait for output in short steps, so that Stop is seen while the
        // converter is silent. The end of its output wakes the wait too.
        if (WaitForSingleObject(readEnd, 50) == WAIT_TIMEOUT)
            continue;
        DWORD got = 0;
        if (!ReadFile(readEnd, buf, sizeof buf, &got) || got == 0)
            break;
        progress.Feed(buf, got);
        show(false);
    }
    progress.Finish();
    if (!run.stopped)
        show(true);

    WaitForSingleObject(pi.hProcess, INFINITE);
    DWORD code = 0;
    if (GetExitCodeProcess(pi.hProcess, &code))
        run.exitCode = static_cast<Integer>(code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    CloseHandle(readEnd);
    return run;
}

void TDownloadThread::Execute()
{
    total_size = 0;
    total = 0;

    TItem item;
    if (!FList.GetByKey(FKey, item) || item.download_token != FToken)
        return;
    FSize = item.size;
    UpdateEntry([](TItem& it) {
        it.status = status_downloading;
        it.thread_id = GetCurrentThreadId();
    });

    // Ends the run with the entry ready again and a note in its row ("":
    // the row keeps what it shows).
    auto endReady = [this](const String& progressText) {
        UpdateEntry([](TItem& it) { it.status = status_ready; });
        if (!progressText.empty())
            ShowRow(String(), progressText);
        QueueEnableButtons();
    };

    String filenamet;
    const int fd = CreateDownloadFile(item.saveto, filenamet);
    if (fd < 0) {
        endReady(Terminated() ? String(L"0%") : String(kNoteCannotWrite));
        return;
    }
    const TFileIdentity ownFile = FileIdentityOf(fd);
    const String tempPath = InFolder(item.saveto, filenamet);
    UpdateEntry([&](TItem& it) { it.filenamet = filenamet; });

    bool failed = false;
    String note;
    {
        TMediaFile file(fd);
        TIdHTTP http;
        TIdSSLIOHandlerSocketOpenSSL tls;
        ConfigureHttpClient(http, tls, FSettings.http);
        http.OnWorkBegin = [this](TObject*, TWorkMode, Int64 max) { HttpWorkBegin(max); };
        http.OnWork = [this](TObject*, TWorkMode, Int64 count) { HttpWork(count); };
        std::unique_ptr<TIdCookieManager> cookies;
        if (item.idcookiemanager) {
            cookies = std::make_unique<TIdCookieManager>();
            cookies->AddCookies(item.idcookiemanager);
            http.SetCookieManager(cookies.get());
        }
        if (item.server == site_xhamster)
            http.Request()->SetReferer(kXhamsterRootAddress);
        {
            std::lock_guard<std::mutex> g(FClientLock);
            FClient = &http;
        }
        try {
            if (!Terminated())
                http.Get(item.url, file);
        } catch (const Exception& e) {
            failed = true;
            note = FailureNote(e);
        }
        {
            std::lock_guard<std::mutex> g(FClientLock);
            FClient = nullptr;
        }
        // Every byte received reaches the file before it is named (or
        // removed); a write that fails now fails the download.
        try {
            file.Flush();
        } catch (const Exception& e) {
            if (!failed) {
                failed = true;
                note = FailureNote(e);
            }
        }
    }
    ShowFinalFigures();

    if (Terminated() || failed) {
        // There is no resume: our partial file only fills the disk.
        ::close(fd);
        RemoveOwnFile(tempPath, ownFile);
        endReady(Terminated() ? String() : note);
        return;
    }
    ::close(fd);

    FProgressText = L"0%";
    ShowRow(String(), FProgressText);
    TNamingJob job;
    job.saveto = item.saveto;
    job.filenamet = filenamet;
    job.filename = item.filename;
    job.format = item.format;
    job.server = item.server;
    job.converter = ConverterPath(FSettings.appFolder);
    job.settleMs = FSettings.settleMs;
    const TNamingResult r = ConvertAndName(
        job, [this](const String& cmd, const std::vector<String>& args) { return RunConverter(cmd, args); },
        [this] { return Terminated(); });

    if (r.converterMissing && FView) {
        std::shared_ptr<IDownloadView> view = FView;
        Synchronize([view] { view->ShowConverterMissing(); });
    }

    switch (r.outcome) {
    case TNamingOutcome::noFinished: {
        // Finished only with the file in place: a save folder that went
        // away, or a rename that failed, leaves the entry ready.
        if (!FileExists(InFolder(item.saveto, r.filename))) {
            endReady(DirectoryExists(item.saveto) ? kNoteFileMissing : kNoteFolderMissing);
            break;
        }
        // The files have their names now: a Stop that comes this late does
        // not undo that.
        UpdateEntry([&](TItem& it) {
            it.filename = r.filename;
            it.status = status_finished;
        });
        ShowRow(String(), r.note.empty() ? String(L"100%") : r.note);
        QueueEnableButtons();
        break;
    }
    case TNamingOutcome::noStopped:
        RemoveOwnFile(tempPath, ownFile);
        endReady(L"0%");
        break;
    case TNamingOutcome::noFailed:
        endReady(r.note);
        break;
    }
}

bool StartDownload(TItemList& list, TItemKey key, std::shared_ptr<IDownloadView> view,
                   const TDownloadSettings& settings)
{
    const TItemKey token = NewDownloadToken();
    bool ready = false;
    list.Update(key, [&](TItem& item) {
        ready = item.status == status_ready && !item.title.empty();
        if (ready) {
            item.status = status_downloading;
            item.download_token = token;
            item.thread_id = 0;
        }
    });
    if (!ready)
        return false;
    IgnoreFileSizeSignal();
    auto* t = new TDownloadThread(list, key, token, std::move(view), settings);
    list.Update(key, [&](TItem& item) {
        if (item.download_token == token)
            item.thread = t;
    });
    t->SetFreeOnTerminate(true);
    t->SetPriority(tpLowest);
    t->Start();
    return true;
}

void StopDownload(TItemList& list, TItemKey key)
{
    TItemKey token = 0;
    list.Update(key, [&](TItem& item) {
        token = item.download_token;
        item.status = status_ready;
        item.thread = nullptr;
    });
    if (token == 0)
        return;
    std::lock_guard<std::mutex> g(RegistryLock());
    auto it = Registry().find(token);
    if (it != Registry().end())
        it->second->Terminate();
}

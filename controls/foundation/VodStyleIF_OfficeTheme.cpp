// Office theme detection and the theme notifier of VodStyleIF.
#include <vector>

#include "controls/foundation/VodStyleIF.h"
#include "platform/base/SysUtils.h"
#include "platform/os/Modules.h"
#include "platform/os/Version.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Themes.h"
#include "platform/ui/Windows.h"

// ---------------------------------------------------------------------------
// Detection
// ---------------------------------------------------------------------------

Integer GetOfficeVersion()
{
    static const wchar_t* const keys[] = {
        L"Software\\Microsoft\\Office\\11.0\\Common\\General",
        L"Software\\Microsoft\\Office\\12.0\\Common\\General",
        L"Software\\Microsoft\\Office\\14.0\\Common\\General",
        L"Software\\Microsoft\\Office\\15.0\\Common\\General",
        L"Software\\Microsoft\\Office\\16.0\\Common\\General",
    };
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    Integer version = 0;
    for (Integer i = 0; i < Integer(std::size(keys)); ++i)
        if (reg.KeyExists(keys[i])) version = i;   // the last one found decides
    return version;
}

Integer ReadOfficeThemeValue(const String& Key, const String& Name)
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.KeyExists(Key) || !reg.OpenKeyReadOnly(Key)) return -1;
    Integer value = -1;
    // A value of another type than a 32-bit integer counts as missing rather
    // than raising out of the theme query.
    if (reg.ValueExists(Name) && reg.GetDataType(Name) == rdInteger && reg.GetDataSize(Name) == 4) {
        try {
            value = reg.ReadInteger(Name);
        } catch (const ERegistryException&) {
            value = -1;
        }
    }
    reg.CloseKey();
    return value;
}

Integer GetXPColorScheme()
{
    OSVERSIONINFO os;
    if (!GetVersionEx(&os)) return 0;
    if (!(os.dwMajorVersion > 5 || (os.dwMajorVersion == 5 && os.dwMinorVersion >= 1))) return 0;

    HMODULE lib = LoadLibrary(L"uxtheme.dll");
    if (!lib) return 0;
    Integer result = 0;
    using TIsThemeActive = BOOL (*)();
    using TGetCurrentThemeName = HRESULT (*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
    auto isThemeActive = reinterpret_cast<TIsThemeActive>(GetProcAddress(lib, "IsThemeActive"));
    if (isThemeActive && isThemeActive()) {
        // Common controls 6 or later.
        bool commonControls6 = false;
        DWORD size = GetFileVersionInfoSize(L"COMCTL32.DLL", nullptr);
        if (size > 0) {
            std::vector<Byte> block(size);
            void* fixed = nullptr;
            UINT len = 0;
            if (GetFileVersionInfo(L"COMCTL32.DLL", 0, size, block.data()) &&
                VerQueryValue(block.data(), L"\\", &fixed, &len) && fixed && len >= sizeof(VS_FIXEDFILEINFO))
                commonControls6 = HIWORD(static_cast<VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS) > 5;
        }
        auto themeName = reinterpret_cast<TGetCurrentThemeName>(GetProcAddress(lib, "GetCurrentThemeName"));
        if (commonControls6 && themeName) {
            wchar_t file[255] = {}, colour[255] = {}, sizeName[255] = {};
            themeName(file, 255, colour, 255, sizeName, 255);
            const String name = colour;
            // A literal matches when the scheme name occurs within it; an
            // empty name matches none.
            static const wchar_t* const schemes[] = {L"NormalColor", L"HomeStead", L"Metallic"};
            if (!name.empty())
                for (Integer i = 0; i < 3; ++i)
                    if (Pos(name, schemes[i]) > 0) {
                        result = i + 1;
                        break;
                    }
        }
    }
    FreeLibrary(lib);
    return result;
}

TOfficeTheme GetOfficeTheme()
{
    Integer v = ReadOfficeThemeValue(L"Software\\Microsoft\\Office\\16.0\\Common", L"UI Theme");
    if (v != -1) {
        switch (v) {
        case 0:
        case 3: return ot2016White;
        case 2: return ot2016Black;
        case 5: return ot2016Gray;
        default: return ot2003Blue;
        }
    }
    v = ReadOfficeThemeValue(L"Software\\Microsoft\\Office\\15.0\\Common", L"UI Theme");
    if (v != -1) {
        switch (v) {
        case 0: return ot2013White;
        case 1: return ot2013Silver;
        case 2: return ot2013Gray;
        default: return ot2003Blue;
        }
    }
    v = ReadOfficeThemeValue(L"Software\\Microsoft\\Office\\14.0\\Common", L"Theme");
    if (v != -1) {
        switch (v) {
        case 1: return ot2010Blue;
        case 2: return ot2010Silver;
        case 3: return ot2010Black;
        default: return ot2003Blue;
        }
    }
    v = ReadOfficeThemeValue(L"Software\\Microsoft\\Office\\12.0\\Common", L"Theme");
    if (v != -1) {
        switch (v) {
        case 1: return ot2007Blue;
        case 2: return ot2007Silver;
        case 3: return ot2007Black;
        default: return ot2003Blue;
        }
    }
    switch (GetXPColorScheme()) {
    case 1: return ot2003Blue;
    case 2: return ot2003Olive;
    case 3: return ot2003Silver;
    default: return ot2003Classic;
    }
}

// ---------------------------------------------------------------------------
// The handle list and the watch thread
// ---------------------------------------------------------------------------

void THandleList::DeleteValue(NativeInt Value)
{
    Integer i = IndexOf(reinterpret_cast<void*>(Value));
    if (i >= 0) Delete(i);
}

TRegMonitorThread::TRegMonitorThread()
    : TThread(true), FReg(std::make_unique<TRegistry>()),
      // Its own event, unnamed: no other watch, here or in another process,
      // can reset or signal it.
      FEvent(CreateEvent(nullptr, 1, 0, String()))
{
}

TRegMonitorThread::~TRegMonitorThread()
{
    // The base destructor stops and joins a thread still running; the
    // notifier has waited for it already.
    if (Started() && !Finished()) {
        Stop();
        WaitFor();
    }
    FReg.reset();
    if (FEvent) CloseHandle(FEvent);
}

void TRegMonitorThread::AddWindow(NativeInt Wnd)
{
    std::lock_guard<std::mutex> g(FWinListLock);
    if (!FWinList.HasValue(Wnd)) FWinList.Add(Wnd);
}

void TRegMonitorThread::RemoveWindow(NativeInt Wnd)
{
    std::lock_guard<std::mutex> g(FWinListLock);
    FWinList.DeleteValue(Wnd);
}

bool TRegMonitorThread::HasWindow(NativeInt Wnd) const
{
    std::lock_guard<std::mutex> g(FWinListLock);
    return FWinList.HasValue(Wnd);
}

std::vector<NativeInt> TRegMonitorThread::WinListCopy() const
{
    std::lock_guard<std::mutex> g(FWinListLock);
    std::vector<NativeInt> copy;
    copy.reserve(size_t(FWinList.Count()));
    for (Integer i = 0; i < FWinList.Count(); ++i) copy.push_back(FWinList.GetInteger(i));
    return copy;
}

void TRegMonitorThread::Stop()
{
    Terminate();   // TerminatedSet wakes the wait
}

void TRegMonitorThread::TerminatedSet()
{
    if (FEvent) SetEvent(FEvent);
}

void TRegMonitorThread::Execute()
{
    FReg->SetRootKey(FRootKey);
    if (!FReg->OpenKeyReadOnly(FKey)) throw ERegistryException(L"Unable to open registry key " + FKey);

    const HKEY key = FReg->CurrentKey();
    RegNotifyChangeKeyValue(key, FWatchSub ? 1 : 0, DWORD(Filter()), FEvent, 1);
    ++FWatches;
    while (!Terminated()) {
        if (WaitForSingleObject(FEvent, INFINITE) != WAIT_OBJECT_0) continue;
        if (Terminated()) break;
        // Sent, not posted: each handler runs on its window's thread before
        // the next window hears of it. The path lives on this thread's stack
        // for the duration of the calls.
        const String path = FKey;
        const WPARAM root = WPARAM(FRootKey);
        const LPARAM text = LPARAM(reinterpret_cast<intptr_t>(path.c_str()));
        if (FWnd) SendMessage(FWnd, WM_OFFICETHEMECHANGED, root, text);
        for (NativeInt wnd : WinListCopy())
            SendMessage(reinterpret_cast<HWND>(wnd), WM_OFFICETHEMECHANGED, root, text);
        ++FPasses;
        ResetEvent(FEvent);
        if (Terminated()) break;
        RegNotifyChangeKeyValue(key, FWatchSub ? 1 : 0, DWORD(Filter()), FEvent, 1);
        ++FWatches;
    }
}

// ---------------------------------------------------------------------------
// The notifier
// ---------------------------------------------------------------------------

void TThemeNotifierWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_OFFICETHEMECHANGED && OnOfficeThemeChange) OnOfficeThemeChange(this);
    TWinControl::WndProc(Message);
}

namespace {

TThemeNotifier* GNotifier = nullptr;   // the shared one (user-interface thread only)

const wchar_t* const KWatchedKeys[] = {
    L"Software\\Microsoft\\Office\\12.0\\Common",
    L"Software\\Microsoft\\Office\\14.0\\Common",
    L"Software\\Microsoft\\Office\\15.0\\Common",
    L"Software\\Microsoft\\Office\\16.0\\Common",
};

}  // namespace

TThemeNotifier::TThemeNotifier(TComponent* AOwner) : TComponent(AOwner)
{
    if (ComponentState().Contains(csDesigning)) return;
    const Integer version = GetOfficeVersion();
    if (version < 1 || version > 4) return;

    FNotifier = new TThemeNotifierWindow(this);
    FNotifier->SetParent(CheckedCast<TWinControl>(AOwner));
    FNotifier->SetVisible(false);
    FNotifier->OnOfficeThemeChange = [this](TObject* Sender) { ThemeChanged(Sender); };

    auto thread = std::make_unique<TRegMonitorThread>();
    thread->SetWnd(FNotifier->Handle());   // makes the window now
    thread->SetFilter(REG_NOTIFY_CHANGE_LAST_SET);
    thread->SetKey(KWatchedKeys[version - 1]);
    thread->SetRootKey(HKEY_CURRENT_USER);
    thread->SetWatchSub(true);
    FRegMonitorThread = std::move(thread);
    FRegMonitorThread->Start();
}

TThemeNotifier::~TThemeNotifier()
{
    if (FRegMonitorThread) {
        // A thread that ended on its own (its key could not be opened) is
        // not stopped; one still watching is, and this thread keeps
        // answering the messages it sends until it has ended.
        if (!FRegMonitorThread->Finished()) FRegMonitorThread->Stop();
        while (!FRegMonitorThread->Finished()) {
            MSG msg;
            PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);   // runs the sent ones
            CheckSynchronize(1);
        }
        FRegMonitorThread->WaitFor();
        FRegMonitorThread.reset();
    }
    if (GNotifier == this) GNotifier = nullptr;
    if (FNotifier) FNotifier->OnOfficeThemeChange = nullptr;
}

void TThemeNotifier::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FNotifier) FNotifier = nullptr;
}

void TThemeNotifier::RegisterWindow(HWND Hwnd)
{
    if (WatchRunning()) FRegMonitorThread->AddWindow(reinterpret_cast<NativeInt>(Hwnd));
}

void TThemeNotifier::UnRegisterWindow(HWND Hwnd)
{
    if (WatchRunning()) FRegMonitorThread->RemoveWindow(reinterpret_cast<NativeInt>(Hwnd));
}

void TThemeNotifier::ThemeChanged(TObject*)
{
    if (OnOfficeThemeChange) OnOfficeThemeChange(this);
}

TThemeNotifier* GetThemeNotifier(TComponent* AOwner)
{
    if (!GNotifier) {
        TComponent* owner = AOwner;
        if (Application && Application->MainForm() && Application->MainForm()->HandleAllocated())
            owner = Application->MainForm();
        GNotifier = new TThemeNotifier(owner);
    }
    return GNotifier;
}

// VodStyleIF: the words in which a control of the library is told how to
// look (component styles, Office themes, colour tones and the three style
// interfaces), a few small routines many controls share, and the Office
// theme detection with its change notifier.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/base/Lists.h"
#include "platform/base/Objects.h"
#include "platform/base/Registry.h"
#include "platform/base/Threads.h"
#include "platform/base/Types.h"
#include "platform/gfx/Colors.h"
#include "platform/ui/Controls.h"

// One byte; the ordinals are fixed (tsCustom sits in the middle on purpose).
enum TQelStyle : Byte {
    tsOffice2003Blue,       // 0
    tsOffice2003Silver,     // 1
    tsOffice2003Olive,      // 2
    tsOffice2003Classic,    // 3
    tsOffice2007Luna,       // 4
    tsOffice2007Obsidian,   // 5
    tsWindowsXP,            // 6
    tsWhidbey,              // 7
    tsCustom,               // 8
    tsOffice2007Silver,     // 9
    tsWindowsVista,         // 10
    tsWindows7,             // 11
    tsTerminal,             // 12
    tsOffice2010Blue,       // 13
    tsOffice2010Silver,     // 14
    tsOffice2010Black,      // 15
    tsWindows8,             // 16
    tsOffice2013White,      // 17
    tsOffice2013LightGray,  // 18
    tsOffice2013Gray,       // 19
    tsWindows10,            // 20
    tsOffice2016White,      // 21
    tsOffice2016Gray,       // 22
    tsOffice2016Black,      // 23
};

// The Office colour theme the user has chosen; GetOfficeTheme never answers
// otUnknown.
enum TOfficeTheme : Byte {
    ot2003Blue,     // 0
    ot2003Silver,   // 1
    ot2003Olive,    // 2
    ot2003Classic,  // 3
    ot2007Blue,     // 4
    ot2007Silver,   // 5
    ot2007Black,    // 6
    ot2010Blue,     // 7
    ot2010Silver,   // 8
    ot2010Black,    // 9
    ot2013White,    // 10
    ot2013Silver,   // 11
    ot2013Gray,     // 12
    ot2016White,    // 13
    ot2016Gray,     // 14
    ot2016Black,    // 15
    otUnknown,      // 16
};

// Which way a gradient of the library's panels and menus runs: gdVertical
// changes the colour from top to bottom, gdHorizontal from left to right.
enum TGradientDirection : Byte { gdVertical, gdHorizontal };

// Fill, frame and text colour of one element (system colours and clNone allowed).
struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
    friend bool operator==(const TColorTone&, const TColorTone&) = default;
};

// The tones of a control: resting face, content area, a selected or pressed
// element, an element under the mouse, a disabled element.
struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
    friend bool operator==(const TColorTones&, const TColorTones&) = default;
};

// The style interfaces. Implementers are components (see TComponentInterfaces
// in platform/base/Objects.h): asking for an interface or dropping it never
// frees one, so a caller holds the interface only while the component lives.
struct IQelStyle : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{11AC2DDC-C087-4298-AB6E-EA1B5017511B}");
    virtual void SetComponentStyle(TQelStyle AStyle) = 0;
};
VEL_INTERFACE(IQelStyle)

// IQelStyle plus an application colour from which the implementer derives
// its shades (clNone: none). SetComponentStyle is declared again, as the
// interface's own entry; an implementer's one SetComponentStyle answers both,
// and its effect is SetComponentStyleAndAppColor(AStyle, clNone).
struct IQelStyleEx : virtual IQelStyle {
    static constexpr TGUID IID = MakeGUID("{037BA87F-7CBD-4FDD-854E-2B3F0BCC06AE}");
    void SetComponentStyle(TQelStyle AStyle) override = 0;
    virtual void SetComponentStyleAndAppColor(TQelStyle AStyle, TColor AppColor) = 0;
};
VEL_INTERFACE(IQelStyleEx)

struct IQelTones : virtual IUnknown {
    static constexpr TGUID IID = MakeGUID("{1F492643-6699-4F25-8B34-3233FA735036}");
    virtual void SetColorTones(TColorTones ATones) = 0;
};
VEL_INTERFACE(IQelTones)

inline constexpr TGUID IID_IQelStyle = IQelStyle::IID;
inline constexpr TGUID IID_IQelStyleEx = IQelStyleEx::IID;
inline constexpr TGUID IID_IQelTones = IQelTones::IID;

// True when "kernel32" is loaded and exports "GetLocaleInfoEx".
bool IsVistaOrLater();
// "Segoe UI" from Vista on, "Tahoma" before.
String DefaultFontName();
// Each channel of Color (a system colour resolved now) times
// (100 - Percent) / 100, rounded half to even, capped at 255; a negative
// Percent lightens. The result is a plain RGB colour.
TColor DarkenColor(TColor Color, Integer Percent);
// All fifteen colours clNone: tones that have not been set.
TColorTones EmptyColorTones();

// ---------------------------------------------------------------------------
// Office theme detection and the theme notifier
// ---------------------------------------------------------------------------

// Sent (never posted) when the watched Office settings change: wParam the
// watched root key, lParam the watched key path as a NUL-terminated wide
// string, valid during the call only.
constexpr UINT WM_OFFICETHEMECHANGED = 2993;

// The installed Office under the current user: the last of the 11.0, 12.0,
// 14.0, 15.0 and 16.0 "Common\General" keys that exists gives 0 (11.0, or
// none), 1, 2, 3 or 4.
Integer GetOfficeVersion();
// A theme value of the Office key (a 32-bit integer), or -1 when the key or
// value is missing or the value is of another type.
Integer ReadOfficeThemeValue(const String& Key, const String& Name);
// The colour scheme of the Windows XP look: 0 (no active theme or an unknown
// scheme), 1 "NormalColor", 2 "HomeStead", 3 "Metallic".
Integer GetXPColorScheme();
// The Office theme the user has chosen (never otUnknown). The newest Office
// that has a theme value decides; a value its table does not list gives
// ot2003Blue. Without Office, the Windows XP colour scheme decides.
TOfficeTheme GetOfficeTheme();

// Window handles stored as integers.
class THandleList : public TList {
    VEL_CLASS(THandleList, TList)
public:
    Integer Add(NativeInt Value) { return TList::Add(reinterpret_cast<void*>(Value)); }
    void Insert(Integer Index, NativeInt Value) { TList::Insert(Index, reinterpret_cast<void*>(Value)); }
    using TList::Delete;
    // Removes the first entry equal to Value, if any.
    void DeleteValue(NativeInt Value);
    bool HasValue(NativeInt Value) const { return IndexOf(reinterpret_cast<void*>(Value)) >= 0; }
    NativeInt GetInteger(Integer Index) const { return reinterpret_cast<NativeInt>(TList::Items(Index)); }
    void SetInteger(Integer Index, NativeInt Value) { TList::SetItems(Index, reinterpret_cast<void*>(Value)); }
    // Items[Index]
    NativeInt Items(Integer Index) const { return GetInteger(Index); }
    void SetItems(Integer Index, NativeInt Value) { SetInteger(Index, Value); }
};

// Watches a registry key and, on every change, sends WM_OFFICETHEMECHANGED
// to Wnd and then to every window of its list, so the handlers run on the
// windows' own thread, one after another.
//
// Each watch has its own unnamed event. The window list is shared with the
// user-interface thread: it is guarded, and each pass sends to a copy taken
// under the guard. The thread does not free itself: whoever created it stops
// it, waits for it and frees it (see TThemeNotifier).
class TRegMonitorThread : public TThread {
public:
    // Created suspended.
    TRegMonitorThread();
    ~TRegMonitorThread() override;

    const String& Key() const { return FKey; }
    void SetKey(const String& Value) { FKey = Value; }
    HKEY RootKey() const { return FRootKey; }
    void SetRootKey(HKEY Value) { FRootKey = Value; }
    bool WatchSub() const { return FWatchSub; }
    void SetWatchSub(bool Value) { FWatchSub = Value; }
    HWND Wnd() const { return FWnd; }
    void SetWnd(HWND Value) { FWnd = Value; }
    // 0 reads as 15: every kind of change.
    Integer Filter() const { return FFilter == 0 ? 15 : FFilter; }
    void SetFilter(Integer Value)
    {
        if (Value != FFilter) FFilter = Value;
    }

    // The window list, under its guard.
    void AddWindow(NativeInt Wnd);          // once: a second add keeps one entry
    void RemoveWindow(NativeInt Wnd);       // nothing when it is not there
    bool HasWindow(NativeInt Wnd) const;
    std::vector<NativeInt> WinListCopy() const;

    // Terminate, then wake the wait.
    void Stop();
    // Passes of sending so far (for tests and diagnostics).
    Integer Passes() const { return FPasses.load(); }
    // How often the thread has placed its watch on the key so far: a change
    // is reported only when made after the watch is in place.
    Integer Watches() const { return FWatches.load(); }

protected:
    void Execute() override;
    void TerminatedSet() override;

private:
    std::unique_ptr<TRegistry> FReg;
    HANDLE FEvent = nullptr;
    String FKey;
    HKEY FRootKey = HKEY_CURRENT_USER;
    bool FWatchSub = false;
    Integer FFilter = 0;
    HWND FWnd = nullptr;
    mutable std::mutex FWinListLock;
    THandleList FWinList;
    std::atomic<Integer> FPasses{0};
    std::atomic<Integer> FWatches{0};
};

// The notifier's hidden window: fires OnOfficeThemeChange (Sender = the
// window) on WM_OFFICETHEMECHANGED before the message's normal processing.
class TThemeNotifierWindow : public TWinControl {
    VEL_CLASS(TThemeNotifierWindow, TWinControl)
public:
    explicit TThemeNotifierWindow(TComponent* AOwner) : TWinControl(AOwner) {}
    TNotifyEvent OnOfficeThemeChange;

    void WndProc(TMessage& Message) override;
};

// Tells its owner (and the windows registered with it) that the user chose
// another Office theme. Only with Office 2007 or later installed does it
// have a hidden window and a watch thread; otherwise registration does
// nothing and no message ever comes.
class TThemeNotifier : public TComponent {
    VEL_CLASS(TThemeNotifier, TComponent)
public:
    // AOwner must be a windowed control (the hidden window's parent).
    explicit TThemeNotifier(TComponent* AOwner);
    // Stops the watch thread and waits for it to end, answering the messages
    // it sends meanwhile, so no thread outlives its notifier.
    ~TThemeNotifier() override;

    void RegisterWindow(HWND Hwnd);
    void UnRegisterWindow(HWND Hwnd);

    // Fired on the user-interface thread, Sender = the notifier.
    TNotifyEvent OnOfficeThemeChange;

    TRegMonitorThread* RegMonitorThread() const { return FRegMonitorThread.get(); }
    TThemeNotifierWindow* NotifierWindow() const { return FNotifier; }

protected:
    // The hidden window may go first, with its parent.
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ThemeChanged(TObject* Sender);
    bool WatchRunning() const { return FRegMonitorThread && !FRegMonitorThread->Finished(); }

    std::unique_ptr<TRegMonitorThread> FRegMonitorThread;
    TThemeNotifierWindow* FNotifier = nullptr;   // owned as a child component
};

// The shared notifier, created on the first call: owned by the application's
// main form when there is one with a window, otherwise by AOwner. Destroying
// it clears the shared reference; the next call creates a new one.
TThemeNotifier* GetThemeNotifier(TComponent* AOwner);

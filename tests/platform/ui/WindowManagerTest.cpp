#include <atomic>
#include <thread>

#include "platform/ui/Themes.h"
#include "tests/platform/ui/WmTestSupport.h"

namespace {

std::vector<UINT> Only(const std::vector<UINT>& msgs, std::initializer_list<UINT> keep)
{
    std::vector<UINT> r;
    for (UINT m : msgs)
        for (UINT k : keep)
            if (m == k) r.push_back(m);
    return r;
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation and destruction

TEST_F(WmTest, CreateSendsCreationMessagesInOrderThenShowsAndActivates)
{
    HWND h = Top(10, 20, 300, 200);
    ASSERT_TRUE(IsWindow(h));
    auto msgs = Only(Log().Msgs(h), {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE,
                                     WM_SHOWWINDOW, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                                     WM_SETFOCUS});
    std::vector<UINT> want{WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                           WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS};
    EXPECT_EQ(msgs, want);
    EXPECT_EQ(GetActiveWindow(), h);
    EXPECT_EQ(GetFocus(), h);
    // The frame of an overlapped window: sizing border and caption.
    TRect c;
    GetClientRect(h, &c);
    EXPECT_EQ(c, Rect(0, 0, 300 - 8, 200 - 8 - GetSystemMetrics(SM_CYCAPTION)));
    EXPECT_EQ(GetWindowText(h), L"top");
}

TEST_F(WmTest, CreateFailsForUnknownClassAndWhenCreateRefuses)
{
    EXPECT_EQ(CreateWindowEx(0, L"NoSuchClass", L"", 0, 0, 0, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateWindowEx(0, L"LogWnd", L"", WS_CHILD, 0, 0, 1, 1, nullptr), nullptr);

    Log().Ignored.push_back(0);
    static int refusals = 0;
    WNDCLASS wc;
    wc.lpszClassName = L"Refuser";
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_CREATE) {
            ++refusals;
            return -1;
        }
        return DefWindowProc(h, m, w, l);
    };
    ASSERT_NE(RegisterClass(wc), 0);
    EXPECT_EQ(RegisterClass(wc), 0) << "a class name is registered once";
    EXPECT_EQ(CreateWindowEx(0, L"refuser", L"", WS_POPUP, 0, 0, 5, 5, nullptr), nullptr)
        << "class names are case-insensitive and WM_CREATE -1 fails creation";
    EXPECT_EQ(refusals, 1);
    UnregisterClass(L"Refuser");
}

TEST_F(WmTest, DestroyGoesToOwnedWindowsFirstThenDownAndBackUp)
{
    HWND owner = Top(0, 0, 200, 200);
    HWND child = Child(owner, 0, 0, 50, 50);
    HWND grand = Child(child, 0, 0, 10, 10);
    HWND owned = Top(10, 10, 50, 50, WS_POPUP | WS_VISIBLE, 0, owner);
    Log().Clear();
    ASSERT_TRUE(DestroyWindow(owner));
    std::vector<std::pair<HWND, UINT>> got;
    for (auto& e : Log().Entries)
        if (e.msg == WM_DESTROY || e.msg == WM_NCDESTROY) got.push_back({e.hwnd, e.msg});
    std::vector<std::pair<HWND, UINT>> want{
        {owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {owner, WM_DESTROY}, {child, WM_DESTROY},
        {grand, WM_DESTROY}, {grand, WM_NCDESTROY}, {child, WM_NCDESTROY}, {owner, WM_NCDESTROY}};
    EXPECT_EQ(got, want);
    for (HWND h : {owner, child, grand, owned}) EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(DestroyWindow(owner)) << "a stale handle is no window";
}

TEST_F(WmTest, WmCloseDefaultsToDestroy)
{
    HWND h = Top(0, 0, 100, 100);
    SendMessage(h, WM_CLOSE);
    EXPECT_FALSE(IsWindow(h));
}

// ---------------------------------------------------------------------------
// Window longs and subclassing

namespace {
WNDPROC gOldProc = nullptr;
std::vector<String> gChain;
LRESULT OuterProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_USER + 1) {
        gChain.push_back(L"outer");
        return CallWindowProc(gOldProc, h, m, w, l) + 100;
    }
    return CallWindowProc(gOldProc, h, m, w, l);
}
}  // namespace

TEST_F(WmTest, SubclassingChainsThroughCallWindowProc)
{
    HWND h = Top(0, 0, 100, 100);
    Log().Handlers[{h, WM_USER + 1}] = [](WPARAM, LPARAM) -> LRESULT {
        gChain.push_back(L"class");
        return 7;
    };
    gChain.clear();
    gOldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(h, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(&OuterProc))));
    EXPECT_EQ(gOldProc, &TWmLog::Proc);
    EXPECT_EQ(SendMessage(h, WM_USER + 1), 107);
    EXPECT_EQ(gChain, (std::vector<String>{L"outer", L"class"}));
    SetWindowLongPtr(h, GWL_WNDPROC, LONG_PTR(reinterpret_cast<intptr_t>(gOldProc)));
    gChain.clear();
    EXPECT_EQ(SendMessage(h, WM_USER + 1), 7);
    EXPECT_EQ(gChain, std::vector<String>{L"class"});

    SetWindowLongPtr(h, GWL_USERDATA, 1234);
    EXPECT_EQ(GetWindowLongPtr(h, GWL_USERDATA), 1234);
    LONG style = GetWindowLong(h, GWL_STYLE);
    EXPECT_TRUE(style & WS_VISIBLE);
    Log().Clear();
    SetWindowLong(h, GWL_EXSTYLE, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLong(h, GWL_EXSTYLE), LONG(WS_EX_TOOLWINDOW));
    EXPECT_EQ(Only(Log().Msgs(h), {WM_STYLECHANGING, WM_STYLECHANGED}),
              (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
}

// ---------------------------------------------------------------------------
// Queue

TEST_F(WmTest, PostedMessagesWaitForTheLoopAndSentOnesRunAtOnce)
{
    HWND h = Top(0, 0, 100, 100);
    Log().Clear();
    PostMessage(h, WM_USER + 5, 1, 2);
    EXPECT_EQ(Log().Find(h, WM_USER + 5), -1);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 5));
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    DispatchMessage(&msg);
    EXPECT_NE(Log().Find(h, WM_USER + 5), -1);

    PostQuitMessage(3);
    PostMessage(h, WM_USER + 6);
    ASSERT_TRUE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_USER + 6)) << "posted messages come before WM_QUIT";
    EXPECT_FALSE(GetMessage(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WmTest, SendMessageFromAnotherThreadRunsOnTheWindowsThread)
{
    HWND h = Top(0, 0, 100, 100);
    DWORD uiThread = GetCurrentThreadId();
    std::atomic<DWORD> ranOn{0};
    static std::atomic<DWORD>* sRanOn;
    sRanOn = &ranOn;
    Log().Handlers[{h, WM_USER + 9}] = [](WPARAM w, LPARAM) -> LRESULT {
        *sRanOn = GetCurrentThreadId();
        return LRESULT(w * 2);
    };
    std::atomic<LRESULT> result{0};
    std::atomic<bool> posted{false};
    std::thread worker([&] {
        result = SendMessage(h, WM_USER + 9, 21, 0);
        posted = PostMessage(h, WM_USER + 10, 0, 0) != 0;
        PostThreadMessage(uiThread, WM_QUIT, 0, 0);
    });
    MSG msg;
    int seen10 = 0;
    while (GetMessage(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_USER + 10) ++seen10;
        DispatchMessage(&msg);
    }
    // A posted WM_QUIT ends the loop like PostQuitMessage does.
    worker.join();
    EXPECT_EQ(result, 42);
    EXPECT_EQ(ranOn, uiThread);
    EXPECT_TRUE(posted);
    EXPECT_EQ(seen10, 1);
}

TEST_F(WmTest, WaitMessageReturnsOnceWorkQueuedByAWorkerHasRun)
{
    // A loop that waits for a worker's result with WaitMessage must wake when
    // the worker hands its result over, with no message in the queue at all.
    std::atomic<bool> done{false};
    bool ranOnMain = false;
    const DWORD uiThread = GetCurrentThreadId();
    std::thread worker([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        TThread::Queue(nullptr, [&] {
            ranOnMain = GetCurrentThreadId() == uiThread;
            done = true;
        });
    });
    std::atomic<bool> gaveUp{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!done) {
            gaveUp = true;
            PostThreadMessage(uiThread, WM_NULL, 0, 0);  // free the loop so the test can fail
        }
    });
    while (!done && !gaveUp) WaitMessage();
    worker.join();
    watchdog.join();
    EXPECT_FALSE(gaveUp) << "WaitMessage slept through the queued work";
    EXPECT_TRUE(ranOnMain);
}

TEST_F(WmTest, KeyDownTranslatesToCharWithKeyData)
{
    HWND h = Top(0, 0, 100, 100);
    Log().Clear();
    Drv->PressKey('A', {VK_SHIFT});
    auto downs = Log().Of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 2u);  // Shift, then A
    EXPECT_EQ(downs[1].wParam, WPARAM('A'));
    EXPECT_EQ((downs[1].lParam >> 16) & 0xFF, 0x1E) << "scan code";
    EXPECT_EQ(downs[1].lParam & 0xFFFF, 1) << "repeat count";
    auto chars = Log().Of(WM_CHAR);
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0].wParam, WPARAM(L'A'));
    auto ups = Log().Of(WM_KEYUP);
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(uint32_t(ups[0].lParam) >> 30, 3u) << "previous state and transition bits";

    Log().Clear();
    Drv->KeyDown(VK_CONTROL);
    EXPECT_LT(GetKeyState(VK_CONTROL), 0);
    EXPECT_LT(GetKeyState(VK_LCONTROL), 0);
    Drv->KeyUp(VK_CONTROL);
    EXPECT_GE(GetKeyState(VK_CONTROL), 0);

    Log().Clear();
    Drv->PressKey('X', {VK_MENU});
    auto sys = Log().Of(WM_SYSKEYDOWN);
    ASSERT_EQ(sys.size(), 2u);
    EXPECT_TRUE(sys[1].lParam & (1 << 29)) << "context bit with Alt";
    EXPECT_EQ(Log().Of(WM_SYSCHAR).size(), 1u);

    Log().Clear();
    Drv->TypeText(L"a1?");
    std::vector<WPARAM> typed;
    for (auto& e : Log().Of(WM_CHAR)) typed.push_back(e.wParam);
    EXPECT_EQ(typed, (std::vector<WPARAM>{L'a', L'1', L'?'}));
    (void)h;
}

TEST_F(WmTest, KeyNamesAndScanCodes)
{
    struct Case {
        Word vk;
        const wchar_t* name;
    } cases[] = {{VK_RETURN, L"Enter"}, {VK_LEFT, L"Left"}, {VK_NUMPAD4, L"Num 4"},
                 {VK_DELETE, L"Delete"}, {VK_DECIMAL, L"Num Del"}, {VK_F4, L"F4"},
                 {'Q', L"Q"}, {VK_ESCAPE, L"Esc"}, {VK_SPACE, L"Space"}};
    for (auto& c : cases) {
        LONG data = LONG(MapVirtualKey(c.vk, MAPVK_VK_TO_VSC) << 16);
        if (c.vk == VK_LEFT || c.vk == VK_DELETE) data |= 1 << 24;
        EXPECT_EQ(GetKeyNameText(data), c.name) << c.vk;
    }
    EXPECT_EQ(MapVirtualKey(0x1E, MAPVK_VSC_TO_VK), UINT('A'));
    EXPECT_EQ(MapVirtualKey(VK_OEM_COMMA, MAPVK_VK_TO_CHAR), UINT(','));
}

TEST_F(WmTest, RegisteredMessagesAreSharedByNameFrom0xC000)
{
    UINT a = RegisterWindowMessage(L"GridEditShow");
    UINT b = RegisterWindowMessage(L"grideditshow");
    UINT c = RegisterWindowMessage(L"GridEditDone");
    EXPECT_GE(a, 0xC000u);
    EXPECT_LE(a, 0xFFFFu);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(RegisterWindowMessage(L""), 0u);
}

namespace {
std::vector<std::pair<int, UINT>> gHookSeen;
HHOOK gHook1, gHook2;
LRESULT Hook1(int code, WPARAM w, LPARAM l)
{
    gHookSeen.push_back({1, reinterpret_cast<CWPSTRUCT*>(l)->message});
    return CallNextHookEx(gHook1, code, w, l);
}
LRESULT Hook2(int code, WPARAM w, LPARAM l)
{
    gHookSeen.push_back({2, reinterpret_cast<CWPSTRUCT*>(l)->message});
    return CallNextHookEx(gHook2, code, w, l);
}
}  // namespace

TEST_F(WmTest, CallWndProcHooksSeeSentMessagesNewestFirst)
{
    HWND h = Top(0, 0, 100, 100);
    gHookSeen.clear();
    gHook1 = SetWindowsHookEx(WH_CALLWNDPROC, &Hook1, nullptr, GetCurrentThreadId());
    gHook2 = SetWindowsHookEx(WH_CALLWNDPROC, &Hook2, nullptr, GetCurrentThreadId());
    SendMessage(h, WM_USER + 3);
    EXPECT_EQ(gHookSeen, (std::vector<std::pair<int, UINT>>{{2, WM_USER + 3}, {1, WM_USER + 3}}));
    // A parent's move reaches a hook as WM_WINDOWPOSCHANGED.
    gHookSeen.clear();
    SetWindowPos(h, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    bool sawMove = false;
    for (auto& s : gHookSeen) sawMove |= s.second == WM_WINDOWPOSCHANGED;
    EXPECT_TRUE(sawMove);
    EXPECT_TRUE(UnhookWindowsHookEx(gHook2));
    EXPECT_TRUE(UnhookWindowsHookEx(gHook1));
    gHookSeen.clear();
    SendMessage(h, WM_USER + 3);
    EXPECT_TRUE(gHookSeen.empty());
}

// ---------------------------------------------------------------------------
// Timers

namespace {
int gTimerCalls = 0;
void TimerCb(HWND, UINT, UINT_PTR, DWORD) { ++gTimerCalls; }
}  // namespace

TEST_F(WmTest, TimersFollowTheSettableTickCounter)
{
    HWND h = Top(0, 0, 100, 100);
    Log().Clear();
    SetTimer(h, 111, 100, nullptr);
    Drv->Advance(99);
    EXPECT_TRUE(Log().Of(WM_TIMER).empty());
    Drv->Advance(1);
    EXPECT_EQ(Log().Of(WM_TIMER).size(), 1u);
    Drv->Advance(250);
    auto t = Log().Of(WM_TIMER);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].wParam, 111u);
    // Re-setting the same id restarts it.
    SetTimer(h, 111, 500, nullptr);
    Drv->Advance(499);
    EXPECT_EQ(Log().Of(WM_TIMER).size(), 3u);
    EXPECT_TRUE(KillTimer(h, 111));
    Drv->Advance(2000);
    EXPECT_EQ(Log().Of(WM_TIMER).size(), 3u);
    EXPECT_FALSE(KillTimer(h, 111));

    gTimerCalls = 0;
    UINT_PTR id = SetTimer(nullptr, 0, 50, &TimerCb);
    EXPECT_NE(id, 0u);
    Drv->Advance(200);
    EXPECT_EQ(gTimerCalls, 4);
    KillTimer(nullptr, id);
    // A late loop gets one WM_TIMER, not a pile.
    SetTimer(h, 7, 10, nullptr);
    Log().Clear();
    Drv->Backend().AdvanceTick(1000);
    Drv->Pump();
    EXPECT_EQ(Log().Of(WM_TIMER).size(), 1u);
    KillTimer(h, 7);
}

// ---------------------------------------------------------------------------
// Activation, focus, capture

TEST_F(WmTest, ActivationMessagesNameTheOtherWindow)
{
    HWND a = Top(0, 0, 100, 100);
    HWND ac = Child(a, 0, 0, 20, 20);
    SetFocus(ac);
    HWND b = Top(200, 0, 100, 100, WS_OVERLAPPEDWINDOW);
    Log().Clear();
    ShowWindow(b, SW_SHOW);
    auto& e = Log().Entries;
    int i1 = Log().Find(a, WM_NCACTIVATE), i2 = Log().Find(a, WM_ACTIVATE);
    int i3 = Log().Find(b, WM_NCACTIVATE), i4 = Log().Find(b, WM_ACTIVATE);
    int i5 = Log().Find(ac, WM_KILLFOCUS), i6 = Log().Find(b, WM_SETFOCUS);
    ASSERT_TRUE(i1 >= 0 && i2 > i1 && i3 > i2 && i4 > i3 && i5 > i4 && i6 > i5);
    EXPECT_EQ(e[i1].wParam, WPARAM(FALSE));
    EXPECT_EQ(LOWORD(e[i2].wParam), WA_INACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(e[i2].lParam), b);
    EXPECT_EQ(LOWORD(e[i4].wParam), WA_ACTIVE);
    EXPECT_EQ(reinterpret_cast<HWND>(e[i4].lParam), a);
    EXPECT_EQ(reinterpret_cast<HWND>(e[i5].wParam), b);
    EXPECT_EQ(reinterpret_cast<HWND>(e[i6].wParam), ac);
    EXPECT_TRUE(Log().Of(WM_ACTIVATEAPP).empty()) << "the application stayed active";

    // Another program takes over, then a click brings us back.
    Log().Clear();
    Drv->DeactivateApp();
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(Log().Of(WM_ACTIVATEAPP).size(), 2u);
    EXPECT_EQ(Log().Of(WM_ACTIVATEAPP)[0].wParam, WPARAM(FALSE));
    Drv->ClickWindow(a, {5, 5});
    EXPECT_EQ(GetActiveWindow(), a);
    auto act = Log().Of(WM_ACTIVATE);
    EXPECT_EQ(LOWORD(act.back().wParam), WA_CLICKACTIVE);
}

TEST_F(WmTest, NoActivatePopupKeepsOwnerActiveAndOutsideClickDeactivatesBeforeButtonUp)
{
    HWND owner = Top(0, 0, 400, 300);
    HWND popup = Top(50, 50, 100, 100, WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, owner);
    HWND noact = Top(300, 50, 50, 50, WS_POPUP, WS_EX_TOPMOST, owner);
    Log().Handlers[{noact, WM_MOUSEACTIVATE}] = [](WPARAM, LPARAM) -> LRESULT { return MA_NOACTIVATE; };
    ShowWindow(noact, SW_SHOWNOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), owner);
    Drv->Click({310, 60});
    EXPECT_EQ(GetActiveWindow(), owner) << "MA_NOACTIVATE";
    EXPECT_EQ(Log().Of(WM_LBUTTONDOWN).back().hwnd, noact);

    ShowWindow(popup, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), popup);
    EXPECT_EQ(GetWindow(owner, GW_HWNDPREV) != nullptr, true) << "owned windows stay above";
    Log().Clear();
    Drv->Click({200, 250});  // on the owner, outside the pop-up
    int deact = -1, up = -1;
    for (size_t i = 0; i < Log().Entries.size(); ++i) {
        auto& e = Log().Entries[i];
        if (deact < 0 && e.hwnd == popup && e.msg == WM_ACTIVATE && LOWORD(e.wParam) == WA_INACTIVE)
            deact = int(i);
        if (up < 0 && e.hwnd == owner && e.msg == WM_LBUTTONUP) up = int(i);
    }
    ASSERT_GE(deact, 0);
    ASSERT_GE(up, 0);
    EXPECT_LT(deact, up);
    EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(WmTest, CaptureSendsEveryMouseMessageToTheCapturingWindow)
{
    HWND a = Top(0, 0, 200, 200, WS_POPUP | WS_VISIBLE);
    HWND b = Top(300, 0, 200, 200, WS_POPUP | WS_VISIBLE);
    Log().Ignored.clear();
    SetCapture(a);
    Log().Clear();
    Drv->MouseMove({350, 20});
    Drv->MouseUp({350, 20});
    auto moves = Log().Of(WM_MOUSEMOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().hwnd, a);
    EXPECT_EQ(LParamToPoint(moves.back().lParam), Point(350, 20)) << "client coordinates of a";
    EXPECT_EQ(Log().Of(WM_LBUTTONUP).back().hwnd, a);
    EXPECT_TRUE(Log().Of(WM_SETCURSOR).empty());

    SetCapture(b);
    auto changed = Log().Of(WM_CAPTURECHANGED);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0].hwnd, a);
    EXPECT_EQ(reinterpret_cast<HWND>(changed[0].lParam), b);
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Log().Of(WM_CAPTURECHANGED).back().hwnd, b);
    Log().Clear();
    Drv->MouseMove({20, 20});
    EXPECT_EQ(Log().Of(WM_MOUSEMOVE).back().hwnd, a);
}

TEST_F(WmTest, DoubleClicksNeedTheClassStyleAndTheTime)
{
    HWND a = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
    HWND b = Top(200, 0, 100, 100, WS_POPUP | WS_VISIBLE, 0, nullptr, L"PlainWnd");
    Drv->DoubleClick({10, 10});
    EXPECT_EQ(Log().Of(WM_LBUTTONDBLCLK).size(), 1u);
    Drv->DoubleClick({210, 10});
    EXPECT_EQ(Log().Of(WM_LBUTTONDBLCLK).size(), 1u) << "no CS_DBLCLKS";
    Log().Clear();
    Drv->Click({10, 10});
    Drv->Advance(GetDoubleClickTime() + 1);
    Drv->Click({10, 10});
    EXPECT_TRUE(Log().Of(WM_LBUTTONDBLCLK).empty());
    EXPECT_EQ(Log().Of(WM_LBUTTONDOWN).size(), 2u);
    (void)a;
    (void)b;
}

TEST_F(WmTest, MouseLeaveIsPostedOnceTheCursorGoes)
{
    HWND a = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
    Drv->MouseMove({10, 10});
    TRACKMOUSEEVENT tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = a;
    ASSERT_TRUE(TrackMouseEvent(&tme));
    Drv->MouseMove({20, 20});
    EXPECT_TRUE(Log().Of(WM_MOUSELEAVE).empty());
    Drv->MouseMove({500, 500});
    EXPECT_EQ(Log().Of(WM_MOUSELEAVE).size(), 1u);
    Drv->MouseMove({600, 500});
    EXPECT_EQ(Log().Of(WM_MOUSELEAVE).size(), 1u);
}

// ---------------------------------------------------------------------------
// Geometry

TEST_F(WmTest, CoordinatesMapThroughFramesAndParents)
{
    HWND top = Top(100, 50, 400, 300, WS_POPUP | WS_BORDER | WS_VISIBLE);
    HWND child = Child(top, 10, 20, 200, 100, WS_CHILD | WS_VISIBLE | WS_BORDER);
    TPoint p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p, Point(100 + 1 + 10 + 1, 50 + 1 + 20 + 1));
    ScreenToClient(top, &p);
    EXPECT_EQ(p, Point(11, 21));
    TPoint pts[2] = {{0, 0}, {5, 5}};
    MapWindowPoints(child, top, pts, 2);
    EXPECT_EQ(pts[1], Point(16, 26));
    TRect r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r, Rect(111, 71, 311, 171));
    EXPECT_EQ(GetParent(child), top);
    EXPECT_TRUE(IsChild(top, child));
    EXPECT_EQ(GetWindow(top, GW_CHILD), child);
}

TEST_F(WmTest, WindowFromPointSkipsHiddenAndDisabledChildrenAndFollowsZOrder)
{
    HWND top = Top(0, 0, 300, 300, WS_POPUP | WS_VISIBLE);
    HWND first = Child(top, 0, 0, 100, 100);
    HWND second = Child(top, 50, 50, 100, 100);
    EXPECT_EQ(WindowFromPoint({60, 60}), first) << "earlier children lie on top";
    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(WindowFromPoint({60, 60}), second);
    ShowWindow(second, SW_HIDE);
    EXPECT_EQ(WindowFromPoint({60, 60}), first);
    EnableWindow(first, FALSE);
    EXPECT_EQ(WindowFromPoint({60, 60}), top);
    EXPECT_EQ(ChildWindowFromPoint(top, {60, 60}), second) << "ChildWindowFromPoint sees all";
    EXPECT_EQ(WindowFromPoint({900, 700}), nullptr);
}

TEST_F(WmTest, TopmostWindowsStayAboveActivatedOnes)
{
    HWND normal = Top(0, 0, 100, 100);
    HWND stay = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
    SetWindowPos(stay, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(GetWindowLong(stay, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Drv->Activate(normal);
    EXPECT_EQ(WindowFromPoint({50, 50}), stay);
    SetWindowPos(stay, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(WindowFromPoint({50, 50}), stay) << "at the top of the normal band";
    BringWindowToTop(normal);
    EXPECT_EQ(WindowFromPoint({50, 50}), normal);
}

TEST_F(WmTest, SetWindowPosReportsOnlyRealChanges)
{
    HWND h = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
    Log().Clear();
    SetWindowPos(h, nullptr, 0, 0, 100, 100, SWP_NOZORDER);
    EXPECT_TRUE(Log().Of(WM_SIZE).empty());
    EXPECT_TRUE(Log().Of(WM_MOVE).empty());
    // WM_WINDOWPOSCHANGING may change the outcome.
    Log().Handlers[{h, WM_WINDOWPOSCHANGING}] = [](WPARAM, LPARAM l) -> LRESULT {
        auto* wp = reinterpret_cast<WINDOWPOS*>(l);
        wp->cx = std::max(wp->cx, 80);
        return 0;
    };
    MoveWindow(h, 5, 5, 20, 30, TRUE);
    TRect r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, Rect(5, 5, 85, 35));
    auto sizes = Log().Of(WM_SIZE);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_EQ(sizes[0].lParam, MAKELPARAM(80, 30));
}

TEST_F(WmTest, MonitorsAndWorkAreaComeFromTheBackend)
{
    Drv->SetMonitors({{Rect(0, 0, 800, 600), Rect(0, 0, 800, 560)},
                      {Rect(800, 0, 1800, 700), Rect(800, 30, 1800, 700)}});
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    TRect wa;
    SystemParametersInfo(SPI_GETWORKAREA, 0, &wa, 0);
    EXPECT_EQ(wa, Rect(0, 0, 800, 560));
    MONITORINFO mi;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONEAREST), &mi));
    EXPECT_EQ(mi.rcWork, Rect(800, 30, 1800, 700));
    EXPECT_EQ(mi.dwFlags, 0u);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONULL), nullptr);
    BOOL anim = FALSE;
    SystemParametersInfo(SPI_SETMENUANIMATION, 0, nullptr, 0);
    SystemParametersInfo(SPI_GETMENUANIMATION, 0, &anim, 0);
    EXPECT_FALSE(anim);
}

// ---------------------------------------------------------------------------
// Moving and sizing driven by the hit-test answers

TEST_F(WmTest, CaptionDragMovesTheWindow)
{
    HWND h = Top(100, 100, 300, 200);
    Log().Clear();
    TPoint caption{200, 100 + 3 + 5};
    ASSERT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(caption)), HTCAPTION);
    Drv->Drag(caption, {caption.X + 40, caption.Y + 25});
    TRect r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, Bounds(140, 125, 300, 200));
    auto msgs = Only(Log().Msgs(h), {WM_ENTERSIZEMOVE, WM_MOVING, WM_EXITSIZEMOVE});
    ASSERT_GE(msgs.size(), 3u);
    EXPECT_EQ(msgs.front(), UINT(WM_ENTERSIZEMOVE));
    EXPECT_EQ(msgs[1], UINT(WM_MOVING));
    EXPECT_EQ(msgs.back(), UINT(WM_EXITSIZEMOVE));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(WmTest, EdgeHitCodesSizeTheWindowWithinItsLimits)
{
    // A frameless pop-up that answers HTBOTTOMRIGHT in its bottom-right
    // corner and holds a minimum size in WM_SIZING.
    HWND h = Top(100, 100, 200, 150, WS_POPUP | WS_VISIBLE);
    Log().Handlers[{h, WM_NCHITTEST}] = [h](WPARAM, LPARAM l) -> LRESULT {
        TPoint p = LParamToPoint(l);
        ScreenToClient(h, &p);
        TRect c;
        GetClientRect(h, &c);
        return (p.X >= c.Right - 10 && p.Y >= c.Bottom - 10) ? HTBOTTOMRIGHT : HTCLIENT;
    };
    Log().Handlers[{h, WM_SIZING}] = [](WPARAM w, LPARAM l) -> LRESULT {
        auto* r = reinterpret_cast<TRect*>(l);
        EXPECT_EQ(w, WPARAM(WMSZ_BOTTOMRIGHT));
        r->Right = std::max(r->Right, r->Left + 80);
        r->Bottom = std::max(r->Bottom, r->Top + 50);
        return TRUE;
    };
    Drv->Drag({295, 245}, {335, 275});
    TRect r;
    GetWindowRect(h, &r);
    EXPECT_EQ(r, Rect(100, 100, 340, 280));
    Drv->Drag({335, 275}, {0, 0});
    GetWindowRect(h, &r);
    EXPECT_EQ(r, Rect(100, 100, 180, 150)) << "held at 80x50";

    // A footer grip starts the same loop from a child's button press.
    HWND grip = Child(h, 0, 0, 20, 20);
    Log().Handlers[{grip, WM_LBUTTONDOWN}] = [h](WPARAM, LPARAM) -> LRESULT {
        ReleaseCapture();
        SendMessage(h, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, 0);
        return 0;
    };
    Drv->MouseDown({105, 105});
    EXPECT_EQ(GetCapture(), h);
    Drv->MouseMove({155, 125});
    Drv->MouseUp({155, 125});
    GetWindowRect(h, &r);
    EXPECT_EQ(r, Rect(100, 100, 230, 170));
    EXPECT_NE(Log().Find(h, WM_EXITSIZEMOVE), -1);
}

TEST_F(WmTest, DefaultHitTestAnswersFrameParts)
{
    HWND h = Top(100, 100, 300, 200);
    int f = GetSystemMetrics(SM_CXFRAME);
    struct Case {
        TPoint p;
        LRESULT hit;
    } cases[] = {
        {{150, 100}, HTTOP},          {{100, 150}, HTLEFT},        {{399, 150}, HTRIGHT},
        {{150, 299}, HTBOTTOM},       {{100, 100}, HTTOPLEFT},     {{399, 299}, HTBOTTOMRIGHT},
        {{100, 299}, HTBOTTOMLEFT},   {{399, 100}, HTTOPRIGHT},    {{200, 100 + f + 2}, HTCAPTION},
        {{200, 250}, HTCLIENT},       {{50, 50}, HTNOWHERE},
    };
    for (auto& c : cases)
        EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(c.p)), c.hit)
            << c.p.X << "," << c.p.Y;
}

TEST_F(WmTest, TheCloseButtonShowsWhereTheHitTestAnswersClose)
{
    // On the desktop the frame and caption are ours: a window with a system
    // menu shows a close button where a click closes it, with visual styles
    // and without.
    struct {
        bool Styles;
        DWORD Style;
        bool Button;
    } const cases[] = {
        {true, WS_OVERLAPPEDWINDOW, true},
        {false, WS_OVERLAPPEDWINDOW, true},
        {true, WS_CAPTION | WS_THICKFRAME, false},
    };
    for (auto& c : cases) {
        SetVisualStylesEnabled(c.Styles);
        HWND h = Top(100, 100, 300, 200, c.Style | WS_VISIBLE);
        TRect r;
        GetWindowRect(h, &r);
        // The square at the caption's right end.
        int f = GetSystemMetrics(SM_CXFRAME), cap = GetSystemMetrics(SM_CYCAPTION);
        TRect square = Rect(r.Right - f - cap, r.Top + f, r.Right - f, r.Top + f + cap);
        TPoint centre{(square.Left + square.Right) / 2, (square.Top + square.Bottom) / 2};
        EXPECT_EQ(SendMessage(h, WM_NCHITTEST, 0, PointToLParam(centre)), c.Button ? HTCLOSE : HTCAPTION);
        std::vector<uint32_t> px;
        int w = 0, hh = 0;
        ASSERT_TRUE(Drv->CaptureWindow(h, px, w, hh));
        auto at = [&](int x, int y) { return px[size_t(y - r.Top) * size_t(w) + size_t(x - r.Left)]; };
        uint32_t captionColour = at(square.Left - 2 * cap, centre.Y);
        int marks = 0;
        for (int y = square.Top; y < square.Bottom; ++y)
            for (int x = square.Left; x < square.Right; ++x) marks += at(x, y) != captionColour;
        EXPECT_EQ(marks > 0, c.Button) << "styles " << c.Styles << ", " << marks << " marks";
        if (c.Button) {
            Drv->Click(centre);
            EXPECT_FALSE(IsWindow(h)) << "the click closed it";
        } else {
            DestroyWindow(h);
        }
    }
    SetVisualStylesEnabled(true);
}

// The desktop's typed text carries the scan code of the key that made it, so
// the keypad's decimal key is told from the main one by bit 22.
TEST_F(WmTest, TypedCharactersCarryTheScanCodeOfTheirKey)
{
    HWND h = Top(10, 10, 100, 100);
    SetFocus(h);
    WmPumpPending();
    WmKeyInput(VK_DECIMAL, true);
    WmCharInput(L'.');
    WmKeyInput(VK_DECIMAL, false);
    WmKeyInput(VK_OEM_PERIOD, true);
    WmCharInput(L'.');
    WmKeyInput(VK_OEM_PERIOD, false);
    WmCharInput(L'x');   // no key held: plain key data
    // Taken from the queue as posted (no translation of the key-downs).
    std::vector<LPARAM> data;
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message == WM_CHAR) data.push_back(msg.lParam);
    ASSERT_EQ(data.size(), 3u);
    EXPECT_NE(data[0] & (LPARAM(1) << 22), 0);
    EXPECT_EQ(data[1] & (LPARAM(1) << 22), 0);
    EXPECT_EQ((data[1] >> 16) & 0xFF, LPARAM(MapVirtualKey(VK_OEM_PERIOD, MAPVK_VK_TO_VSC)));
    EXPECT_EQ(data[2], 1);
}

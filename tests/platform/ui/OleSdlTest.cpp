// OLE drag and drop with the desktop backend on a virtual X server: the
// drag loop runs on SDL's input, and files dropped from the desktop reach
// the registered target under the drop point as a file list.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>


#include "SdlDesktop.h"
#include "XvfbSupport.h"
#include "platform/ui/Ole2.h"
#include "platform/ui/WindowManager.h"
#include "platform/ui/backend/BackendChoice.h"
#include "platform/ui/backend/Sdl.h"

using namespace xvfb;

namespace {

class TRecordTarget : public TInterfacedObject, public IDropTarget {
public:
    HRESULT QueryInterface(const TGUID& iid, void** obj) override
    {
        if (Answer<IDropTarget>(iid, obj, this)) return S_OK;
        return TInterfacedObject::QueryInterface(iid, obj);
    }
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }
    HRESULT DragEnter(IDataObject*, DWORD, POINTL pt, DWORD* effect) override
    {
        Calls.push_back("enter");
        Last = pt;
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragOver(DWORD, POINTL pt, DWORD* effect) override
    {
        if (Calls.empty() || Calls.back() != "over") Calls.push_back("over");
        Last = pt;
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        Calls.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject* data, DWORD, POINTL pt, DWORD* effect) override
    {
        Calls.push_back("drop");
        Last = pt;
        FORMATETC f;
        f.cfFormat = CF_HDROP;
        STGMEDIUM m;
        if (data->GetData(&f, &m) == S_OK) {
            UINT n = DragQueryFile(m.hGlobal, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < n; ++i) {
                Char buf[300];
                DragQueryFile(m.hGlobal, i, buf, 300);
                Files.push_back(buf);
            }
            ReleaseStgMedium(&m);
        }
        *effect = DROPEFFECT_COPY;
        return S_OK;
    }
    std::vector<std::string> Calls;
    std::vector<String> Files;
    POINTL Last;
};

class TPlainSource : public TInterfacedObject, public IDropSource {
public:
    HRESULT QueryInterface(const TGUID& iid, void** obj) override
    {
        if (Answer<IDropSource>(iid, obj, this)) return S_OK;
        return TInterfacedObject::QueryInterface(iid, obj);
    }
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }
    HRESULT QueryContinueDrag(BOOL esc, DWORD keys) override
    {
        if (esc) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }
};

class OleSdl : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (FindProgram("Xvfb").empty()) GTEST_SKIP() << "Xvfb is not installed: the desktop tests need it";
        std::string why = Desktop.Start();
        ASSERT_TRUE(why.empty()) << why;
        Sdl = Desktop.Sdl;
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        WNDCLASS wc;
        wc.lpfnWndProc = DefWindowProc;
        wc.lpszClassName = L"OleSdlTestWindow";
        wc.hbrBackground = HBRUSH(uintptr_t(COLOR_WINDOW + 1));
        RegisterClass(wc);
        From = CreateWindowEx(0, L"OleSdlTestWindow", L"from", WS_POPUP | WS_VISIBLE, 40, 40, 200, 150, nullptr);
        To = CreateWindowEx(0, L"OleSdlTestWindow", L"to", WS_POPUP | WS_VISIBLE, 300, 40, 200, 150, nullptr);
        ToChild = CreateWindowEx(0, L"OleSdlTestWindow", L"child", WS_CHILD | WS_VISIBLE, 20, 20, 100, 100, To);
        ASSERT_TRUE(From && To && ToChild);
        Target = new TRecordTarget;
        ASSERT_EQ(RegisterDragDrop(ToChild, Target.Get()), S_OK);
        Run();
        ASSERT_TRUE(Sdl->SdlWindowOf(From) && Sdl->SdlWindowOf(To));
    }
    void TearDown() override
    {
        if (Sdl) {
            RevokeDragDrop(ToChild);
            OleUninitialize();
            Target = nullptr;
        }
        Desktop.Stop();
    }
    void Run()
    {
        for (int i = 0; i < 5; ++i) {
            Sdl->PumpEvents(0);
            MSG m;
            while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&m);
        }
    }
    void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
    void Button(HWND h, Uint32 type, int x, int y)
    {
        SDL_Event e{};
        e.type = type;
        e.button.windowID = SDL_GetWindowID(Sdl->SdlWindowOf(h));
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
        Push(e);
    }
    void Motion(HWND h, int x, int y)
    {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.windowID = SDL_GetWindowID(Sdl->SdlWindowOf(h));
        e.motion.state = SDL_BUTTON_LMASK;
        e.motion.x = x;
        e.motion.y = y;
        Push(e);
    }

    TSdlDesktop Desktop;
    TSdlBackend* Sdl = nullptr;
    HWND From = nullptr, To = nullptr, ToChild = nullptr;
    TComPtr<TRecordTarget> Target;
};

}  // namespace

TEST_F(OleSdl, ADragBetweenTwoDesktopWindowsDropsOnTheTarget)
{
    Button(From, SDL_MOUSEBUTTONDOWN, 50, 50);
    Run();
    ASSERT_TRUE(GetKeyState(VK_LBUTTON) < 0);
    // Input the drag loop takes from SDL while it runs.
    Motion(From, 60, 55);
    Motion(To, 30, 30);
    Motion(To, 50, 60);
    Button(To, SDL_MOUSEBUTTONUP, 50, 60);
    TComPtr<TDataObject> data(new TDataObject);
    data->SetFiles({L"/tmp/a.flv"});
    TComPtr<TPlainSource> source(new TPlainSource);
    DWORD effect = 0;
    EXPECT_EQ(DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, &effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(Target->Calls, (std::vector<std::string>{"enter", "over", "drop"}));
    EXPECT_EQ(Target->Last.x, 350);   // the child's client point 30,40 on the screen
    EXPECT_EQ(Target->Last.y, 100);
    EXPECT_EQ(Target->Files, (std::vector<String>{L"/tmp/a.flv"}));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(OleSdl, FilesDroppedFromTheDesktopArriveAtTheTargetUnderThePoint)
{
    SDL_WarpMouseGlobal(370, 110);   // over the child with the target
    Run();
    Uint32 id = SDL_GetWindowID(Sdl->SdlWindowOf(To));
    SDL_Event e{};
    e.type = SDL_DROPBEGIN;
    e.drop.windowID = id;
    Push(e);
    for (const char* name : {"/home/u/one.mp4", "/home/u/t\xC3\xA9l\xC3\xA9.flv"}) {
        SDL_Event f{};
        f.type = SDL_DROPFILE;
        f.drop.windowID = id;
        f.drop.file = SDL_strdup(name);
        Push(f);
    }
    e.type = SDL_DROPCOMPLETE;
    Push(e);
    Run();
    EXPECT_EQ(Target->Calls, (std::vector<std::string>{"enter", "over", "drop"}));
    EXPECT_EQ(Target->Files, (std::vector<String>{L"/home/u/one.mp4", L"/home/u/t\u00e9l\u00e9.flv"}));
    EXPECT_EQ(Target->Last.x, 370);
    EXPECT_EQ(Target->Last.y, 110);
}

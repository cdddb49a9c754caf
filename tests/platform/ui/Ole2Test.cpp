// OLE drag and drop between our windows in the headless backend: the order
// of the target's calls, key states and effects, cancel and no-target
// ends, registration rules; the data object and its format enumerator.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "WmTestSupport.h"
#include "platform/ui/Clipbrd.h"
#include "platform/ui/Ole2.h"
#include "platform/ui/backend/Sdl.h"

namespace {

std::string Keys(DWORD k)
{
    std::string s;
    if (k & MK_LBUTTON) s += 'L';
    if (k & MK_RBUTTON) s += 'R';
    if (k & MK_SHIFT) s += 'S';
    if (k & MK_CONTROL) s += 'C';
    if (k & MK_ALT) s += 'A';
    return s.empty() ? "-" : s;
}

std::string Effect(DWORD e)
{
    std::string s;
    if (e & DROPEFFECT_COPY) s += "copy";
    if (e & DROPEFFECT_MOVE) s += "move";
    if (e & DROPEFFECT_LINK) s += "link";
    return s.empty() ? "none" : s;
}

// A target that writes its calls to a shared log as
// "name:call x,y keys" and answers what Choice says (default: copy with
// Control held, else move).
class TLogTarget : public TInterfacedObject, public IDropTarget {
public:
    TLogTarget(std::string name, std::vector<std::string>& log) : FName(std::move(name)), FLog(log) {}
    HRESULT QueryInterface(const TGUID& iid, void** obj) override
    {
        if (Answer<IDropTarget>(iid, obj, this)) return S_OK;
        return TInterfacedObject::QueryInterface(iid, obj);
    }
    ULONG AddRef() override { return TInterfacedObject::AddRef(); }
    ULONG Release() override { return TInterfacedObject::Release(); }

    HRESULT DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override
    {
        FData = data;
        Note("enter", keys, pt);
        *effect = Choose(keys, *effect);
        return S_OK;
    }
    HRESULT DragOver(DWORD keys, POINTL pt, DWORD* effect) override
    {
        Note("over", keys, pt);
        *effect = Choose(keys, *effect);
        return S_OK;
    }
    HRESULT DragLeave() override
    {
        FLog.push_back(FName + ":leave");
        FData = nullptr;
        return S_OK;
    }
    HRESULT Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override
    {
        Note("drop", keys, pt);
        if (OnDrop) OnDrop(data);
        *effect = DropAnswer ? DropAnswer : Choose(keys, *effect);
        FData = nullptr;
        return S_OK;
    }

    std::function<DWORD(DWORD keys, DWORD offered)> Choice;
    std::function<void(IDataObject*)> OnDrop;
    DWORD DropAnswer = 0;
    TComPtr<IDataObject> FData;   // held between enter and leave/drop, as a target would

private:
    DWORD Choose(DWORD keys, DWORD offered)
    {
        if (Choice) return Choice(keys, offered);
        return (keys & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
    }
    void Note(const char* what, DWORD keys, POINTL pt)
    {
        FLog.push_back(FName + ":" + what + " " + std::to_string(pt.x) + "," + std::to_string(pt.y) + " " +
                       Keys(keys));
    }
    std::string FName;
    std::vector<std::string>& FLog;
};

// A source that plays a script: each QueryContinueDrag feeds the next piece
// of input, as a user moving on would. It drops when the left button is up
// and cancels on Escape, as the usual sources do.
class TScriptSource : public TInterfacedObject, public IDropSource {
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
        Queries.push_back(std::string(esc ? "esc " : "") + Keys(keys));
        Cursors.push_back(GetCursor());
        if (esc) return DRAGDROP_S_CANCEL;
        if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
        if (FNext == Steps.size()) {
            ADD_FAILURE() << "the script ended before the drag";
            return DRAGDROP_S_CANCEL;
        }
        Steps[FNext++]();
        return S_OK;
    }
    HRESULT GiveFeedback(DWORD effect) override
    {
        Feedback.push_back(Effect(effect));
        if (OwnCursor) {
            SetCursor(OwnCursor);
            return S_OK;
        }
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

    std::vector<std::function<void()>> Steps;
    std::vector<std::string> Queries;
    std::vector<std::string> Feedback;
    std::vector<HCURSOR> Cursors;   // as each query found it
    HCURSOR OwnCursor = nullptr;   // set: the source shows its own cursor

private:
    size_t FNext = 0;
};

// Input fed while the drag loop runs: straight into the window manager,
// without pumping (the loop takes it).
std::function<void()> Move(int x, int y)
{
    return [=] { WmMouseInput(WM_MOUSEMOVE, {x, y}); };
}
std::function<void()> Release(int x, int y)
{
    return [=] { WmMouseInput(WM_LBUTTONUP, {x, y}); };
}
std::function<void()> Key(Word vk, bool down)
{
    return [=] { WmKeyInput(vk, down); };
}

// Two popup windows side by side. A (0,0 300x200) has a target of its own
// and a child without one at 20,20; B (400,0 300x200) has no target, its
// child C at 50,50 (screen 450,50 100x100) has one.
class OleDragTest : public WmTest {
protected:
    void SetUp() override
    {
        WmTest::SetUp();
        ASSERT_EQ(OleInitialize(nullptr), S_OK);
        A = Top(0, 0, 300, 200, WS_POPUP | WS_VISIBLE);
        AChild = Child(A, 20, 20, 100, 100);
        B = Top(400, 0, 300, 200, WS_POPUP | WS_VISIBLE);
        C = Child(B, 50, 50, 100, 100);
        TargetA = new TLogTarget("A", Calls);
        TargetC = new TLogTarget("C", Calls);
        ASSERT_EQ(RegisterDragDrop(A, TargetA.Get()), S_OK);
        ASSERT_EQ(RegisterDragDrop(C, TargetC.Get()), S_OK);
        SetActiveWindow(A);
        Data = new TDataObject;
        Data->SetText(L"dragged");
        Source = new TScriptSource;
    }
    void TearDown() override
    {
        RevokeDragDrop(A);
        RevokeDragDrop(C);
        OleUninitialize();
        WmTest::TearDown();
    }
    // Presses the left button at p and runs the drag from there.
    HRESULT Drag(TPoint p, DWORD ok, DWORD& effect)
    {
        Drv->MouseDown(p);
        Log().Clear();
        CursorBefore = GetCursor();
        return DoDragDrop(Data.Get(), Source.Get(), ok, &effect);
    }

    HCURSOR CursorBefore = nullptr;
    HWND A = nullptr, AChild = nullptr, B = nullptr, C = nullptr;
    std::vector<std::string> Calls;
    TComPtr<TLogTarget> TargetA, TargetC;
    TComPtr<TDataObject> Data;
    TComPtr<TScriptSource> Source;
};

}  // namespace

TEST_F(OleDragTest, TargetsFollowTheMouseWithKeyStatesAndTheDropGetsTheChosenEffect)
{
    Source->Steps = {
        Move(70, 60),              // still over A (through its child)
        Move(410, 20),             // B, which has no target: A is left
        Key(VK_CONTROL, true),     // over nothing: no target hears it
        Move(470, 80),             // into C with Control held
        Key(VK_CONTROL, false),    // the effect follows the key at once
        Key(VK_SHIFT, true),
        Move(480, 90),
        Key(VK_CONTROL, true),
        Release(485, 95),          // released where no move went first
    };
    DWORD effect = 99;
    EXPECT_EQ(Drag({60, 60}, DROPEFFECT_COPY | DROPEFFECT_MOVE, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(Calls, (std::vector<std::string>{
                         "A:enter 60,60 L", "A:over 70,60 L", "A:leave", "C:enter 470,80 LC", "C:over 470,80 L",
                         "C:over 470,80 LS", "C:over 480,90 LS", "C:over 480,90 LSC", "C:over 485,95 SC",
                         "C:drop 485,95 SC"}));
    EXPECT_EQ(Source->Feedback, (std::vector<std::string>{"move", "move", "none", "none", "copy", "move", "move",
                                                          "move", "copy", "copy"}));
    ASSERT_EQ(Source->Queries.size(), 10u);
    EXPECT_EQ(Source->Queries.back(), "SC");
    // Default cursors: the no-drop cursor over B, the copy cursor over C.
    EXPECT_EQ(Source->Cursors[3], DragCursorForEffect(DROPEFFECT_NONE));
    EXPECT_EQ(Source->Cursors[5], DragCursorForEffect(DROPEFFECT_COPY));
    EXPECT_EQ(CursorId(DragCursorForEffect(DROPEFFECT_NONE)), uintptr_t(IDC_NO));
    EXPECT_NE(DragCursorForEffect(DROPEFFECT_COPY), DragCursorForEffect(DROPEFFECT_MOVE));
    // The loop took the input: the windows saw none of it, and the mouse is free.
    EXPECT_EQ(Log().Find(A, WM_KEYDOWN), -1);
    EXPECT_EQ(Log().Find(C, WM_LBUTTONUP), -1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(TargetC->FData, nullptr);
}

TEST_F(OleDragTest, EscapeCancelsAndTheTargetIsLeft)
{
    Source->Steps = {Move(470, 80), Key(VK_ESCAPE, true)};
    DWORD effect = 99;
    EXPECT_EQ(Drag({60, 60}, DROPEFFECT_MOVE, effect), DRAGDROP_S_CANCEL);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(Calls, (std::vector<std::string>{"A:enter 60,60 L", "A:leave", "C:enter 470,80 L", "C:leave"}));
    EXPECT_EQ(Source->Queries.back(), "esc L");
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Log().Find(A, WM_KEYDOWN), -1);
}

TEST_F(OleDragTest, DropsThatNoTargetTakes)
{
    struct Case {
        const char* Name;
        TPoint ReleaseAt;
        DWORD Ok;
        std::function<DWORD(DWORD, DWORD)> Choice;
        std::vector<std::string> Last;   // C's calls after it was entered
    } cases[] = {
        {"over the desktop", {900, 500}, DROPEFFECT_COPY, nullptr, {"C:leave"}},
        {"over a window without a target", {410, 20}, DROPEFFECT_COPY, nullptr, {"C:leave"}},
        {"target refuses", {470, 80}, DROPEFFECT_COPY, [](DWORD, DWORD) { return DROPEFFECT_NONE; },
         {"C:leave"}},
        // A target answering an effect the source did not allow must not
        // get the drop: a move the source never offered would lose data.
        {"effect not allowed", {470, 80}, DROPEFFECT_COPY, [](DWORD, DWORD) { return DROPEFFECT_MOVE; },
         {"C:leave"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Calls.clear();
        TargetC->Choice = c.Choice;
        Source = new TScriptSource;
        Source->Steps = {Move(470, 80), Move(c.ReleaseAt.X, c.ReleaseAt.Y), Release(c.ReleaseAt.X, c.ReleaseAt.Y)};
        DWORD effect = 99;
        EXPECT_EQ(Drag({60, 60}, c.Ok, effect), DRAGDROP_S_DROP);
        EXPECT_EQ(effect, DROPEFFECT_NONE);
        ASSERT_GE(Calls.size(), 3u);
        EXPECT_EQ(Calls[2], "C:enter 470,80 L");
        std::vector<std::string> tail(Calls.end() - c.Last.size(), Calls.end());
        EXPECT_EQ(tail, c.Last);
        for (const std::string& s : Calls) EXPECT_EQ(s.find(":drop"), std::string::npos) << s;
    }
}

TEST_F(OleDragTest, TheDropsAnswerIsLimitedToTheAllowedEffects)
{
    TargetC->DropAnswer = DROPEFFECT_MOVE | DROPEFFECT_LINK;
    String text;
    TargetC->OnDrop = [&](IDataObject* data) {
        FORMATETC f;
        f.cfFormat = CF_UNICODETEXT;
        STGMEDIUM m;
        ASSERT_EQ(data->GetData(&f, &m), S_OK);
        text = GlobalText(m.hGlobal, CF_UNICODETEXT);
        ReleaseStgMedium(&m);
    };
    Source->Steps = {Move(470, 80), Release(470, 80)};
    Source->OwnCursor = LoadCursor(nullptr, uintptr_t(IDC_IBEAM));
    DWORD effect = 0;
    EXPECT_EQ(Drag({60, 60}, DROPEFFECT_MOVE | DROPEFFECT_COPY, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    EXPECT_EQ(text, L"dragged");
    EXPECT_EQ(CursorId(Source->Cursors.back()), uintptr_t(IDC_IBEAM));
    EXPECT_EQ(GetCursor(), CursorBefore);
}

TEST_F(OleDragTest, RegistrationRules)
{
    TComPtr<TLogTarget> other(new TLogTarget("X", Calls));
    EXPECT_EQ(RegisterDragDrop(A, other.Get()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisterDragDrop(B, nullptr), E_INVALIDARG);
    EXPECT_EQ(RegisterDragDrop(reinterpret_cast<HWND>(uintptr_t(0x7777)), other.Get()), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(RevokeDragDrop(B), DRAGDROP_E_NOTREGISTERED);
    EXPECT_EQ(RevokeDragDrop(reinterpret_cast<HWND>(uintptr_t(0x7777))), DRAGDROP_E_INVALIDHWND);
    DWORD effect;
    EXPECT_EQ(DoDragDrop(nullptr, Source.Get(), DROPEFFECT_COPY, &effect), E_INVALIDARG);

    // OLE is started per thread, counted.
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    std::thread([&] {
        EXPECT_EQ(RegisterDragDrop(B, other.Get()), CO_E_NOTINITIALIZED);
        EXPECT_EQ(DoDragDrop(Data.Get(), Source.Get(), DROPEFFECT_COPY, &effect), CO_E_NOTINITIALIZED);
    }).join();

    // A revoked target hears nothing more; the registration held the only
    // other reference.
    EXPECT_EQ(TargetC->RefCount(), 2u);
    EXPECT_EQ(RevokeDragDrop(C), S_OK);
    EXPECT_EQ(TargetC->RefCount(), 1u);
    Source->Steps = {Move(470, 80), Release(470, 80)};
    EXPECT_EQ(Drag({60, 60}, DROPEFFECT_COPY, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_EQ(Calls, (std::vector<std::string>{"A:enter 60,60 L", "A:leave"}));

    // A window that goes away takes its registration with it.
    HWND gone = Top(600, 400, 50, 50, WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(RegisterDragDrop(gone, other.Get()), S_OK);
    EXPECT_EQ(other->RefCount(), 2u);
    DestroyWindow(gone);
    EXPECT_EQ(RegisterDragDrop(gone, other.Get()), DRAGDROP_E_INVALIDHWND);
    EXPECT_EQ(other->RefCount(), 1u);
}

TEST_F(OleDragTest, FilesDroppedFromTheDesktopArriveAsAFileList)
{
    std::vector<String> got;
    TargetC->OnDrop = [&](IDataObject* data) {
        FORMATETC f;
        f.cfFormat = CF_HDROP;
        STGMEDIUM m;
        ASSERT_EQ(data->GetData(&f, &m), S_OK);
        UINT n = DragQueryFile(m.hGlobal, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < n; ++i) {
            Char buf[300];
            DragQueryFile(m.hGlobal, i, buf, 300);
            got.push_back(buf);
        }
        ReleaseStgMedium(&m);
    };
    // Files from the desktop can only be copied.
    DWORD offered = 0;
    TargetC->Choice = [&](DWORD, DWORD ok) {
        offered = ok;
        return ok & DROPEFFECT_COPY;
    };
    std::vector<String> files = {L"/home/u/a clip.flv", L"/tmp/\u00e9t\u00e9.mp4"};
    // The desktop backend's hook leads here once OLE is started.
    ASSERT_TRUE(OnBackendFilesDropped);
    OnBackendFilesDropped(B, files, {470, 80});
    EXPECT_EQ(got, files);
    EXPECT_EQ(offered, DROPEFFECT_COPY);
    EXPECT_EQ(Calls, (std::vector<std::string>{"C:enter 470,80 -", "C:over 470,80 -", "C:drop 470,80 -"}));

    Calls.clear();
    EXPECT_EQ(OleDropFiles(B, files, {410, 20}), DROPEFFECT_NONE);   // no target there
    TargetC->Choice = [](DWORD, DWORD) { return DROPEFFECT_NONE; };
    EXPECT_EQ(OleDropFiles(B, files, {470, 80}), DROPEFFECT_NONE);
    EXPECT_EQ(Calls, (std::vector<std::string>{"C:enter 470,80 -", "C:over 470,80 -", "C:leave"}));
}

// ---------------------------------------------------------------------------

namespace {

FORMATETC Fmt(CLIPFORMAT cf, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT, LONG lindex = -1)
{
    FORMATETC f;
    f.cfFormat = cf;
    f.tymed = tymed;
    f.dwAspect = aspect;
    f.lindex = lindex;
    return f;
}

std::string Bytes(HGLOBAL h)
{
    auto* p = static_cast<const char*>(GlobalLock(h));
    std::string s(p, GlobalSize(h));
    GlobalUnlock(h);
    return s;
}

HGLOBAL Block(const std::string& bytes)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

}  // namespace

TEST(DataObject, HoldsBlocksPerFormatAndAnswersCopies)
{
    TComPtr<TDataObject> d(new TDataObject);
    ASSERT_EQ(d->SetText(L"caf\u00e9 \u20ac"), S_OK);
    const CLIPFORMAT custom = 0xC123;   // a registered format's number
    // Taken over with release: the object frees it (ASan checks it is freed once).
    STGMEDIUM given;
    given.tymed = TYMED_HGLOBAL;
    given.hGlobal = Block(std::string("abc\0def", 7));
    FORMATETC cf = Fmt(custom);
    ASSERT_EQ(d->SetData(&cf, &given, TRUE), S_OK);
    // Copied without it: the caller's block stays the caller's.
    HGLOBAL mine = Block("kept");
    STGMEDIUM lent;
    lent.tymed = TYMED_HGLOBAL;
    lent.hGlobal = mine;
    FORMATETC other = Fmt(0xC124);
    ASSERT_EQ(d->SetData(&other, &lent, FALSE), S_OK);
    GlobalFree(mine);

    FORMATETC f = Fmt(CF_UNICODETEXT);
    STGMEDIUM m;
    ASSERT_EQ(d->GetData(&f, &m), S_OK);
    EXPECT_EQ(GlobalText(m.hGlobal, CF_UNICODETEXT), L"caf\u00e9 \u20ac");
    ReleaseStgMedium(&m);
    f = Fmt(CF_TEXT);
    ASSERT_EQ(d->GetData(&f, &m), S_OK);
    EXPECT_EQ(Bytes(m.hGlobal), std::string("caf\xE9 \x80\0", 7));   // Windows-1252 with its zero
    ReleaseStgMedium(&m);
    ASSERT_EQ(d->GetData(&cf, &m), S_OK);
    EXPECT_EQ(Bytes(m.hGlobal), std::string("abc\0def", 7));
    EXPECT_NE(m.hGlobal, given.hGlobal);
    ReleaseStgMedium(&m);
    ASSERT_EQ(d->GetData(&other, &m), S_OK);
    EXPECT_EQ(Bytes(m.hGlobal), "kept");
    ReleaseStgMedium(&m);

    // Setting a format again replaces it.
    ASSERT_EQ(d->SetBytes(custom, "xy", 2), S_OK);
    ASSERT_EQ(d->GetData(&cf, &m), S_OK);
    EXPECT_EQ(Bytes(m.hGlobal), "xy");
    ReleaseStgMedium(&m);

    // GetDataHere fills the caller's block when it is big enough.
    STGMEDIUM here;
    here.tymed = TYMED_HGLOBAL;
    here.hGlobal = GlobalAlloc(GHND, 1);
    EXPECT_EQ(d->GetDataHere(&cf, &here), STG_E_MEDIUMFULL);
    GlobalReAlloc(here.hGlobal, 4, GMEM_ZEROINIT);
    EXPECT_EQ(d->GetDataHere(&cf, &here), S_OK);
    EXPECT_EQ(Bytes(here.hGlobal), std::string("xy\0\0", 4));
    ReleaseStgMedium(&here);

    struct Case {
        FORMATETC F;
        HRESULT Want;
    } cases[] = {
        {Fmt(CF_TEXT), S_OK},
        {Fmt(CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM), S_OK},
        {Fmt(CF_HDROP), DV_E_FORMATETC},
        {Fmt(CF_TEXT, TYMED_ISTREAM), DV_E_TYMED},
        {Fmt(CF_TEXT, TYMED_HGLOBAL, DVASPECT_ICON), DV_E_DVASPECT},
        {Fmt(CF_TEXT, TYMED_HGLOBAL, DVASPECT_CONTENT, 2), DV_E_LINDEX},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(d->QueryGetData(&c.F), c.Want) << c.F.cfFormat;
        STGMEDIUM r;
        EXPECT_EQ(d->GetData(&c.F, &r), c.Want);
        EXPECT_EQ(r.hGlobal == nullptr, FAILED(c.Want));
        ReleaseStgMedium(&r);
    }
    STGMEDIUM stream;
    stream.tymed = TYMED_ISTREAM;
    FORMATETC sf = Fmt(CF_TEXT, TYMED_ISTREAM);
    EXPECT_EQ(d->SetData(&sf, &stream, TRUE), DV_E_TYMED);

    DWORD conn = 5;
    EXPECT_EQ(d->DAdvise(&f, 0, nullptr, &conn), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(conn, 0u);
    EXPECT_EQ(d->DUnadvise(1), OLE_E_ADVISENOTSUPPORTED);
    IEnumSTATDATA* sd = reinterpret_cast<IEnumSTATDATA*>(1);
    EXPECT_EQ(d->EnumDAdvise(&sd), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(sd, nullptr);
}

TEST(DataObject, EnumeratesItsFormatsInOrder)
{
    TComPtr<TDataObject> d(new TDataObject);
    d->SetText(L"t");
    d->SetFiles({L"/a"});
    TComPtr<IEnumFORMATETC> e;
    EXPECT_EQ(d->EnumFormatEtc(DATADIR_SET, e.ReleaseAndGetAddressOf()), E_NOTIMPL);
    ASSERT_EQ(d->EnumFormatEtc(DATADIR_GET, e.ReleaseAndGetAddressOf()), S_OK);

    FORMATETC got[4];
    ULONG n = 9;
    EXPECT_EQ(e->Next(2, got, &n), S_OK);
    EXPECT_EQ(n, 2u);
    EXPECT_EQ(got[0].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(got[1].cfFormat, CF_TEXT);
    EXPECT_EQ(got[1].tymed, TYMED_HGLOBAL);
    EXPECT_EQ(got[1].dwAspect, DVASPECT_CONTENT);
    EXPECT_EQ(got[1].lindex, -1);

    TComPtr<IEnumFORMATETC> clone;
    ASSERT_EQ(e->Clone(clone.ReleaseAndGetAddressOf()), S_OK);   // at the same place
    EXPECT_EQ(e->Next(4, got, &n), S_FALSE);
    EXPECT_EQ(n, 1u);
    EXPECT_EQ(got[0].cfFormat, CF_HDROP);
    EXPECT_EQ(clone->Next(1, got, nullptr), S_OK);
    EXPECT_EQ(got[0].cfFormat, CF_HDROP);
    EXPECT_EQ(clone->Next(1, got, nullptr), S_FALSE);

    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(2), S_OK);
    EXPECT_EQ(e->Skip(2), S_FALSE);
    EXPECT_EQ(e->Next(1, got, &n), S_FALSE);
    EXPECT_EQ(n, 0u);
}

TEST_F(WmTest, TheClipboardThroughDataObjects)
{
    ASSERT_EQ(OleInitialize(nullptr), S_OK);
    const UINT cells = RegisterClipboardFormat(L"Ole2Test Cells");
    TComPtr<TDataObject> d(new TDataObject);
    d->SetText(L"na\u00efve");
    d->SetBytes(CLIPFORMAT(cells), "1\t2", 3);
    ASSERT_EQ(OleSetClipboard(d.Get()), S_OK);
    String text;
    ASSERT_TRUE(GetClipboardText(text));
    EXPECT_EQ(text, L"na\u00efve");
    EXPECT_TRUE(IsClipboardFormatAvailable(cells));

    TComPtr<IDataObject> back;
    ASSERT_EQ(OleGetClipboard(back.ReleaseAndGetAddressOf()), S_OK);
    FORMATETC f;
    f.cfFormat = CLIPFORMAT(cells);
    STGMEDIUM m;
    ASSERT_EQ(back->GetData(&f, &m), S_OK);
    EXPECT_EQ(GlobalSize(m.hGlobal), 3u);
    EXPECT_EQ(memcmp(GlobalLock(m.hGlobal), "1\t2", 3), 0);
    GlobalUnlock(m.hGlobal);
    ReleaseStgMedium(&m);
    f.cfFormat = CF_UNICODETEXT;
    ASSERT_EQ(back->GetData(&f, &m), S_OK);
    EXPECT_EQ(GlobalText(m.hGlobal, CF_UNICODETEXT), L"na\u00efve");
    ReleaseStgMedium(&m);

    // Another window holding the clipboard open keeps it.
    HWND w = Top(0, 0, 50, 50);
    ASSERT_TRUE(OpenClipboard(w));
    EXPECT_EQ(OleSetClipboard(nullptr), CLIPBRD_E_CANT_OPEN);
    EXPECT_EQ(OleGetClipboard(back.ReleaseAndGetAddressOf()), CLIPBRD_E_CANT_OPEN);
    CloseClipboard();
    ASSERT_EQ(OleSetClipboard(nullptr), S_OK);   // empties it
    EXPECT_FALSE(IsClipboardFormatAvailable(cells));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    OleUninitialize();
}

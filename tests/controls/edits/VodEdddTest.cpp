// The edit's OLE classes at the interface level (with malformed foreign
// blocks), the edit's drop target, and one real drag between two edits.
#include <cstring>

#include "VodEditTestSupport.h"
#include "controls/edits/VodEddd.h"
#include "platform/ui/Ole2.h"

namespace {

class VodEdddTest : public VodEditTestBase {
protected:
    void SetUp() override
    {
        VodEditTestBase::SetUp();
        OleInitialize();
    }
    void TearDown() override
    {
        OleUninitialize();
        VodEditTestBase::TearDown();
    }
};

HGLOBAL Block(const void* data, size_t n)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, n);
    std::memcpy(GlobalLock(h), data, n);
    GlobalUnlock(h);
    return h;
}

TComPtr<TDataObject> Foreign(CLIPFORMAT cf, HGLOBAL h)
{
    TComPtr<TDataObject> d(new TDataObject);
    FORMATETC f;
    f.cfFormat = cf;
    STGMEDIUM m;
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = h;
    d->SetData(&f, &m, TRUE);
    return d;
}

// Records what reaches the overridable drop operations.
class TRecordingTarget : public TAEDropTarget {
public:
    std::vector<String> Texts;
    std::vector<String> Files;
    void DropText(TPoint, const String& s) override { Texts.push_back(s); }
    void DropFiles(TPoint, TStrings* f) override
    {
        for (Integer i = 0; i < f->Count(); ++i) Files.push_back(f->Strings(i));
    }
};

// Feeds input while a drag loop runs: each posted step queues one piece of
// input and posts the next step, so the loop takes them in order.
class TDragScript {
public:
    TDragScript()
    {
        WNDCLASS wc;
        wc.lpfnWndProc = &TDragScript::Proc;
        wc.lpszClassName = L"EditDragScript";
        RegisterClass(wc);
        FWnd = CreateWindowEx(0, L"EditDragScript", L"", WS_POPUP, 0, 0, 0, 0, nullptr);
    }
    ~TDragScript() { DestroyWindow(FWnd); }
    void Start(std::vector<std::function<void()>> steps)
    {
        Steps() = std::move(steps);
        Next() = 0;
        PostMessage(FWnd, WM_USER, 0, 0);
    }

private:
    static std::vector<std::function<void()>>& Steps()
    {
        static std::vector<std::function<void()>> s;
        return s;
    }
    static size_t& Next()
    {
        static size_t n = 0;
        return n;
    }
    static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_USER && Next() < Steps().size()) {
            Steps()[Next()++]();
            if (Next() < Steps().size()) PostMessage(h, WM_USER, 0, 0);
            return 0;
        }
        return DefWindowProc(h, m, w, l);
    }
    HWND FWnd;
};

}  // namespace

TEST_F(VodEdddTest, SourceDataObjectAndItsEnumerator)
{
    TComPtr<TSourceDataObject> d(new TSourceDataObject(L"h\x20AC", L"{\\rtf1}"));
    IEnumFORMATETC* raw = nullptr;
    ASSERT_EQ(d->EnumFormatEtc(DATADIR_GET, &raw), S_OK);
    TComPtr<IEnumFORMATETC> e;
    e.Attach(raw);
    FORMATETC f[4];
    ULONG got = 0;
    EXPECT_EQ(e->Next(3, f, &got), S_OK);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(f[0].cfFormat, CF_TEXT);
    EXPECT_EQ(f[1].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(f[2].cfFormat, CLIPFORMAT(VodEdddRTFFormat()));
    EXPECT_EQ(f[1].tymed, TYMED_HGLOBAL);
    EXPECT_EQ(f[1].lindex, -1);
    EXPECT_EQ(e->Next(1, f, &got), S_FALSE);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(e->Reset(), S_OK);
    EXPECT_EQ(e->Skip(3), S_OK);
    EXPECT_EQ(e->Skip(1), S_FALSE);
    IEnumFORMATETC* clone = nullptr;
    EXPECT_EQ(e->Clone(&clone), S_OK);
    EXPECT_EQ(clone->Next(1, f, nullptr), S_OK);
    EXPECT_EQ(f[0].cfFormat, CF_TEXT);
    clone->Release();
    IEnumFORMATETC* none = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(d->EnumFormatEtc(DATADIR_SET, &none), E_NOTIMPL);
    EXPECT_EQ(none, nullptr);

    FORMATETC q;
    q.cfFormat = CF_UNICODETEXT;
    EXPECT_EQ(d->QueryGetData(&q), S_OK);
    q.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
    EXPECT_EQ(d->QueryGetData(&q), DV_E_FORMATETC);
    q.tymed = TYMED_HGLOBAL;
    q.dwAspect = DVASPECT_ICON;
    EXPECT_EQ(d->QueryGetData(&q), DV_E_FORMATETC);
    q.dwAspect = DVASPECT_CONTENT;
    q.cfFormat = CLIPFORMAT(VodEdddRTFFormat());
    EXPECT_EQ(d->QueryGetData(&q), DV_E_FORMATETC) << "RTF stays off";

    STGMEDIUM m;
    q.cfFormat = CF_UNICODETEXT;
    ASSERT_EQ(d->GetData(&q, &m), S_OK);
    EXPECT_EQ(GlobalSize(m.hGlobal), 6u);   // two characters and a zero
    EXPECT_EQ(GlobalText(m.hGlobal, CF_UNICODETEXT), L"h\x20AC");
    ReleaseStgMedium(&m);
    q.cfFormat = CF_TEXT;
    ASSERT_EQ(d->GetData(&q, &m), S_OK);
    EXPECT_EQ(GlobalSize(m.hGlobal), 3u);
    ReleaseStgMedium(&m);
    EXPECT_EQ(d->GetDataHere(&q, &m), DV_E_FORMATETC);
    EXPECT_EQ(d->SetData(&q, &m, FALSE), DV_E_FORMATETC);
    EXPECT_EQ(d->DAdvise(&q, 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);

    TComPtr<TAEDropSource> s(new TAEDropSource);
    EXPECT_EQ(s->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(s->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(s->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(s->NoAccept());
}

TEST_F(VodEdddTest, ForeignBlocksAreReadWithinTheirSize)
{
    // Text without its zero, a file list whose offset points past the
    // block, names without their ending zero.
    const char text[] = {'a', 'b', 'c'};
    TComPtr<TDataObject> t = Foreign(CF_TEXT, Block(text, sizeof text));
    TEnumFormats f(t.Get());
    EXPECT_TRUE(f.HasText());
    EXPECT_EQ(f.Text(), L"abc");

    DROPFILES bad;
    bad.pFiles = 4000;
    TComPtr<TDataObject> d1 = Foreign(CF_HDROP, Block(&bad, sizeof bad));
    TEnumFormats g(d1.Get());
    EXPECT_TRUE(g.HasFile());
    EXPECT_FALSE(g.ReadFiles());

    std::vector<Byte> raw(sizeof(DROPFILES) + 6);
    DROPFILES head;
    std::memcpy(raw.data(), &head, sizeof head);
    const wchar_t name[] = {L'x', L'y', L'z'};
    std::memcpy(raw.data() + sizeof head, name, 6);
    TComPtr<TDataObject> d2 = Foreign(CF_HDROP, Block(raw.data(), raw.size()));
    TEnumFormats h(d2.Get());
    h.ReadFiles();
    for (Integer i = 0; i < h.Files()->Count(); ++i) EXPECT_LE(h.Files()->Strings(i).size(), 3u);

    // Random blocks of each kind: no crash, no read past the block.
    uint32_t seed = 7;
    for (int round = 0; round < 200; ++round) {
        std::vector<Byte> junk(size_t(seed % 64) + 1);
        for (Byte& b : junk) {
            seed = seed * 1103515245u + 12345u;
            b = Byte(seed >> 16);
        }
        for (CLIPFORMAT cf : {CF_TEXT, CF_UNICODETEXT, CF_HDROP}) {
            TComPtr<TDataObject> j = Foreign(cf, Block(junk.data(), junk.size()));
            TEnumFormats r(j.Get());
            (void)r.Text();
            (void)r.ReadFiles();
        }
    }

    // A target takes files (the effect shows move or copy) but an edit
    // changes nothing for them.
    TComPtr<TRecordingTarget> target(new TRecordingTarget);
    TComPtr<TDataObject> files(new TDataObject);
    files->SetFiles({L"/tmp/a.txt"});
    DWORD effect = 0;
    target->DragEnter(files.Get(), MK_LBUTTON | MK_CONTROL, POINTL{}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    target->DragOver(MK_LBUTTON, POINTL{}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    target->Drop(files.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(target->Files, (std::vector<String>{L"/tmp/a.txt"}));
    EXPECT_TRUE(target->Texts.empty());

    TVodEdit* e = NewEdit();
    e->SetText(L"keep");
    TComPtr<TEditDropTarget> et(new TEditDropTarget(e));
    et->DragEnter(files.Get(), MK_LBUTTON, POINTL{}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    et->Drop(files.Get(), 0, POINTL{}, &effect);
    EXPECT_EQ(e->Text(), L"keep");

    // A data object without an enumerator is refused, not a crash.
    class TNoEnum : public TDataObject {
    public:
        HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** e) override
        {
            *e = nullptr;
            return E_FAIL;
        }
    };
    TComPtr<TNoEnum> noEnum(new TNoEnum);
    EXPECT_THROW(TEnumFormats x(noEnum.Get()), Exception);
    et->DragEnter(noEnum.Get(), MK_LBUTTON, POINTL{}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

TEST_F(VodEdddTest, DropTargetInsertsTheFirstLineAtTheMouse)
{
    TVodEdit* e = NewEdit();
    e->SetText(L"abcd");
    TComPtr<TEditDropTarget> et(new TEditDropTarget(e));
    TComPtr<TDataObject> d(new TDataObject);
    d->SetText(L"XY\r\nsecond");
    // Mouse over the gap after "ab" (characters are 8 wide, text from x = 1).
    Drv->MouseMoveWindow(e->Handle(), {17, 8});
    DWORD effect = 0;
    TPoint screen = Drv->ScreenPoint(e->Handle(), {17, 8});
    et->DragEnter(d.Get(), MK_LBUTTON, POINTL{screen.X, screen.Y}, &effect);
    et->DragOver(MK_LBUTTON, POINTL{screen.X, screen.Y}, &effect);
    EXPECT_GE(e->DropCaretPos().X, 0) << "the drop marker follows the mouse";
    et->Drop(d.Get(), MK_LBUTTON, POINTL{screen.X, screen.Y}, &effect);
    EXPECT_EQ(e->Text(), L"abXYcd");
    EXPECT_EQ(e->DropCaretPos().X, -1);
}

TEST_F(VodEdddTest, RealDragBetweenTwoEditsMovesOnceAndCopiesWithControl)
{
    TVodEdit* a = NewEdit(etString, 100, 20);
    TVodEdit* b = NewEdit(etString, 100, 80);
    a->SetOleDropSource(true);
    a->SetOleDropTarget(true);
    b->SetOleDropTarget(true);
    a->SetText(L"hello world");
    b->SetText(L"ab");
    a->SetFocus();
    Drv->Pump();
    Caret(a, 0, 5);   // "hello"

    TDragScript script;
    // Button down inside the selection, then a move that starts the drag;
    // the script moves over the other edit and lets go there.
    auto drag = [&](TVodEdit* over, TPoint release, bool copy) {
        const TPoint from = Drv->ScreenPoint(a->Handle(), {17, 8});
        const TPoint to = Drv->ScreenPoint(over->Handle(), release);
        Drv->Advance(1000);   // no double click with the drag before
        if (copy) Drv->KeyDown(VK_CONTROL);
        Drv->MouseDown(from);
        script.Start({[=] { WmMouseInput(WM_MOUSEMOVE, {to.X, to.Y - 2}); },
                      [=] { WmMouseInput(WM_MOUSEMOVE, to); }, [=] { WmMouseInput(WM_LBUTTONUP, to); }});
        SendMessage(a->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 8));
        Drv->Pump();
        Drv->MouseUp(to);   // the driver's own button state
        if (copy) Drv->KeyUp(VK_CONTROL);
        Drv->Pump();
    };
    drag(b, {9, 8}, false);
    EXPECT_EQ(b->Text(), L"ahellob");
    EXPECT_EQ(a->Text(), L" world") << "the move deletes the source selection once";

    a->SetText(L"hello world");
    b->SetText(L"ab");
    a->SetFocus();
    Drv->Pump();
    Caret(a, 0, 5);
    drag(b, {9, 8}, true);
    EXPECT_EQ(b->Text(), L"ahellob");
    EXPECT_EQ(a->Text(), L"hello world");

    // Dropping the selection onto itself changes nothing.
    a->SetFocus();
    Drv->Pump();
    Caret(a, 0, 5);
    drag(a, {25, 8}, false);
    EXPECT_EQ(a->Text(), L"hello world");
}

// The grid's drag-and-drop layer called directly: the source data object and
// its enumerator, the reader of foreign objects with malformed blocks, the
// drop target's effects and dispatch order, and the drop source's answers.
#include <gtest/gtest.h>

#include <cstring>

#include "controls/grid/vurdd.h"
#include "platform/base/ComObj.h"
#include "platform/ui/Ole2.h"
#include "platform/ui/backend/Headless.h"

using namespace vurdd;

namespace {

class Vurdd : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterVurFormats();
        SetVurDropRTF(false);
    }
    void TearDown() override { SetVurDropRTF(false); }
};

FORMATETC Fmt(CLIPFORMAT f, DWORD tymed = TYMED_HGLOBAL)
{
    FORMATETC e{};
    e.cfFormat = f;
    e.tymed = tymed;
    return e;
}

std::string Bytes(HGLOBAL h)
{
    std::string r(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
    GlobalUnlock(h);
    return r;
}

// Records the handlers the target dispatches to.
class TRecordingTarget : public TVURDropTarget {
public:
    std::vector<std::string> Log;
    void DropText(TPoint, const String& S) override { Log.push_back("text:" + Narrow(S)); }
    void DropStream(TPoint, TMemoryStream* M) override { Log.push_back("stream:" + std::to_string(M->Size())); }
    void DropCol(TPoint, Integer Col) override { Log.push_back("col:" + std::to_string(Col)); }
    void DropRTF(TPoint, const String& S) override { Log.push_back("rtf:" + Narrow(S)); }
    void DropFiles(TPoint, TStrings* F) override { Log.push_back("files:" + std::to_string(F->Count())); }
    void DropURL(TPoint, const String& S) override { Log.push_back("url:" + Narrow(S)); }
    void DragMouseEnter() override {}
    void DragMouseLeave() override {}
    static std::string Narrow(const String& s) { return std::string(s.begin(), s.end()); }
};

TEST_F(Vurdd, EnumeratorNextSkipResetClone)
{
    TMemoryStream m;
    TComPtr<TSourceDataObject> d(new TSourceDataObject(L"t", &m, 3, L""));
    IEnumFORMATETC* e = nullptr;
    ASSERT_EQ(d->EnumFormatEtc(DATADIR_GET, &e), S_OK);
    FORMATETC got[6];
    ULONG n = 0;
    EXPECT_EQ(e->Next(6, got, &n), S_FALSE);
    ASSERT_EQ(n, 5u);
    const CLIPFORMAT order[5] = {CF_TEXT, CF_UNICODETEXT, VurFormats().RTF, VurFormats().Col, VurFormats().Cells};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(got[i].cfFormat, order[i]) << i;
        EXPECT_EQ(got[i].lindex, -1);
        EXPECT_EQ(got[i].tymed, TYMED_HGLOBAL);
    }
    e->Reset();
    EXPECT_EQ(e->Skip(2), S_OK);
    IEnumFORMATETC* c = nullptr;
    ASSERT_EQ(e->Clone(&c), S_OK);
    EXPECT_EQ(c->Next(1, got, &n), S_OK);
    EXPECT_EQ(got[0].cfFormat, VurFormats().RTF) << "a clone goes on from the same entry";
    EXPECT_EQ(e->Skip(9), S_FALSE);
    EXPECT_EQ(e->Next(1, got, &n), S_FALSE);
    EXPECT_EQ(n, 0u) << "skipping past the end leaves it at the end";
    c->Release();
    e->Release();
    EXPECT_EQ(d->EnumFormatEtc(DATADIR_SET, &e), E_NOTIMPL);
    EXPECT_EQ(e, nullptr);
}

TEST_F(Vurdd, QueryAndGetDataRecords)
{
    TMemoryStream m;
    m.WriteBuffer("abc", 3);
    TComPtr<TSourceDataObject> d(new TSourceDataObject(L"h\x00E9", &m, 7, L"{\\rtf1}"));
    STGMEDIUM s;
    FORMATETC f = Fmt(CF_TEXT);
    ASSERT_EQ(d->GetData(&f, &s), S_OK);
    EXPECT_EQ(Bytes(s.hGlobal), std::string("h\xE9") + '\0');
    ReleaseStgMedium(&s);
    f = Fmt(CF_UNICODETEXT);
    ASSERT_EQ(d->GetData(&f, &s), S_OK);
    EXPECT_EQ(GlobalSize(s.hGlobal), 6u);
    ReleaseStgMedium(&s);
    f = Fmt(VurFormats().Col);
    ASSERT_EQ(d->GetData(&f, &s), S_OK);
    EXPECT_EQ(Bytes(s.hGlobal), std::string("\x07\0\0\0", 4));
    ReleaseStgMedium(&s);
    f = Fmt(VurFormats().Cells);
    ASSERT_EQ(d->GetData(&f, &s), S_OK);
    EXPECT_EQ(Bytes(s.hGlobal), std::string("\x03\0\0\0\0\0\0\0abc", 11));
    ReleaseStgMedium(&s);

    // Rich text only with the process switch; other media and aspects refused.
    f = Fmt(VurFormats().RTF);
    EXPECT_EQ(d->QueryGetData(&f), DV_E_FORMATETC);
    SetVurDropRTF(true);
    EXPECT_EQ(d->QueryGetData(&f), S_OK);
    f = Fmt(CF_TEXT, TYMED_HGLOBAL | TYMED_ISTREAM);
    EXPECT_EQ(d->QueryGetData(&f), DV_E_FORMATETC);
    f = Fmt(CF_TEXT);
    f.dwAspect = DVASPECT_ICON;
    EXPECT_EQ(d->GetData(&f, &s), DV_E_FORMATETC);
    EXPECT_EQ(s.hGlobal, nullptr);

    // A column drag offers text in its enumeration but refuses to give it.
    TComPtr<TSourceDataObject> col(new TSourceDataObject(L"", nullptr, 2, L""));
    f = Fmt(CF_UNICODETEXT);
    EXPECT_EQ(col->QueryGetData(&f), DV_E_FORMATETC);
    TEnumFormats ef(col.Get());
    EXPECT_TRUE(ef.HasText());
    EXPECT_EQ(ef.Text(), L"");
    EXPECT_EQ(ef.Col(), 2);
    EXPECT_EQ(ef.Stream(), nullptr);
}

// A data object holding one block per format, as a foreign program could.
TComPtr<TDataObject> Foreign(CLIPFORMAT f, const std::string& bytes)
{
    TComPtr<TDataObject> d(new TDataObject);
    d->SetBytes(f, bytes.data(), bytes.size());
    return d;
}

TEST_F(Vurdd, MalformedForeignBlocksAreReadWithinTheirBounds)
{
    // The cell record's length beyond the block.
    {
        std::string b("\xFF\xFF\x00\x00\0\0\0\0abc", 11);
        TEnumFormats ef(Foreign(VurFormats().Cells, b).Get());
        EXPECT_EQ(ef.Stream(), nullptr);
    }
    // A short cell record and a short column record.
    {
        TEnumFormats ef(Foreign(VurFormats().Cells, std::string("\x01\0", 2)).Get());
        EXPECT_EQ(ef.Stream(), nullptr);
        TEnumFormats ec(Foreign(VurFormats().Col, std::string("\x01", 1)).Get());
        EXPECT_EQ(ec.Col(), -1);
    }
    // File lists: offset outside the block; a name without its terminator;
    // 8-bit names.
    auto drop = [](uint32_t offset, uint32_t wide, const std::string& names) {
        std::string b(20, '\0');
        memcpy(&b[0], &offset, 4);
        memcpy(&b[16], &wide, 4);
        return b + names;
    };
    {
        TEnumFormats ef(Foreign(CF_HDROP, drop(5000, 1, "")).Get());
        ASSERT_TRUE(ef.HasFile());
        EXPECT_FALSE(ef.ReadFiles());
    }
    {
        TEnumFormats ef(Foreign(CF_HDROP, drop(20, 1, std::string("a\0b\0\0\0c\0", 8))).Get());
        ASSERT_TRUE(ef.HasFile());
        ASSERT_TRUE(ef.ReadFiles());
        ASSERT_EQ(ef.Files()->Count(), 2);
        EXPECT_EQ(ef.Files()->Strings(0), L"ab");
        EXPECT_EQ(ef.Files()->Strings(1), L"c") << "the unterminated name ends with the block";
    }
    {
        TEnumFormats ef(Foreign(CF_HDROP, drop(21, 0, std::string("x\xE9\0y\0\0", 6))).Get());
        ASSERT_TRUE(ef.HasFile());
        ASSERT_TRUE(ef.ReadFiles());
        EXPECT_EQ(ef.Files()->Strings(0), L"x\x00E9") << "an odd offset is rounded down";
    }
    {
        TEnumFormats ef(Foreign(CF_HDROP, std::string(7, '\0')).Get());
        ASSERT_TRUE(ef.HasFile());
        EXPECT_FALSE(ef.ReadFiles()) << "a block shorter than its header";
    }
}

// A foreign object without a format enumerator.
class TNoEnum : public TDataObject {
public:
    HRESULT EnumFormatEtc(DWORD, IEnumFORMATETC** e) override
    {
        *e = nullptr;
        return E_NOTIMPL;
    }
};

TEST_F(Vurdd, TargetEffectsAndDispatchOrder)
{
    TComPtr<TRecordingTarget> t(new TRecordingTarget);
    DWORD eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    TComPtr<TDataObject> text(new TDataObject);
    text->SetText(L"hi");
    t->DragEnter(text.Get(), MK_LBUTTON, POINTL{}, &eff);
    EXPECT_EQ(eff, DROPEFFECT_MOVE);
    eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragOver(MK_LBUTTON | MK_CONTROL, POINTL{}, &eff);
    EXPECT_EQ(eff, DROPEFFECT_COPY);
    eff = DROPEFFECT_COPY;
    t->DragOver(MK_LBUTTON, POINTL{}, &eff);
    EXPECT_EQ(eff, DROPEFFECT_COPY) << "no move when the source does not allow it";
    eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->Drop(text.Get(), 0, POINTL{}, &eff);
    EXPECT_EQ(t->Log, std::vector<std::string>{"text:hi"});

    // A URL is linked whatever the keys and dropped once, with the text.
    t->Log.clear();
    TComPtr<TDataObject> url(new TDataObject);
    url->SetText(L"http://x");
    url->SetBytes(VurFormats().URL, "http://x", 9);
    url->SetFiles({L"/tmp/a.csv"});
    eff = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    t->DragEnter(url.Get(), MK_LBUTTON | MK_CONTROL, POINTL{}, &eff);
    EXPECT_EQ(eff, DROPEFFECT_LINK);
    t->Drop(url.Get(), 0, POINTL{}, &eff);
    EXPECT_EQ(t->Log, std::vector<std::string>{"url:http://x"});

    // Cells before rich text before text; files after them.
    t->Log.clear();
    TComPtr<TDataObject> all(new TDataObject);
    all->SetText(L"t");
    all->SetBytes(VurFormats().RTF, "{\\rtf1}", 8);
    all->SetBytes(VurFormats().Cells, std::string("\x02\0\0\0\0\0\0\0ab", 10).data(), 10);
    all->SetFiles({L"/tmp/a.csv"});
    eff = DROPEFFECT_COPY;
    t->DragEnter(all.Get(), MK_LBUTTON, POINTL{}, &eff);
    t->Drop(all.Get(), 0, POINTL{}, &eff);
    EXPECT_EQ(t->Log, (std::vector<std::string>{"stream:2", "files:1"}));
    t->Log.clear();
    TComPtr<TDataObject> rtf(new TDataObject);
    rtf->SetText(L"t");
    rtf->SetBytes(VurFormats().RTF, "{\\rtf1}", 8);
    t->DragEnter(rtf.Get(), MK_LBUTTON, POINTL{}, &eff);
    t->Drop(rtf.Get(), 0, POINTL{}, &eff);
    SetVurDropRTF(true);
    t->DragEnter(rtf.Get(), MK_LBUTTON, POINTL{}, &eff);
    t->Drop(rtf.Get(), 0, POINTL{}, &eff);
    EXPECT_EQ(t->Log, (std::vector<std::string>{"text:t", "rtf:{\\rtf1}"}));

    // A column drag: only through text, since the target takes no columns.
    t->Log.clear();
    TComPtr<TSourceDataObject> col(new TSourceDataObject(L"", nullptr, 4, L""));
    eff = DROPEFFECT_MOVE;
    t->DragEnter(col.Get(), MK_LBUTTON, POINTL{}, &eff);
    EXPECT_TRUE(HasDropFormat(t->DropFormats(), dfCol));
    EXPECT_EQ(eff, DROPEFFECT_MOVE);
    t->Drop(col.Get(), 0, POINTL{}, &eff);
    EXPECT_EQ(t->Log, std::vector<std::string>{"col:4"});

    // No enumerator: refused, nothing raised into the drag loop.
    TComPtr<TNoEnum> none(new TNoEnum);
    eff = DROPEFFECT_COPY;
    EXPECT_EQ(t->DragEnter(none.Get(), MK_LBUTTON, POINTL{}, &eff), S_OK);
    EXPECT_EQ(eff, DROPEFFECT_NONE);
    EXPECT_THROW(TEnumFormats x(none.Get()), EAssertionFailed);
}

// A target whose handler fails: the drop answers no effect and keeps the
// failure for after the drag.
class TFailingTarget : public TRecordingTarget {
public:
    void DropText(TPoint, const String&) override { throw Exception(L"handler failed"); }
};

TEST_F(Vurdd, HandlerFailuresStayOutOfTheDragLoop)
{
    TComPtr<TFailingTarget> t(new TFailingTarget);
    TComPtr<TDataObject> text(new TDataObject);
    text->SetText(L"hi");
    DWORD eff = DROPEFFECT_COPY;
    t->DragEnter(text.Get(), MK_LBUTTON, POINTL{}, &eff);
    EXPECT_NO_THROW(t->Drop(text.Get(), 0, POINTL{}, &eff));
    EXPECT_EQ(eff, DROPEFFECT_NONE);
    std::exception_ptr e = t->TakeDropError();
    ASSERT_TRUE(e);
    EXPECT_THROW(std::rethrow_exception(e), Exception);
    EXPECT_FALSE(t->TakeDropError());
}

class TCountingSource : public TVURDropSource {
public:
    int Finished = 0, Queries = 0, Effect = -1;
    void DragFinished() override { ++Finished; }
    void QueryDrag() override { ++Queries; }
    void CurrentEffect(Integer e) override { Effect = e; }
};

TEST_F(Vurdd, SourceAnswers)
{
    TComPtr<TCountingSource> s(new TCountingSource);
    EXPECT_EQ(s->QueryContinueDrag(FALSE, MK_LBUTTON), S_OK);
    EXPECT_EQ(s->QueryContinueDrag(TRUE, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(s->QueryContinueDrag(FALSE, 0), DRAGDROP_S_DROP);
    EXPECT_EQ(s->Finished, 2);
    EXPECT_EQ(s->Queries, 3);
    EXPECT_EQ(s->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(s->FNoAccept);
    s->GiveFeedback(DROPEFFECT_COPY);
    EXPECT_FALSE(s->FNoAccept);
    EXPECT_EQ(s->Effect, Integer(DROPEFFECT_COPY));
}

}  // namespace

#include "platform/base/ComObj.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(GlobalMemory, MovableAndFixedBlocks)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, 13);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GlobalSize(h), 13u);   // exact, not rounded
    auto* p = static_cast<unsigned char*>(GlobalLock(h));
    ASSERT_NE(p, nullptr);
    EXPECT_NE(static_cast<void*>(p), h);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(p[i], 0);
    memcpy(p, "hello, world!", 13);
    EXPECT_EQ(GlobalLock(h), p);
    EXPECT_TRUE(GlobalUnlock(h));     // one lock left
    EXPECT_FALSE(GlobalUnlock(h));    // none left
    EXPECT_FALSE(GlobalUnlock(h));    // not locked at all

    // Growing keeps the handle and the content, zero-fills the new part.
    EXPECT_EQ(GlobalReAlloc(h, 100000, GMEM_MOVEABLE | GMEM_ZEROINIT), h);
    EXPECT_EQ(GlobalSize(h), 100000u);
    p = static_cast<unsigned char*>(GlobalLock(h));
    EXPECT_EQ(memcmp(p, "hello, world!", 13), 0);
    EXPECT_EQ(p[99999], 0);
    // Locked: it may not move.
    EXPECT_EQ(GlobalReAlloc(h, 200000, GMEM_ZEROINIT), nullptr);
    EXPECT_EQ(GlobalReAlloc(h, 5, 0), h);
    EXPECT_EQ(GlobalSize(h), 5u);
    GlobalUnlock(h);
    EXPECT_EQ(GlobalFree(h), nullptr);

    // Freed and foreign handles are refused, never used.
    int local = 0;
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GlobalSize(&local), 0u);
    EXPECT_EQ(GlobalFree(&local), &local);

    HGLOBAL f = GlobalAlloc(GPTR, 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(GlobalLock(f), f);   // a fixed block is its own address
    EXPECT_EQ(GlobalSize(f), 0u);
    HGLOBAL f2 = GlobalReAlloc(f, 64, GMEM_ZEROINIT);
    ASSERT_NE(f2, nullptr);
    EXPECT_EQ(GlobalSize(f2), 64u);
    EXPECT_EQ(GlobalFree(f2), nullptr);
}

std::string ReadAll(IStream* s)
{
    std::string out;
    char buf[7];
    ULONG n = 0;
    while (SUCCEEDED(s->Read(buf, sizeof buf, &n)) && n > 0) out.append(buf, n);
    return out;
}

TEST(GlobalStream, ReadsWritesSeeksAndFreesOnRelease)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 5);
    memcpy(GlobalLock(h), "abcde", 5);
    GlobalUnlock(h);

    TComPtr<IStream> s;
    ASSERT_EQ(CreateStreamOnHGlobal(h, 1, s.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(ReadAll(s.Get()), "abcde");
    ULONG n = 9;
    char c;
    EXPECT_EQ(s->Read(&c, 1, &n), S_FALSE);
    EXPECT_EQ(n, 0u);

    UInt64 pos = 0;
    ASSERT_EQ(s->Seek(-2, STREAM_SEEK_END, &pos), S_OK);
    EXPECT_EQ(pos, 3u);
    ASSERT_EQ(s->Write("XYZW", 4, &n), S_OK);   // past the end: the block grows
    EXPECT_EQ(GlobalSize(h), 7u);
    EXPECT_EQ(s->Seek(-1, STREAM_SEEK_SET, &pos), STG_E_INVALIDFUNCTION);
    s->Seek(0, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(ReadAll(s.Get()), "abcXYZW");

    STATSTG st;
    ASSERT_EQ(s->Stat(&st, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(st.cbSize, 7u);
    EXPECT_EQ(st.type, STGTY_STREAM);

    TComPtr<ISequentialStream> seq;
    EXPECT_EQ(s.As(seq), S_OK);
    TComPtr<IUnknown> unk;
    EXPECT_EQ(s.As(unk), S_OK);

    // A clone shares the block; the block goes with the last stream.
    TComPtr<IStream> clone;
    ASSERT_EQ(s->Clone(clone.ReleaseAndGetAddressOf()), S_OK);
    HGLOBAL under = nullptr;
    EXPECT_EQ(GetHGlobalFromStream(clone.Get(), &under), S_OK);
    EXPECT_EQ(under, h);
    seq = nullptr;
    unk = nullptr;
    s = nullptr;
    EXPECT_EQ(GlobalSize(h), 7u);
    clone->Seek(0, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(ReadAll(clone.Get()), "abcXYZW");
    clone = nullptr;
    EXPECT_EQ(GlobalSize(h), 0u);   // freed
}

TEST(GlobalStream, OwnBlockAndKeptBlock)
{
    // A new block; copied into a second stream whose block outlives it.
    TComPtr<IStream> a;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, 1, a.ReleaseAndGetAddressOf()), S_OK);
    std::string data(50000, 'q');
    ULONG n = 0;
    ASSERT_EQ(a->Write(data.data(), ULONG(data.size()), &n), S_OK);
    a->Seek(0, STREAM_SEEK_SET, nullptr);

    HGLOBAL kept = GlobalAlloc(GMEM_MOVEABLE, 0);
    TComPtr<IStream> b;
    ASSERT_EQ(CreateStreamOnHGlobal(kept, 0, b.ReleaseAndGetAddressOf()), S_OK);
    UInt64 r = 0, w = 0;
    ASSERT_EQ(a->CopyTo(b.Get(), 1u << 30, &r, &w), S_OK);
    EXPECT_EQ(r, 50000u);
    EXPECT_EQ(w, 50000u);
    a = nullptr;
    b = nullptr;
    EXPECT_EQ(GlobalSize(kept), 50000u);   // not deleted on release
    GlobalFree(kept);

    int foreign = 0;
    TComPtr<IStream> c;
    EXPECT_EQ(CreateStreamOnHGlobal(&foreign, 0, c.ReleaseAndGetAddressOf()), E_INVALIDARG);
}

TEST(DropFiles, WrittenAndReadBack)
{
    std::vector<String> files = {L"/home/u/Videos/clip one.flv", L"/tmp/\u00e9t\u00e9 \U0001F600.avi"};
    HGLOBAL h = MakeDropFiles(files, {3, 4});
    ASSERT_NE(h, nullptr);
    auto* header = static_cast<DROPFILES*>(GlobalLock(h));
    EXPECT_EQ(header->pFiles, 20u);
    EXPECT_TRUE(header->fWide);
    EXPECT_EQ(header->pt.X, 3);
    GlobalUnlock(h);

    EXPECT_EQ(DragQueryFile(h, 0xFFFFFFFF, nullptr, 0), 2u);
    Char buf[260];
    for (UINT i = 0; i < 2; ++i) {
        EXPECT_EQ(DragQueryFile(h, i, nullptr, 0), files[i].size());
        EXPECT_EQ(DragQueryFile(h, i, buf, 260), files[i].size());
        EXPECT_EQ(String(buf), files[i]);
    }
    EXPECT_EQ(DragQueryFile(h, 2, buf, 260), 0u);
    EXPECT_EQ(DragQueryFile(h, 0, buf, 5), 4u);   // cut to the buffer
    EXPECT_EQ(String(buf), L"/hom");
    GlobalFree(h);
}

TEST(DropFiles, MalformedBlocksNeverReadPastTheEnd)
{
    auto block = [](const std::string& bytes) {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!bytes.empty()) memcpy(GlobalLock(h), bytes.data(), bytes.size());
        GlobalUnlock(h);
        return h;
    };
    auto header = [](DWORD offset, BOOL wide) {
        DROPFILES d;
        d.pFiles = offset;
        d.fWide = wide;
        return std::string(reinterpret_cast<const char*>(&d), sizeof d);
    };
    struct Case {
        std::string bytes;
        UINT count;
    } cases[] = {
        {"", 0},
        {"short", 0},
        {header(1000, 1), 0},                                      // offset past the end
        {header(4, 1), 0},                                         // offset inside the header
        {header(20, 1) + std::string("a\0b", 3), 1},               // no final zeros: ends at the block
        {header(20, 0) + std::string("one\0two\0\0", 9), 2},       // 8-bit names
        {header(20, 1) + std::string("\0\0", 2), 0},               // empty list
        {header(20, 1) + std::string("x", 1), 0},                  // half a character
    };
    for (const Case& c : cases) {
        HGLOBAL h = block(c.bytes);
        EXPECT_EQ(DragQueryFile(h, 0xFFFFFFFF, nullptr, 0), c.count) << c.bytes.size();
        Char buf[16];
        for (UINT i = 0; i < 3; ++i) DragQueryFile(h, i, buf, 16);
        GlobalFree(h);
    }
    Char buf[8];
    EXPECT_EQ(DragQueryFile(nullptr, 0, buf, 8), 0u);
}

TEST(GlobalText, WrittenWithItsZeroAndReadUpToTheZeroOrTheBlocksEnd)
{
    HGLOBAL w = MakeGlobalText(L"d\u00e9j\u00e0 \U0001F600", CF_UNICODETEXT);
    EXPECT_EQ(GlobalSize(w), 2u * 8u);   // six characters, one of them a surrogate pair, and the zero
    EXPECT_EQ(GlobalText(w, CF_UNICODETEXT), L"d\u00e9j\u00e0 \U0001F600");
    GlobalFree(w);
    HGLOBAL a = MakeGlobalText(L"\u20ac1", CF_TEXT);
    EXPECT_EQ(GlobalSize(a), 3u);
    EXPECT_EQ(static_cast<unsigned char*>(GlobalLock(a))[0], 0x80);   // Windows-1252
    GlobalUnlock(a);
    EXPECT_EQ(GlobalText(a, CF_TEXT), L"\u20ac1");
    GlobalFree(a);
    EXPECT_EQ(MakeGlobalText(L"x", CF_HDROP), nullptr);

    struct Case {
        std::string Bytes;
        CLIPFORMAT Format;
        String Text;
    } cases[] = {
        {std::string("abc\0def", 7), CF_TEXT, L"abc"},
        {"abc", CF_TEXT, L"abc"},                                   // no zero: ends with the block
        {std::string("a\0b\0", 4), CF_UNICODETEXT, L"ab"},
        {std::string("a\0b", 3), CF_UNICODETEXT, L"a"},            // half a character
        {"", CF_UNICODETEXT, L""},
        {"abc", CF_HDROP, L""},
    };
    for (const Case& c : cases) {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, c.Bytes.size());
        if (!c.Bytes.empty()) memcpy(GlobalLock(h), c.Bytes.data(), c.Bytes.size());
        GlobalUnlock(h);
        EXPECT_EQ(GlobalText(h, c.Format), c.Text) << c.Bytes;
        GlobalFree(h);
    }
    EXPECT_EQ(GlobalText(nullptr, CF_TEXT), L"");
}

TEST(StgMedium, ReleaseFreesWhatItHolds)
{
    STGMEDIUM m;
    m.tymed = TYMED_HGLOBAL;
    m.hGlobal = GlobalAlloc(GHND, 10);
    HGLOBAL h = m.hGlobal;
    ReleaseStgMedium(&m);
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_EQ(m.tymed, TYMED_NULL);
    EXPECT_EQ(m.hGlobal, nullptr);

    STGMEDIUM s;
    s.tymed = TYMED_ISTREAM;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, 1, &s.pstm), S_OK);
    ReleaseStgMedium(&s);   // the only reference: freed (ASan checks)
    EXPECT_EQ(s.pstm, nullptr);
}

TEST(Automation, NoServerForAnyProgramId)
{
    for (const wchar_t* id : {L"Excel.Application", L"Word.Application", L"", L"x"}) {
        try {
            CreateOleObject(id);
            ADD_FAILURE() << "no exception";
        } catch (const EOleSysError& e) {
            EXPECT_EQ(e.Message(), L"Invalid class string");
            EXPECT_EQ(e.ErrorCode(), CO_E_CLASSSTRING);
        }
        EXPECT_THROW(GetActiveOleObject(id), EOleSysError);
    }
}

}  // namespace

#include <gtest/gtest.h>

#include <cstring>

#include "platform/ui/Clipbrd.h"
#include "platform/ui/backend/Headless.h"

namespace {

class ClipbrdTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Drv = std::make_unique<THeadlessDriver>();
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        CloseClipboard();
    }
    void TearDown() override
    {
        CloseClipboard();
        Drv.reset();
    }
    static HGLOBAL Block(const void* data, size_t size)
    {
        HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(h), data, size);
        GlobalUnlock(h);
        return h;
    }
    static std::string Bytes(HGLOBAL h)
    {
        std::string r(static_cast<const char*>(GlobalLock(h)), GlobalSize(h));
        GlobalUnlock(h);
        return r;
    }
    std::unique_ptr<THeadlessDriver> Drv;
};

}  // namespace

TEST_F(ClipbrdTest, TextFormatsAreMadeFromEachOther)
{
    struct Case {
        UINT set;
        std::string bytes;    // as stored
        UINT get;
        std::string expect;   // as read back
    };
    // UTF-16LE: e-acute 00E9, the euro sign 20AC.
    const std::string wideBytes("c\0a\0f\0\xE9\0 \0\xAC\x20\0\0", 14);
    const Case cases[] = {
        // The system code page holds e-acute as E9 and the euro sign as 80.
        {CF_UNICODETEXT, wideBytes, CF_TEXT, std::string("caf\xE9 \x80", 6) + '\0'},
        {CF_TEXT, std::string("caf\xE9 \x80", 6) + '\0', CF_UNICODETEXT, wideBytes},
        // A block without a terminator is read up to its end, never beyond.
        {CF_TEXT, "abc", CF_UNICODETEXT, std::string("a\0b\0c\0\0\0", 8)},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        ASSERT_NE(SetClipboardData(c.set, Block(c.bytes.data(), c.bytes.size())), nullptr);
        EXPECT_TRUE(IsClipboardFormatAvailable(c.get));
        HGLOBAL h = GetClipboardData(c.get);
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(Bytes(h), c.expect) << "format " << c.set << " read as " << c.get;
        EXPECT_EQ(GetClipboardData(c.get), h) << "made once, then kept";
        CloseClipboard();
    }
}

TEST_F(ClipbrdTest, OpeningEmptyingAndSettingFollowTheOwnershipRules)
{
    HGLOBAL loose = Block("x", 2);
    EXPECT_EQ(SetClipboardData(CF_TEXT, loose), nullptr) << "not open";
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_FALSE(EmptyClipboard());

    HWND a = reinterpret_cast<HWND>(uintptr_t(0x1234)), b = reinterpret_cast<HWND>(uintptr_t(0x5678));
    ASSERT_TRUE(OpenClipboard(a));
    EXPECT_TRUE(OpenClipboard(a)) << "the same window may open it again";
    EXPECT_FALSE(OpenClipboard(b)) << "another window must wait";
    EXPECT_EQ(GetOpenClipboardWindow(), a);
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), a);
    EXPECT_EQ(SetClipboardData(CF_TEXT, loose), loose);
    // Setting a format again frees the block there before.
    HGLOBAL second = Block("y", 2);
    EXPECT_EQ(SetClipboardData(CF_TEXT, second), second);
    EXPECT_EQ(GlobalSize(loose), 0u) << "the replaced block was freed";
    EXPECT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_TRUE(OpenClipboard(b));
    EXPECT_EQ(Bytes(GetClipboardData(CF_TEXT)), std::string("y", 2));
    CloseClipboard();
}

TEST_F(ClipbrdTest, RegisteredFormatsShareTheMessageNumbering)
{
    UINT html = RegisterClipboardFormat(L"HTML Format");
    EXPECT_GE(html, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat(L"html format"), html) << "names ignore case";
    EXPECT_EQ(RegisterWindowMessage(L"HTML Format"), html) << "one table with registered messages";
    UINT rtf = RegisterClipboardFormat(L"Rich Text Format");
    EXPECT_NE(rtf, html);
    EXPECT_EQ(RegisterClipboardFormat(L""), 0u);
    EXPECT_EQ(RegisterClipboardFormat(nullptr), 0u);

    wchar_t buf[6];
    EXPECT_EQ(GetClipboardFormatName(html, buf, 6), 5);
    EXPECT_STREQ(buf, L"HTML ");
    EXPECT_EQ(GetClipboardFormatName(CF_TEXT, buf, 6), 0);

    // Formats enumerate in the order they were set, the synthesised text last.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(html, Block("<b>", 4));
    SetClipboardData(CF_TEXT, Block("b", 2));
    std::vector<UINT> seen;
    for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) seen.push_back(f);
    EXPECT_EQ(seen, (std::vector<UINT>{html, CF_TEXT, CF_UNICODETEXT}));
    EXPECT_EQ(CountClipboardFormats(), 3);
    CloseClipboard();
}

TEST_F(ClipbrdTest, ClipboardObjectTextHandlesAndBrackets)
{
    TClipboard* cb = Clipboard();
    cb->SetAsText(L"first line\r\nsecond \u00e9");
    EXPECT_EQ(cb->AsText(), L"first line\r\nsecond \u00e9");
    EXPECT_TRUE(cb->HasFormat(CF_TEXT));
    EXPECT_FALSE(cb->HasFormat(CF_BITMAP));

    // A lone SetAsHandle replaces everything; inside Open/Close they add up.
    UINT grid = RegisterClipboardFormat(L"Grid Cells");
    cb->SetAsHandle(grid, Block("cells", 5));
    EXPECT_FALSE(cb->HasFormat(CF_UNICODETEXT));
    cb->Open();
    cb->SetAsText(L"a\tb");
    cb->SetAsHandle(grid, Block("AB", 2));
    cb->Close();
    EXPECT_EQ(cb->AsText(), L"a\tb");
    EXPECT_EQ(Bytes(cb->GetAsHandle(grid)), "AB");
    EXPECT_EQ(cb->FormatCount(), 3);
    EXPECT_EQ(cb->Formats(1), grid);
    EXPECT_THROW(cb->Formats(7), EListError);

    // Someone else holding the clipboard makes Open fail clearly.
    HWND other = reinterpret_cast<HWND>(uintptr_t(0x99));
    ASSERT_TRUE(OpenClipboard(other));
    EXPECT_THROW(cb->Open(), EClipboardException);
    CloseClipboard();

    cb->Clear();
    EXPECT_EQ(cb->FormatCount(), 0);
    EXPECT_EQ(cb->AsText(), L"");
    EXPECT_EQ(cb->GetAsHandle(grid), nullptr);
}

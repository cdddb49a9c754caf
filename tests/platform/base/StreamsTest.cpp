#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/base/Streams.h"

namespace {

class TempDir {
public:
    TempDir()
    {
        char tmpl[] = "/tmp/vel_streams_XXXXXX";
        Path = mkdtemp(tmpl);
    }
    ~TempDir() { std::filesystem::remove_all(Path); }
    String File(const char* name) const { return UTF8ToString(Path + "/" + name); }
    std::string Path;
};

}  // namespace

TEST(Streams, MemoryStreamReadWriteSeekAndErrors)
{
    TMemoryStream m;
    m.WriteBuffer("abcdef", 6);
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(m.Seek(-2, soFromEnd), 4);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 2);   // short read at the end
    EXPECT_STREQ(buf, "ef");
    EXPECT_EQ(m.Read(buf, 8), 0);
    try {
        m.SetPosition(3);
        m.ReadBuffer(buf, 4);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), L"Stream read error");
    }

    // Writing past the end fills the gap with zeros.
    m.SetPosition(8);
    m.WriteBuffer("Z", 1);
    ASSERT_EQ(m.Size(), 9);
    EXPECT_EQ(std::memcmp(m.Memory(), "abcdef\0\0Z", 9), 0);
    m.SetSize(2);
    EXPECT_EQ(m.Position(), 2);
    m.SetPosition(-5);
    EXPECT_EQ(m.Read(buf, 1), 0);
    EXPECT_EQ(m.Write("x", 1), 0);
    EXPECT_THROW(m.SetSize(Int64(1) << 41), EStreamError);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
}

TEST(Streams, CopyFromStringAndBytesStreams)
{
    TStringStream s(L"Gr\u00FC\u00DFe");
    EXPECT_EQ(s.Size(), 7);   // UTF-8 by default
    TStringStream w(L"", TEncoding::Unicode());
    w.WriteString(L"hi");
    EXPECT_EQ(w.Size(), 4);
    EXPECT_EQ(w.DataString(), L"hi");

    TBytesStream b;
    s.SetPosition(5);
    EXPECT_EQ(b.CopyFrom(&s, 2), 2);
    EXPECT_EQ(b.CopyFrom(&s, 0), 7);   // 0: all of the source from its start
    EXPECT_EQ(b.Bytes().size(), 9u);
    TStringStream back(L"");
    b.SaveToStream(&back);
    EXPECT_EQ(back.DataString(), L"\uFFFDeGr\u00FC\u00DFe");   // a cut UTF-8 sequence decodes as U+FFFD
    EXPECT_THROW(b.CopyFrom(&s, 1), EReadError);   // source at its end
}

TEST(Streams, FileStreamModesAndErrors)
{
    TempDir dir;
    String name = dir.File("a.bin");
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("12345", 5);
    }
    {
        TFileStream f(name, fmOpenReadWrite | fmShareDenyNone);
        EXPECT_EQ(f.Size(), 5);
        f.Seek(0, soFromEnd);
        f.WriteBuffer("6", 1);
        f.SetSize(3);
        EXPECT_EQ(f.Position(), 3);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(std::string(static_cast<char*>(m.Memory()), 3), "123");
    {
        TFileStream ro(name, fmOpenRead);
        EXPECT_THROW(ro.WriteBuffer("x", 1), EWriteError);
    }

    String missing = dir.File("missing/b.bin");
    try {
        TFileStream f(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), L"Cannot open file \"" + missing + L"\". No such file or directory");
    }
    try {
        TFileStream f(missing, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message().rfind(L"Cannot create file \"" + missing + L"\". ", 0), 0u);
    }
    EXPECT_THROW(TFileStream(UTF8ToString(dir.Path), fmOpenRead), EFOpenError);
}

TEST(Streams, SaveToFileReplacesAtomicallyAndKeepsMode)
{
    TempDir dir;
    String name = dir.File("settings.dat");
    TStringStream s(L"first");
    s.SaveToFile(name);
    chmod(UTF8Encode(name).c_str(), 0640);
    TStringStream t(L"second");
    t.SaveToFile(name);
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(m.Size(), 6);
    struct stat st;
    ASSERT_EQ(stat(UTF8Encode(name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path), {}), 1);   // no temporaries left
    EXPECT_THROW(t.SaveToFile(dir.File("no/such/dir.dat")), EFCreateError);
}

TEST(Resources, EmbeddedByTheBuildAndReadBack)
{
    TResourceStream hello(HInstance, L"hello", RT_RCDATA);   // names ignore case
    std::string text(static_cast<const char*>(hello.Memory()), size_t(hello.Size()));
    EXPECT_EQ(text, "Hello, resource!\n");
    EXPECT_THROW(hello.WriteBuffer("x", 1), EStreamError);

    TResourceStream blob(HInstance, 8010, RT_RCDATA);
    ASSERT_EQ(blob.Size(), 256);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(static_cast<const Byte*>(blob.Memory())[i], i);
    TResourceStream byHash(HInstance, L"#8010", MAKEINTRESOURCE(10));
    EXPECT_EQ(byHash.Memory(), blob.Memory());

    TResourceStream empty(HInstance, L"Empty", L"VELTEST");
    EXPECT_EQ(empty.Size(), 0);

    HRSRC r = FindResource(HInstance, L"Hello", RT_RCDATA);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(SizeofResource(HInstance, r), 17u);
    EXPECT_EQ(LockResource(LoadResource(HInstance, r)), hello.Memory());
    EXPECT_EQ(FindResource(HInstance, L"Hello", RT_BITMAP), nullptr);
    try {
        TResourceStream none(HInstance, L"Nothing", RT_RCDATA);
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource Nothing not found");
    }
    try {
        TResourceStream none(HInstance, 77, RT_RCDATA);
        FAIL();
    } catch (const EResNotFound& e) {
        EXPECT_EQ(e.Message(), L"Resource #77 not found");
    }
}

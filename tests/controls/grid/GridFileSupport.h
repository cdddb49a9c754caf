// Helpers of the grid file-format tests: a hand encoder of the component
// streaming form (independent of the platform's writer), a snapshot of a
// grid's whole content for "unchanged" checks, and scratch folders.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controls/grid/VodGrid.h"
#include "platform/base/Streams.h"
#include "tests/TestPaths.h"

namespace gridfiles {

// Builds stream bytes by the format's rules.
struct TBytesBuilder {
    std::vector<uint8_t> B;
    TBytesBuilder& Raw(std::initializer_list<uint8_t> v)
    {
        B.insert(B.end(), v);
        return *this;
    }
    TBytesBuilder& Raw(const std::string& s)
    {
        B.insert(B.end(), s.begin(), s.end());
        return *this;
    }
    TBytesBuilder& Le32(uint32_t v) { return Raw({uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}); }
    TBytesBuilder& Short(const std::string& s)
    {
        B.push_back(uint8_t(s.size()));
        return Raw(s);
    }
    // Record head: signature, class name, empty component name.
    TBytesBuilder& Head(const std::string& cls) { return Raw("TPF0").Short(cls).Short(""); }
    TBytesBuilder& End() { return Raw({0, 0}); }
    TBytesBuilder& Int(const std::string& name, int64_t v)
    {
        Short(name);
        if (v >= -128 && v <= 127) return Raw({2, uint8_t(int8_t(v))});
        if (v >= -32768 && v <= 32767) return Raw({3, uint8_t(v), uint8_t(uint16_t(v) >> 8)});
        B.push_back(4);
        return Le32(uint32_t(int32_t(v)));
    }
    TBytesBuilder& Bool(const std::string& name, bool v)
    {
        Short(name);
        B.push_back(v ? 9 : 8);
        return *this;
    }
    TBytesBuilder& Ident(const std::string& name, const std::string& v)
    {
        Short(name);
        B.push_back(7);
        return Short(v);
    }
    TBytesBuilder& Text(const std::string& name, const std::string& ascii)
    {
        Short(name);
        B.push_back(6);
        return Short(ascii);
    }
    TBytesBuilder& Utf8(const std::string& name, const std::string& utf8)
    {
        Short(name);
        B.push_back(20);
        Le32(uint32_t(utf8.size()));
        return Raw(utf8);
    }
    TBytesBuilder& Set(const std::string& name, std::initializer_list<std::string> members)
    {
        Short(name);
        B.push_back(11);
        for (const auto& m : members) Short(m);
        return Short("");
    }
};

inline TBytes StreamBytes(TMemoryStream& m)
{
    const auto* p = static_cast<const uint8_t*>(m.Memory());
    return TBytes(p, p + m.Size());
}

// Everything a binary save of the whole grid carries, plus the counts.
inline TBytes Snapshot(TVodStringGrid* G)
{
    TMemoryStream m;
    G->SaveRectToBinStream(TGridRect{0, 0, G->ColCount() - 1, G->RowCount() - 1}, &m, true);
    TBytes b = StreamBytes(m);
    b.push_back(uint8_t(G->ColCount()));
    b.push_back(uint8_t(G->RowCount()));
    return b;
}

// A fresh folder under the system's temporary folder, removed afterwards.
struct TScratchDir {
    std::filesystem::path Path;
    TScratchDir()
    {
        char tmpl[] = "/tmp/gridfiles-XXXXXX";
        Path = mkdtemp(tmpl);
    }
    ~TScratchDir()
    {
        std::error_code ec;
        std::filesystem::permissions(Path, std::filesystem::perms::owner_all, ec);
        for (auto& e : std::filesystem::recursive_directory_iterator(Path, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(Path, ec);
    }
    String File(const std::string& name) const
    {
        std::string s = (Path / name).string();
        return String(s.begin(), s.end());
    }
};

inline std::string ReadFile(const String& f)
{
    std::string n(f.begin(), f.end());
    FILE* fp = fopen(n.c_str(), "rb");
    if (!fp) return {};
    std::string r;
    char buf[4096];
    size_t k;
    while ((k = fread(buf, 1, sizeof buf, fp)) > 0) r.append(buf, k);
    fclose(fp);
    return r;
}

inline void WriteFile(const String& f, const std::string& bytes)
{
    std::string n(f.begin(), f.end());
    FILE* fp = fopen(n.c_str(), "wb");
    ASSERT_TRUE(fp);
    fwrite(bytes.data(), 1, bytes.size(), fp);
    fclose(fp);
}

// The folder holding the committed grid test data.
inline std::filesystem::path DataDir() { return vel_test_paths::TestDataDir() + "/grid"; }

}  // namespace gridfiles

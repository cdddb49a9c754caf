// A temporary folder of a test's own, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/Types.h"

class TTempFolder {
public:
    TTempFolder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "velapp-XXXXXX").string();
        if (char* p = ::mkdtemp(tmpl.data()))
            FPath = p;
    }
    ~TTempFolder()
    {
        std::error_code ec;
        if (!FPath.empty())
            std::filesystem::remove_all(FPath, ec);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::string& Path() const { return FPath; }
    String Name() const { return UTF8ToString(FPath); }
    std::string File(const std::string& name) const { return FPath + "/" + name; }

    void Write(const std::string& name, const std::string& content) const
    {
        std::ofstream(File(name), std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream f(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(File(name)); }
    // The names in the folder, sorted.
    std::vector<std::string> List() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(FPath))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string FPath;
};

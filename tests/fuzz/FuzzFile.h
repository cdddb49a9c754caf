// A scratch file of the process for targets whose readers take a file
// name: written with the input, removed at exit. One file per process (a
// target runs alone): the first suffix asked for names it.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/base/SysUtils.h"

inline const std::string& FuzzFilePath(const char* suffix)
{
    static std::string path;
    if (path.empty()) {
        path = "/tmp/velfuzz-" + std::to_string(getpid()) + suffix;
        std::atexit([] { std::remove(path.c_str()); });
    }
    return path;
}

inline String FuzzWriteFile(const char* suffix, const uint8_t* data, size_t size)
{
    const std::string& p = FuzzFilePath(suffix);
    FILE* f = std::fopen(p.c_str(), "wb");
    if (!f) std::abort();
    if (size && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
    return UTF8ToString(p);
}

inline std::string FuzzReadFile(const String& name)
{
    std::string r;
    if (FILE* f = std::fopen(UTF8Encode(name).c_str(), "rb")) {
        char buf[4096];
        size_t k;
        while ((k = std::fread(buf, 1, sizeof buf, f)) > 0) r.append(buf, k);
        std::fclose(f);
    }
    return r;
}

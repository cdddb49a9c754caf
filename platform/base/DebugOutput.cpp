#include "platform/base/DebugOutput.h"

#include <cstdio>
#include <mutex>



namespace {

std::mutex GLock;
TDebugOutputSink GSink;

}  // namespace

void OutputDebugString(const Char* text)
{
    const String line = text ? String(text) : String();
    TDebugOutputSink sink;
    {
        std::lock_guard<std::mutex> g(GLock);
        sink = GSink;
    }
    if (sink) {
        sink(line);
        return;
    }
    const std::string utf8 = UTF8Encode(line);
    std::fprintf(stderr, "%s\n", utf8.c_str());
}

TDebugOutputSink SetDebugOutputSink(TDebugOutputSink sink)
{
    std::lock_guard<std::mutex> g(GLock);
    TDebugOutputSink old = std::move(GSink);
    GSink = std::move(sink);
    return old;
}

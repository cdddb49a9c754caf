// Debugger output: OutputDebugString hands each line to a sink, standard
// error unless a test (or a program) installs its own.
#pragma once

#include <functional>

#include "platform/base/Types.h"

void OutputDebugString(const Char* text);
// Replaces the sink; an empty function restores standard error. Answers the
// sink that was installed before.
using TDebugOutputSink = std::function<void(const String& Line)>;
TDebugOutputSink SetDebugOutputSink(TDebugOutputSink sink);

// Splitting a text at a separator.
#pragma once

#include <vector>

#include "platform/base/Types.h"

using TDynStringArray = std::vector<String>;

// Splits text at every occurrence of separator. limit 0 means no limit; with
// limit n >= 1 the n-th piece is the rest of the text. Consecutive separators
// give empty pieces and a leading separator an empty first piece, but a
// trailing separator gives no empty last piece. An empty text or a negative
// limit gives no pieces; an empty separator gives the whole text.
TDynStringArray Explode(const String& separator, const String& text, Integer limit);

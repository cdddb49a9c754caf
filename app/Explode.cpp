#include "app/Explode.h"

TDynStringArray Explode(const String& separator, const String& text, Integer limit)
{
    TDynStringArray result;
    if (text.empty() || limit < 0)
        return result;
    if (separator.empty()) {
        result.push_back(text);
        return result;
    }
    size_t start = 0;
    while (start < text.size()) {
        const size_t next = text.find(separator, start);
        const bool last = limit >= 1 && static_cast<Integer>(result.size()) + 1 >= limit;
        if (next == String::npos || last) {
            result.push_back(text.substr(start));
            break;
        }
        result.push_back(text.substr(start, next - start));
        start = next + separator.size();
    }
    return result;
}

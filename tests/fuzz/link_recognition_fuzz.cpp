// Link recognition on arbitrary link box texts: the first line is the link
// box, the others the links already listed. Nothing may crash or hang, and
// the decision must hold together.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "platform/base/SysUtils.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;
    const String text = UTF8ToString(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<String> lines;
    size_t from = 0;
    for (;;) {
        const size_t nl = text.find(L'\n', from);
        lines.push_back(text.substr(from, nl == String::npos ? String::npos : nl - from));
        if (nl == String::npos)
            break;
        from = nl + 1;
    }
    const String box = lines.front();
    const std::vector<String> listed(lines.begin() + 1, lines.end());

    const TLinkRecognition r = RecognizeLink(box, listed);
    Check(r.link == TrimText(box));
    Check(r.accepted == (r.acceptedIds.size() == 1 &&
                         std::find(listed.begin(), listed.end(), r.link) == listed.end()));
    if (r.accepted) {
        Check(r.server == r.acceptedIds.back());
    } else {
        Check(!r.messages.empty() && r.messages.back() == kNoVideoMessage);
    }
    // The same text again, now listed, is refused.
    if (r.accepted) {
        std::vector<String> again = listed;
        again.push_back(r.link);
        Check(!RecognizeLink(box, again).accepted);
    }
    return 0;
}

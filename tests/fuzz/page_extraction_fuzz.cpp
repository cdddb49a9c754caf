// Page extraction and title cleaning on arbitrary page bytes: the page is
// decoded as the client decodes it, cut into title, running time, view count
// and media addresses, and the title cleaned into a file name. Nothing may
// crash or hang, and the cleaned title must be safe as a file name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/MainWindow.h"
#include "app/PageFetch.h"
#include "platform/os/Http.h"

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

void CheckFileName(const String& title)
{
    Check(UTF8Encode(title).size() <= kMaxTitleBytes);
    Check(title != L"." && title != L"..");
    Check(TrimText(title) == title);
    for (wchar_t c : title) {
        Check(c >= 32);
        Check(c != L'/' && c != L'\\' && c != L':' && c != L'*' && c != L'?' && c != L'"' && c != L'|');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // The first byte picks the charset the server names, as a page may.
    static const wchar_t* const charsets[] = {L"", L"utf-8", L"iso-8859-1", L"windows-1252"};
    const String page = DecodeHttpText(bytes.empty() ? bytes : bytes.substr(1),
                                       charsets[bytes.empty() ? 0 : uint8_t(bytes[0]) % 4]);

    const TVelmoraPageInfo info = ExtractVelmoraPageInfo(page);
    const TVelmoraSources src = ExtractVelmoraSources(page);
    Check(info.title.size() <= page.size() + 16);
    Check(src.url.size() <= page.size() + 6);  // "https:" before "//"
    Check(src.url_hq.size() <= page.size());

    CheckFileName(clean_title(info.title));
    // The raw text as a title too: every decoder, then the cleaning.
    for (const String& t : {_decode_name(page), _decode_name_break(page), _decode_name_xtube(page),
                            _decode_name_facebook(page), _decode_name_dailymotion(page),
                            _decode_name_metacafe(page)})
        CheckFileName(clean_title(t));
    return 0;
}

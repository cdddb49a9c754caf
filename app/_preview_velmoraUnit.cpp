#include "app/_preview_velmoraUnit.h"

#include "app/_mainUnit.h"

const wchar_t* const kVelmoraTimeMarker = L"Video Time:</span><span style=\"color:#EAEAEA;\">";
const wchar_t* const kVelmoraSourceMarker = L"<source src=\"";

namespace {

// 1-based positions as the extraction rules count them: 0 is "not found",
// and a search starting at 0 or below finds nothing.
size_t PosFrom(const String& what, const String& s, long long from)
{
    if (from < 1 || static_cast<size_t>(from) > s.size())
        return 0;
    size_t p = s.find(what, static_cast<size_t>(from - 1));
    return p == String::npos ? 0 : p + 1;
}

// Copy with a 1-based start (below 1 counts as 1); a negative or zero count
// gives nothing.
String CopyText(const String& s, long long index, long long count)
{
    if (index < 1)
        index = 1;
    if (count <= 0 || static_cast<size_t>(index) > s.size())
        return String();
    return s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count));
}

}  // namespace

TVelmoraPageInfo ExtractVelmoraPageInfo(const String& page)
{
    TVelmoraPageInfo info;

    const long long t = static_cast<long long>(PosFrom(L"<title>", page, 1));
    const long long dash = static_cast<long long>(PosFrom(L"-", page, t));
    info.title = _decode_name(TrimText(CopyText(page, t + 7, dash - (t + 7))));

    const String timeMarker = kVelmoraTimeMarker;
    const long long m = static_cast<long long>(PosFrom(timeMarker, page, 1)) +
                        static_cast<long long>(timeMarker.size());
    const long long mEnd = static_cast<long long>(PosFrom(L"</", page, m));
    info.Length = TrimText(CopyText(page, m, mEnd - m));

    const long long ago = static_cast<long long>(PosFrom(L" ago</span>", page, 1));
    const long long span = static_cast<long long>(PosFrom(L"<span", page, ago));
    const long long gt = static_cast<long long>(PosFrom(L">", page, span));
    const long long vEnd = static_cast<long long>(PosFrom(L"</", page, gt + 1));
    info.views = TrimText(CopyText(page, gt + 1, vEnd - (gt + 1)));
    return info;
}

TVelmoraSources ExtractVelmoraSources(const String& page)
{
    TVelmoraSources src;
    const String marker = kVelmoraSourceMarker;
    const long long len = static_cast<long long>(marker.size());

    const long long s1 = static_cast<long long>(PosFrom(marker, page, 1));
    if (s1 == 0)
        return src;
    const long long q1 = static_cast<long long>(PosFrom(L"\"", page, s1 + len));
    src.url = TrimText(CopyText(page, s1 + len, q1 - (s1 + len)));
    if (src.url.compare(0, 2, L"//") == 0)
        src.url = L"https:" + src.url;

    const long long s2 = static_cast<long long>(PosFrom(marker, page, q1));
    if (s2 == 0)
        return src;
    const long long q2 = static_cast<long long>(PosFrom(L"\"", page, s2 + len));
    src.url_hq = TrimText(CopyText(page, s2 + len, q2 - (s2 + len)));
    return src;
}

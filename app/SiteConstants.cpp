#include "app/SiteConstants.h"

#include <mutex>

const wchar_t* const kDefaultOwnSiteHost = L"velmora.net";
const wchar_t* const kHomePageAddress = L"http://www.velmora.net/";
const wchar_t* const kUpdatePageAddress = L"http://www.velmora.net/update.html";
const wchar_t* const kHelpPageAddress = L"http://www.velmora.net/faq.html";
const wchar_t* const kSupportMailAddress = L"mailto:support@velmora.net";
const wchar_t* const kUserAgent = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";

namespace {

std::mutex& HostLock()
{
    static std::mutex m;
    return m;
}

String& HostValue()
{
    static String host = kDefaultOwnSiteHost;
    return host;
}

}  // namespace

String OwnSiteHost()
{
    std::lock_guard<std::mutex> g(HostLock());
    return HostValue();
}

void SetOwnSiteHost(const String& host)
{
    std::lock_guard<std::mutex> g(HostLock());
    HostValue() = host.empty() ? String(kDefaultOwnSiteHost) : host;
}

String OwnSiteIndexAddress()
{
    return L"http://" + OwnSiteHost() + L"/index.php";
}

String OwnSiteExampleAddress()
{
    return L"http://" + OwnSiteHost() + L"/video/10342/harbour-lights-at-dusk";
}

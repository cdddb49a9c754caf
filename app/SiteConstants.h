// The product's own web addresses, in one place. The own site's host can be
// replaced (tests point it at a local server); everything derived from it
// (the site rule, the index page, the example address) follows.
#pragma once

#include "platform/base/Types.h"

// The own site's host as it stands in links, e.g. "velmora.net" or
// "127.0.0.1:8080".
String OwnSiteHost();
// Replaces the host; an empty text restores the built-in one. Safe to call
// while other threads read it.
void SetOwnSiteHost(const String& host);

// "http://<own host>/index.php": the page that hands out the session cookie.
String OwnSiteIndexAddress();
// The example page address shown under the link box and in the invalid-link
// message.
String OwnSiteExampleAddress();

extern const wchar_t* const kDefaultOwnSiteHost;
extern const wchar_t* const kHomePageAddress;
extern const wchar_t* const kUpdatePageAddress;
extern const wchar_t* const kHelpPageAddress;
extern const wchar_t* const kSupportMailAddress;

// The user agent of every request of the downloader.
extern const wchar_t* const kUserAgent;

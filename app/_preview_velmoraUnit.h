// The own site's video page: what the page fetch cuts out of it.
#pragma once

#include "platform/base/Types.h"

// Markers of the own site's video pages.
extern const wchar_t* const kVelmoraTimeMarker;    // 47 characters before the running time
extern const wchar_t* const kVelmoraSourceMarker;  // <source src="

struct TVelmoraPageInfo {
    String title;   // decoded with _decode_name; "" drops the entry
    String Length;  // running time
    String views;
};

// Title, running time and view count. A missing marker gives the text the
// positions happen to cut (or nothing); only the title is ever relied on.
TVelmoraPageInfo ExtractVelmoraPageInfo(const String& page);

struct TVelmoraSources {
    String url;     // first source; "//host/..." gets "https:" in front; "" when none
    String url_hq;  // second source, as written; "" when none
};

// The media addresses of the <source src="..."> elements. A page without
// one gives no address, and the entry is then dropped.
TVelmoraSources ExtractVelmoraSources(const String& page);

// The site table, link recognition and the site choice.
#include "app/SiteConstants.h"
#include "app/MainWindow.h"

const wchar_t* const kXhamsterRootAddress = L"http://xhamster.com/";
const wchar_t* const kInvalidLinkPrefix = L"Invalid link. Example: ";
const wchar_t* const kNoVideoMessage = L"No video to download or link already in list";

namespace {

// Upper-cases ASCII letters only, as the case-blind tests of the table do.
String UpperAscii(String s)
{
    for (auto& c : s)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return s;
}

bool ContainsIgnoreCase(const String& upperLink, const String& what)
{
    return upperLink.find(UpperAscii(what)) != String::npos;
}

TKeywordTest ci(const wchar_t* t) { return {t, true}; }
TKeywordTest cs(const String& t) { return {t, false}; }

const wchar_t* const kYoutubeShort = L"youtu.be";
const wchar_t* const kGoogleVideo = L"video.google.";
const wchar_t* const kGotporn = L"gotporn.com";

}  // namespace

std::vector<TSiteRule> site_rules()
{
    const String own = OwnSiteHost();
    return {
        {L"YouTube", {L"youtube.com", kYoutubeShort}, kGoogleVideo, {cs(L"v="), cs(kYoutubeShort)}, site_youtube},
        {L"Google Video", {kGoogleVideo}, L"", {ci(L"docid="), ci(L"vid=")}, site_google_video},
        {L"Break", {L"break.com"}, L"", {ci(L"index"), ci(L"usercontent"), ci(L"video"), ci(L"html")}, site_break},
        {L"MySpace", {L"myspace.com"}, L"", {ci(L"VideoID="), ci(L"/video")}, site_myspace},
        {L"Dailymotion", {L"dailymotion.com"}, L"", {ci(L"video")}, site_dailymotion},
        {L"TeacherTube", {L"teachertube.com"}, L"", {ci(L"video"), ci(L"video_id=")}, site_teachertube},
        {L"Tangle", {L"tangle.com"}, L"", {ci(L"viewkey=")}, site_tangle},
        {L"Facebook", {L"facebook.com"}, L"", {ci(L"/video")}, site_facebook},
        {L"GodTube", {L"godtube.com"}, L"", {ci(L"video"), cs(L"watch")}, site_tangle},
        {L"Vimeo", {L"vimeo.com"}, L"", {ci(L"vimeo")}, site_vimeo},
        {L"Blip", {L"blip.tv"}, L"", {cs(L"blip.tv")}, site_blip},
        {L"Veoh", {L"veoh.com"}, L"", {cs(L"videos"), cs(L"watch")}, site_veoh},
        {L"Metacafe", {L"metacafe.com"}, L"", {cs(L"watch")}, site_metacafe},
        {L"Guba", {L"guba.com"}, L"", {cs(L"watch")}, site_guba},
        {L"Megavideo", {L"megavideo.com"}, L"", {cs(L"v="), cs(L"d=")}, site_megavideo},
        {L"PornoTube", {L"pornotube.com"}, L"", {cs(L"m="), cs(L"m/")}, site_pornotube},
        {L"RedTube", {L"redtube.com"}, L"", {cs(L"redtube.com/")}, site_redtube},
        {L"Megaporn", {L"megaporn.com"}, L"", {cs(L"v=")}, site_megaporn},
        {L"4tube", {L"4tube.com"}, L"", {cs(L"/videos")}, site_4tube},
        {L"Beeg", {L"beeg.com"}, L"", {cs(L"com/")}, site_beeg},
        {L"Empflix", {L"empflix.com"}, L"", {cs(L"/videos")}, site_empflix},
        {L"Pornhub", {L"pornhub.com"}, L"", {cs(L"view_video")}, site_pornhub},
        {L"YouPorn", {L"youporn.com"}, L"", {cs(L"watch")}, site_youporn},
        {L"Yuvutu", {L"yuvutu.com"}, L"", {cs(L"video_id"), cs(L"video/")}, site_yuvutu},
        {L"xVideos", {L"xvideos.com"}, L"", {cs(L"video")}, site_xvideos},
        {L"xHamster", {L"xhamster.com", L"xhamster2.com"}, L"", {cs(L"movies"), cs(L"videos")}, site_xhamster},
        {L"Vho", {L"vho.com"}, L"", {ci(L"viewvideo"), ci(L"videos")}, site_vho},
        {L"own site", {own}, L"", {ci(L"video")}, site_velmora},
        {L"Tube8", {L"tube8.com"}, L"", {cs(L"tube8")}, site_tube8},
        {L"GotPorn", {kGotporn}, L"", {cs(L"/video")}, site_gotporn},
        {L"XTube", {L"xtube.com"}, kGotporn, {cs(L"play"), cs(L"v="), cs(L"/video"), cs(L"watch.php")}, site_xtube},
        {L"Rude", {L"rude.com"}, L"", {cs(L"v")}, site_rude},
        {L"Alphaporno", {L"alphaporno.com"}, L"", {cs(L"/videos")}, site_alphaporno},
        {L"Xnxx", {L".xnxx.com"}, L"", {cs(L"/video")}, site_xnxx},
        {L"SpankWire", {L"spankwire.com"}, L"", {cs(L"/video")}, site_spankwire},
        {L"KeezMovies", {L"keezmovies.com"}, L"", {cs(L"/video")}, site_keezmovies},
        {L"Tnaflix", {L"tnaflix.com"}, L"", {cs(L"/video")}, site_tnaflix},
        {L"Slutload", {L"slutload.com"}, L"", {cs(L"/watch"), cs(L"/video")}, site_slutload},
        {L"DrTuber", {L"drtuber.com"}, L"", {cs(L"/video")}, site_drtuber},
        {L"CBS", {L"cbs.com"}, L"", {cs(L"video"), cs(L"video.php")}, site_cbs},
    };
}

String InvalidLinkMessage()
{
    return kInvalidLinkPrefix + OwnSiteExampleAddress();
}

TLinkRecognition RecognizeLink(const String& linkBoxText, const std::vector<String>& listedLinks)
{
    TLinkRecognition r;
    r.link = TrimText(linkBoxText);
    const String upper = UpperAscii(r.link);

    for (const TSiteRule& rule : site_rules()) {
        bool hostHit = false;
        for (const String& h : rule.hosts)
            hostHit = hostHit || (!h.empty() && ContainsIgnoreCase(upper, h));
        if (!hostHit)
            continue;
        if (!rule.exclusion.empty() && ContainsIgnoreCase(upper, rule.exclusion))
            continue;
        bool hit = false;
        for (const TKeywordTest& k : rule.keywords) {
            hit = k.ignoreCase ? ContainsIgnoreCase(upper, k.text)
                               : r.link.find(k.text) != String::npos;
            if (hit)
                break;
        }
        if (hit)
            r.acceptedIds.push_back(rule.id);
        else
            r.messages.push_back(InvalidLinkMessage());
    }

    // Every entry before the last one this press would append, listed or
    // just appended, must differ from the link.
    bool duplicate = r.acceptedIds.size() > 1;
    for (const String& l : listedLinks)
        duplicate = duplicate || l == r.link;

    r.accepted = !r.acceptedIds.empty() && !duplicate;
    if (r.accepted)
        r.server = r.acceptedIds.back();
    else
        r.messages.push_back(kNoVideoMessage);
    return r;
}

std::vector<String> SiteChoiceTexts()
{
    return {
        L"Auto",           OwnSiteHost(),      L"youtube.com",     L"Facebook",
        L"tangle.com",     L"godtube.com",     L"vimeo.com",       L"dailymotion.com",
        L"break.com",      L"cbs.com",         L"megavideo.com",   L"spankwire.com",
        L"veoh.com",       L"metacafe.com",    L"xnxx.com",        L"megaporn.com",
        L"pornhub.com",    L"keezmovies.com",  L"tnaflix.com",     L"slutload.com",
        L"drtuber.com",    L"pornotube.com",   L"redtube.com",     L"teachertube.com",
        L"youporn.com",    L"yuvutu.com",      L"xvideos.com",     L"xhamster.com",
        L"vho.com",        L"tube8.com",       L"xtube.com",       L"rude.com",
        L"guba.com",       L"blip.tv",         L"vids.myspace.com", L"video.google.com",
        L"4tube.com",      L"empflix.com",     L"alphaporno.com",  L"yardsextube.com",
        L"beeg.com",
    };
}

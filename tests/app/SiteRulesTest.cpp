#include <gtest/gtest.h>

#include "app/SiteConstants.h"
#include "app/MainWindow.h"

namespace {

const String kInvalid = L"Invalid link. Example: http://velmora.net/video/10342/harbour-lights-at-dusk";
const String kRefusal = L"No video to download or link already in list";

struct LinkCase {
    const wchar_t* link;
    std::vector<Integer> accepted;  // ids of the accepting rules
    int invalidMessages;            // rules whose host matched without a keyword
};

// One link per rule (in rule order) plus the cases where hosts, exclusions and
// case rules meet.
const LinkCase kCases[] = {
    {L"http://www.youtube.com/watch?v=abc123", {site_youtube}, 0},
    {L"http://youtu.be/abc123", {site_youtube}, 0},
    {L"http://video.google.com/videoplay?docid=42", {site_google_video}, 0},
    {L"http://www.break.com/index/funny-clip.html", {site_break}, 0},
    {L"http://vids.myspace.com/index.cfm?fuseaction=vids.individual&VideoID=9", {site_myspace}, 0},
    {L"http://www.dailymotion.com/video/x1a2b3", {site_dailymotion}, 0},
    {L"http://www.teachertube.com/viewVideo.php?video_id=5", {site_teachertube}, 0},
    {L"http://www.tangle.com/view_video?viewkey=abc", {site_tangle}, 0},
    {L"http://www.facebook.com/video/video.php?v=1", {site_facebook}, 0},
    {L"http://www.godtube.com/watch/?v=ABC", {site_tangle}, 0},
    {L"http://vimeo.com/123456", {site_vimeo}, 0},
    {L"http://blip.tv/file/12345", {site_blip}, 0},
    {L"http://www.veoh.com/watch/v123", {site_veoh}, 0},
    {L"http://www.metacafe.com/watch/123/clip/", {site_metacafe}, 0},
    {L"http://www.guba.com/watch/3000", {site_guba}, 0},
    {L"http://www.megavideo.com/?d=ABC", {site_megavideo}, 0},
    {L"http://www.pornotube.com/m/123", {site_pornotube}, 0},
    {L"http://www.redtube.com/12345", {site_redtube}, 0},
    {L"http://www.megaporn.com/video/?v=ABC", {site_megaporn}, 0},
    {L"http://www.4tube.com/videos/123/clip", {site_4tube}, 0},
    {L"http://beeg.com/123456", {site_beeg}, 0},
    {L"http://www.empflix.com/videos/clip-123.html", {site_empflix}, 0},
    {L"http://www.pornhub.com/view_video.php?viewkey=1", {site_pornhub}, 0},
    {L"http://www.youporn.com/watch/123/clip/", {site_youporn}, 0},
    {L"http://www.yuvutu.com/modules.php?video_id=7", {site_yuvutu}, 0},
    {L"http://www.xvideos.com/video123/clip", {site_xvideos}, 0},
    {L"http://xhamster.com/movies/123/clip.html", {site_xhamster}, 0},
    {L"http://xhamster2.com/videos/clip-123", {site_xhamster}, 0},
    {L"http://www.vho.com/ViewVideo/123", {site_vho}, 0},
    {L"http://velmora.net/video/10342/harbour-lights", {site_velmora}, 0},
    {L"http://www.tube8.com/amateur/clip/123/", {site_tube8}, 0},
    {L"http://www.gotporn.com/clip/video-123", {site_gotporn}, 0},
    {L"http://www.xtube.com/watch.php?v=abc", {site_xtube}, 0},
    {L"http://www.rude.com/v/123", {site_rude}, 0},
    {L"http://www.alphaporno.com/videos/clip/", {site_alphaporno}, 0},
    {L"http://www.xnxx.com/video123/clip", {site_xnxx}, 0},
    {L"http://www.spankwire.com/clip/video123/", {site_spankwire}, 0},
    {L"http://www.keezmovies.com/video/clip-123", {site_keezmovies}, 0},
    {L"http://www.tnaflix.com/amateur/clip/video123", {site_tnaflix}, 0},
    {L"http://www.slutload.com/watch/abc/clip.html", {site_slutload}, 0},
    {L"http://www.drtuber.com/video/123/clip", {site_drtuber}, 0},
    {L"http://www.cbs.com/video/watch/?id=1", {site_cbs}, 0},

    // Keyword case rules: YouTube's "v=" is exact, Google Video's "docid=" is not.
    {L"http://www.youtube.com/watch?V=abc123", {}, 1},
    {L"http://video.google.com/videoplay?DOCID=42", {site_google_video}, 0},
    // Hosts never regard case.
    {L"HTTP://WWW.YOUTUBE.COM/watch?v=abc", {site_youtube}, 0},
    // A YouTube link that names Google Video is judged by rule 2 alone.
    {L"http://www.youtube.com/watch?v=1&from=video.google.com", {}, 1},
    {L"http://www.youtube.com/watch?v=1&from=video.google.com&docid=3", {site_google_video}, 0},
    // XTube passes over links that name GotPorn; GotPorn takes them.
    {L"http://www.xtube.com/play?x=www.gotporn.com/video-1", {site_gotporn}, 0},
    {L"http://www.xtube.com/profile/abc", {}, 1},
    // Xnxx needs its leading dot.
    {L"http://xnxx.com/video123", {}, 0},
    // Own-site links without the keyword, and links of no site.
    {L"http://velmora.net/about.html", {}, 1},
    {L"http://example.org/video/1", {}, 0},
    {L"", {}, 0},
    // Two rules accept the same link: a refusal, as for a listed link.
    {L"http://www.cbs.com/video/watch?x=www.drtuber.com/video/1", {site_drtuber, site_cbs}, 0},
};

TEST(LinkRecognition, EveryRuleAndItsRefusals)
{
    SetOwnSiteHost(L"");
    ASSERT_EQ(site_rules().size(), 40u);
    for (const LinkCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "link: " << UTF8Encode(c.link));
        const TLinkRecognition r = RecognizeLink(c.link, {});
        EXPECT_EQ(r.acceptedIds, c.accepted);
        const bool shouldAccept = c.accepted.size() == 1;
        EXPECT_EQ(r.accepted, shouldAccept);
        if (shouldAccept) {
            EXPECT_EQ(r.server, c.accepted[0]);
        }

        std::vector<String> expected(static_cast<size_t>(c.invalidMessages), kInvalid);
        if (!shouldAccept)
            expected.push_back(kRefusal);
        EXPECT_EQ(r.messages, expected);
    }
}

TEST(LinkRecognition, TrimsTheLinkAndRefusesListedLinks)
{
    SetOwnSiteHost(L"");
    const String link = L"http://vimeo.com/123456";
    TLinkRecognition r = RecognizeLink(L" \t" + link + L"  \r\n", {});
    EXPECT_EQ(r.link, link);
    EXPECT_TRUE(r.accepted);

    // Already listed: exact comparison of the whole text.
    r = RecognizeLink(L"  " + link, {L"http://other.example/", link});
    EXPECT_FALSE(r.accepted);
    EXPECT_EQ(r.messages, std::vector<String>{kRefusal});

    // A listed link that differs in case or length is no duplicate.
    r = RecognizeLink(link, {L"http://VIMEO.com/123456", link + L"7"});
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.server, site_vimeo);
}

TEST(LinkRecognition, OwnHostCanBeReplaced)
{
    SetOwnSiteHost(L"127.0.0.1:8123");
    const TLinkRecognition r = RecognizeLink(L"http://127.0.0.1:8123/video/5/clip", {});
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.server, site_velmora);
    EXPECT_EQ(OwnSiteIndexAddress(), L"http://127.0.0.1:8123/index.php");
    EXPECT_EQ(InvalidLinkMessage(), L"Invalid link. Example: " + OwnSiteExampleAddress());
    // The example address itself is always an accepted own-site link.
    EXPECT_EQ(RecognizeLink(OwnSiteExampleAddress(), {}).server, site_velmora);
    EXPECT_EQ(SiteChoiceTexts()[1], L"127.0.0.1:8123");

    SetOwnSiteHost(L"");
    EXPECT_EQ(OwnSiteHost(), L"velmora.net");
    EXPECT_EQ(RecognizeLink(OwnSiteExampleAddress(), {}).server, site_velmora);
}

TEST(SiteChoice, FortyOneEntriesInOrder)
{
    SetOwnSiteHost(L"");
    const std::vector<String> t = SiteChoiceTexts();
    ASSERT_EQ(t.size(), 41u);
    EXPECT_EQ(t[0], L"Auto");
    EXPECT_EQ(t[1], L"velmora.net");
    EXPECT_EQ(t[2], L"youtube.com");
    EXPECT_EQ(t[3], L"Facebook");
    EXPECT_EQ(t[34], L"vids.myspace.com");
    EXPECT_EQ(t[35], L"video.google.com");
    EXPECT_EQ(t[39], L"yardsextube.com");
    EXPECT_EQ(t[40], L"beeg.com");
}

}  // namespace

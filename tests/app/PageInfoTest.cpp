#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/MainWindow.h"
#include "app/PageFetch.h"

namespace {

String LoadPage(const char* name)
{
    std::ifstream f(std::string(VEL_TEST_DATA_DIR) + "/ownsite/" + name, std::ios::binary);
    EXPECT_TRUE(f.good()) << name;
    std::stringstream ss;
    ss << f.rdbuf();
    return UTF8ToString(ss.str());
}

TEST(OwnSitePage, CompletePage)
{
    const String page = LoadPage("complete.html");
    const TVelmoraPageInfo info = ExtractVelmoraPageInfo(page);
    EXPECT_EQ(info.title, L"Rock & Roll: Tom's \"Live\" Show");
    EXPECT_EQ(clean_title(info.title), L"Rock & Roll Tom's Live Show");
    EXPECT_EQ(info.Length, L"12:34");
    EXPECT_EQ(info.views, L"1,024");

    const TVelmoraSources src = ExtractVelmoraSources(page);
    EXPECT_EQ(src.url, L"https://media.velmora.net/flv/10342.flv");
    EXPECT_EQ(src.url_hq, L"http://media.velmora.net/hq/10342.flv");  // no scheme fix
}

TEST(OwnSitePage, OneSourceOnly)
{
    const String page = LoadPage("one_source.html");
    EXPECT_EQ(ExtractVelmoraPageInfo(page).title, L"Harbour Lights");
    const TVelmoraSources src = ExtractVelmoraSources(page);
    EXPECT_EQ(src.url, L"http://media.velmora.net/flv/777.flv");
    EXPECT_EQ(src.url_hq, L"");
}

TEST(OwnSitePage, NoSourceGivesNoAddress)
{
    const String page = LoadPage("no_source.html");
    EXPECT_EQ(ExtractVelmoraPageInfo(page).title, L"Harbour Lights");
    const TVelmoraSources src = ExtractVelmoraSources(page);
    EXPECT_EQ(src.url, L"");
    EXPECT_EQ(src.url_hq, L"");
}

TEST(OwnSitePage, MissingMarkersLeaveNoTitle)
{
    const String page = LoadPage("missing_markers.html");
    EXPECT_EQ(ExtractVelmoraPageInfo(page).title, L"");
    EXPECT_EQ(ExtractVelmoraSources(page).url, L"http://media.velmora.net/flv/777.flv");
}

TEST(OwnSitePage, MalformedFragments)
{
    const struct {
        const wchar_t* page;
        const wchar_t* title;
        const wchar_t* url;
        const wchar_t* url_hq;
    } cases[] = {
        {L"", L"", L"", L""},
        {L"<title>No dash here</title>", L"", L"", L""},
        {L"- before <title>Name - Site", L"Name", L"", L""},
        {L"<title>-", L"", L"", L""},
        {L"<title>A - B - C", L"A", L"", L""},
        {L"<source src=\"unterminated", L"", L"", L""},
        {L"<source src=\"  //h/a.flv  \"><source src=\"//h/b.flv\">", L"", L"https://h/a.flv", L"//h/b.flv"},
        {L"<source src=\"\"><source src=\"x\">", L"", L"", L"x"},
        {L"<source src=\"a\"<source src=\"", L"", L"a", L""},
        {L"<source src=\"/\">", L"", L"/", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(UTF8Encode(c.page));
        EXPECT_EQ(ExtractVelmoraPageInfo(c.page).title, c.title);
        const TVelmoraSources src = ExtractVelmoraSources(c.page);
        EXPECT_EQ(src.url, c.url);
        EXPECT_EQ(src.url_hq, c.url_hq);
    }
}

}  // namespace

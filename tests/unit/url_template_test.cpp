// URL-part placeholders: order, case, values holding placeholders, the
// "%M" flag and the hand-over to the browser.
#include <gtest/gtest.h>

#include "bridge/bridge.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "settings/settings.h"
#include "template/url_template.h"
#include "tests/support/fake_platform.h"

namespace {

class UrlTemplateTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings = Settings{};
        multiUrlFlag = 0;
        previousBrowser = installBrowserPort(&bridgeBrowserPort());
    }
    void TearDown() override { installBrowserPort(previousBrowser); }
    std::string expand(const std::string& target, const std::string& templ, int partsOnly = 0) {
        runState.currentTarget = target;
        return expandUrlTemplate(templ, "C:\\Tools\\viewer.exe", partsOnly);
    }
    FakePlatform fake;
    BrowserPort* previousBrowser = nullptr;
};

TEST_F(UrlTemplateTest, PlaceholdersExpandInTheirOrder) {
    const std::string url = "http://HOST:8080/dir/page.html?q=1#top";
    struct Case { std::string templ, want; };
    const Case cases[] = {
        {"%F", "http"},
        {"%G", "HOST"},
        {"[%H][%I]", "[][]"},
        {"%J", "/dir/page.html"},
        {"%-J", "/dir/"},
        {"%K", "page.html"},
        {"%L", url},
        {"%-L", "http://HOST:8080/dir/page.html?q=1"},
        {"%f://%g%-j%k", "http://HOST/dir/page.html"},
        {"no placeholders", "no placeholders"},
        {"%X %5 100%", "%X %5 100%"},
    };
    for (const auto& c : cases) EXPECT_EQ(expand(url, c.templ), c.want) << c.templ;
}

TEST_F(UrlTemplateTest, PathsWithoutFileNamesAndTargetsWithSpaces) {
    EXPECT_EQ(expand("http://HOST/a/b?x=1", "%K|%-J|%-L"), "index.html|/a/|http://HOST/a/b");
    EXPECT_EQ(expand("http://h/dir/", "%K|%-J"), "index.html|/dir/");
    EXPECT_EQ(expand("http://h/a b.html", "%L"), "\"http://h/a b.html\"");
    EXPECT_EQ(expand("http://h/a b.html#x y", "%-L"), "\"http://h/a b.html\"");
}

TEST_F(UrlTemplateTest, ValuesHoldingPlaceholdersAreInsertedOnce) {
    EXPECT_EQ(expand("http://h/%J/x.html", "%J"), "/%J/x.html");
    EXPECT_EQ(expand("http://h/%K.txt", "%K %K"), "%K.txt %K.txt");
}

TEST_F(UrlTemplateTest, ExpansionsAreCutAtTheBufferCapacity) {
    const std::string url = "http://h/" + std::string(200, 'p') + ".html";
    std::string templ;
    for (int i = 0; i < 10; ++i) templ += "%L ";
    std::string out = expand(url, templ);
    EXPECT_EQ(out.size(), 1039u);
}

TEST_F(UrlTemplateTest, MultiTargetFlagAndPartsOnly) {
    EXPECT_EQ(expand("http://h/x", "-a %m -b"), "-a %m -b");
    EXPECT_EQ(multiUrlFlag, 1);
    EXPECT_EQ(expand("http://h/x", "%M %S", 1), "%M %S");
    EXPECT_EQ(multiUrlFlag, 0);
    EXPECT_TRUE(fake.starts.empty());
}

TEST_F(UrlTemplateTest, BrowserHandOverWithoutBridgeStartsTheFallback) {
    urlList.urlCount = 3;
    EXPECT_EQ(expand("http://h/a b", "x %M %s"), cancelMarker);
    EXPECT_EQ(multiUrlFlag, 0);
    ASSERT_EQ(fake.starts.size(), 1u);
    EXPECT_EQ(fake.starts[0].file, "C:\\Tools\\viewer.exe");
    EXPECT_EQ(fake.starts[0].parameters, "\"http://h/a b\"");
    EXPECT_EQ(fake.starts[0].directory, "C:\\Tools\\");
    EXPECT_EQ(urlList.urlCount, 0);
}

TEST_F(UrlTemplateTest, BrowserHandOverGoesToTheNamedOrListedService) {
    fake.bridge.emplace();
    fake.bridge->accepting = {"Second"};
    settings.browserServices[0] = "First";
    settings.browserServices[1] = "Second";
    settings.browserServiceCount = 2;
    EXPECT_EQ(expand("http://h/x", "ignored %S=Second"), cancelMarker);
    EXPECT_EQ(expand("http://h/y", "%S"), cancelMarker);  // tries First, then Second
    ASSERT_EQ(fake.bridge->sent.size(), 2u);
    EXPECT_EQ(fake.bridge->sent[1].second, "http://h/y");
    EXPECT_TRUE(fake.starts.empty());
    // Only the template's own "%S" hands over: a URL holding "%s" is
    // inserted like any other, and so is one holding "%M".
    fake.bridge->accepting.clear();
    EXPECT_EQ(expand("http://h/%s", "%L"), "http://h/%s");
    EXPECT_EQ(expand("http://h/%S=x", "-u %L"), "-u http://h/%S=x");
    EXPECT_EQ(multiUrlFlag, 0);
    EXPECT_EQ(expand("http://h/100%more", "%L %M"), "http://h/100%more %M");
    EXPECT_EQ(multiUrlFlag, 1);
    EXPECT_EQ(multiUrlPosition, 18u);
    EXPECT_TRUE(fake.starts.empty());
}

TEST_F(UrlTemplateTest, ValuesAreNeverReadAgain) {
    // Percent escapes of a Japanese name (資料) and a path holding "%K".
    const std::string url = "http://example.jp/docs/%E8%B3%87%E6%96%99.pdf";
    EXPECT_EQ(expand(url, "%K|%J|%-J"),
              "%E8%B3%87%E6%96%99.pdf|/docs/%E8%B3%87%E6%96%99.pdf|/docs/");
    EXPECT_EQ(expand("http://h/%-L%K%G.html", "%K %-L"), "%-L%K%G.html http://h/%-L%K%G.html");
    // With "@param": a parameter's value holds URL placeholders that stay.
    settings.parametersOn = 1;
    userParameters = UserParameters{};
    userParameters.rows[0] = {"%opt%", "--url=%L"};
    userParameters.count = 1;
    EXPECT_EQ(expand(url, "%opt% %G"), "--url=%L example.jp");
    userParameters = UserParameters{};
}

TEST_F(UrlTemplateTest, UnsplittableTargetsYieldEmptyParts) {
    expand("http://h/dir/a.html", "%J");
    EXPECT_EQ(expand("not a url", "[%F][%G][%J]"), "[][][]");
}

}  // namespace

// Link cleaning on its own: the parameters dropped and kept byte for byte,
// the redirect links unwrapped and those left alone, the steps told, and
// how the two options read their values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "links/cleaning_tables.h"
#include "links/url_cleaning.h"
#include "settings/cleaning_options.h"

namespace {

LinkCleaning stripDefault() {
    LinkCleaning c;
    addStripOption("default", c);
    return c;
}

LinkCleaning unwrapOnly() {
    LinkCleaning c;
    addUnwrapOption("", c);
    return c;
}

LinkCleaning both() {
    LinkCleaning c = stripDefault();
    addUnwrapOption("", c);
    return c;
}

struct Case {
    const char* what;
    std::string given, want;
};

void expectCleaning(const LinkCleaning& rules, const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        const CleanedUrl cleaned = cleanUrl(c.given, rules);
        EXPECT_EQ(cleaned.url, c.want) << c.what;
        EXPECT_EQ(cleaned.changed, c.want != c.given) << c.what;
        const CleanedUrl told = cleanUrl(c.given, rules, true);
        EXPECT_EQ(told.url, c.want) << c.what;
        EXPECT_EQ(told.steps.empty(), c.want == c.given) << c.what;
    }
}

TEST(UrlCleaning, StripKeepsEverythingElseByteForByte) {
    expectCleaning(stripDefault(), {
        {"one tracking parameter", "http://a.example/p?utm_source=mail&id=3", "http://a.example/p?id=3"},
        {"the first kept loses the dropped one's separator",
         "http://a.example/p?utm_source=x&utm_medium=y&id=3&fbclid=z", "http://a.example/p?id=3"},
        {"an emptied query loses its '?', the fragment stays",
         "http://a.example/p?utm_source=x#top", "http://a.example/p#top"},
        {"parameters after the fragment are the fragment's",
         "http://a.example/p?id=1#x?utm_source=2", "http://a.example/p?id=1#x?utm_source=2"},
        {"a fragment before any '?'", "http://a.example/p#frag?utm_source=1",
         "http://a.example/p#frag?utm_source=1"},
        {"repeated names, any case", "https://a.example/?utm_source=a&id=1&UTM_SOURCE=b&GCLID=9",
         "https://a.example/?id=1"},
        {"empty values", "http://a.example/?utm_source=&id=", "http://a.example/?id="},
        {"%26 inside a value is no separator", "http://a.example/?q=a%26utm_source%3D1&utm_source=x",
         "http://a.example/?q=a%26utm_source%3D1"},
        {"&amp; from a list file, kept as written",
         "http://a.example/?id=1&amp;utm_source=x&amp;b=2", "http://a.example/?id=1&amp;b=2"},
        {"&amp; after a dropped first pair", "http://a.example/?utm_source=x&amp;id=1",
         "http://a.example/?id=1"},
        {"no name=value pair: left alone", "http://a.example/?utm_source", "http://a.example/?utm_source"},
        {"a bare number query", "http://a.example/?12345", "http://a.example/?12345"},
        {"a bare name beside pairs goes", "http://a.example/?fbclid&id=1", "http://a.example/?id=1"},
        {"escapes and '+' stay as written",
         "http://a.example/?q=%E6%97%A5+x&utm_campaign=s&Q=A%2Bb", "http://a.example/?q=%E6%97%A5+x&Q=A%2Bb"},
        {"an escaped name is still the name", "http://a.example/?utm%5Fsource=1&id=2",
         "http://a.example/?id=2"},
        {"empty pairs go with a dropped one", "http://a.example/?a=1&&utm_source=2", "http://a.example/?a=1"},
        {"nothing to drop: untouched, empty pairs and all", "http://a.example/?a=1&&b=2",
         "http://a.example/?a=1&&b=2"},
        {"upper-case scheme", "HTTPS://A.EXAMPLE/?gclid=1", "HTTPS://A.EXAMPLE/"},
        {"a Japanese value", "http://a.example/\x95\x5c?q=\x95\x5c&mc_eid=7", "http://a.example/\x95\x5c?q=\x95\x5c"},
        {"a name that only begins like one", "http://a.example/?gclidx=1&xfbclid=2",
         "http://a.example/?gclidx=1&xfbclid=2"},
        {"ftp is not cleaned", "ftp://a.example/f?utm_source=1", "ftp://a.example/f?utm_source=1"},
        {"mailto is not cleaned", "mailto:a@b.example?utm_source=1", "mailto:a@b.example?utm_source=1"},
        {"file URLs are not cleaned", "file:///C:/a.html?utm_source=1", "file:///C:/a.html?utm_source=1"},
        {"paths are not cleaned", "C:\\pages\\a.html?utm_source=1", "C:\\pages\\a.html?utm_source=1"},
    });
}

TEST(UrlCleaning, StripNamesOfTheUsersOwn) {
    LinkCleaning rules;
    addStripOption("ref*; sid ,", rules);
    expectCleaning(rules, {
        {"a prefix and a name", "http://a.example/?ref=1&referrer=2&xref=3&SID=4&sid2=5",
         "http://a.example/?xref=3&sid2=5"},
        {"the default list is not in force", "http://a.example/?utm_source=1", "http://a.example/?utm_source=1"},
    });
    LinkCleaning all;
    addStripOption("*", all);
    expectCleaning(all, {{"'*' names every parameter", "http://a.example/p?a=1&b=2#f", "http://a.example/p#f"}});
}

TEST(UrlCleaning, AUrlAtTheLimitComesOutShorter) {
    const std::string head = "http://a.example/p?id=1&utm_source=";
    const std::string url = head + std::string(259 - head.size(), 'x');
    ASSERT_EQ(url.size(), 259u);
    EXPECT_EQ(cleanUrl(url, stripDefault()).url, "http://a.example/p?id=1");
}

TEST(UrlCleaning, UnwrapsKnownRedirectors) {
    expectCleaning(unwrapOnly(), {
        {"Google, plain target", "https://www.google.com/url?q=https://example.com/doc.pdf&sa=U&ved=2ah",
         "https://example.com/doc.pdf"},
        {"Google in Japan, url= and escapes decoded once",
         "https://www.google.co.jp/url?sa=t&url=https%3A%2F%2Fexample.com%2Fa%3Fb%3D1%26c%3D2&usg=AOv",
         "https://example.com/a?b=1&c=2"},
        {"Facebook", "https://l.facebook.com/l.php?u=https%3A%2F%2Fexample.com%2F&h=AT0",
         "https://example.com/"},
        {"Outlook safe links under any region",
         "https://nam12.safelinks.protection.outlook.com/?url=https%3A%2F%2Fexample.com%2Fx&data=05%7C01&reserved=0",
         "https://example.com/x"},
        {"Slack", "https://slack-redir.net/link?url=http%3A%2F%2Fexample.com", "http://example.com"},
        {"YouTube", "https://www.youtube.com/redirect?event=video&q=https%3A%2F%2Fexample.com%2F",
         "https://example.com/"},
        {"Instagram without a path", "https://l.instagram.com?u=https%3A%2F%2Fexample.com%2F&e=1",
         "https://example.com/"},
        {"the parameter name in any case", "https://www.google.com/url?Q=http://example.com/",
         "http://example.com/"},
        {"the first of a repeated parameter", "https://www.google.com/url?q=https://a.example/&q=https://b.example/",
         "https://a.example/"},
        {"a doubly escaped target keeps one level", "https://www.google.com/url?q=https%3A%2F%2Fex.com%2Fa%2520b",
         "https://ex.com/a%20b"},
        {"a blank stays escaped", "https://www.google.com/url?q=https%3A%2F%2Fex.com%2Fa%20b%22c",
         "https://ex.com/a%20b%22c"},
        {"UTF-8 escapes stay escaped", "https://www.google.com/url?q=https://ja.example/%E6%97%A5",
         "https://ja.example/%E6%97%A5"},
        {"the target's fragment", "https://www.google.com/url?q=https://ex.com/p%23sec#wrapper",
         "https://ex.com/p#sec"},
        {"a target that is no web link", "https://www.google.com/url?q=javascript:alert(1)",
         "https://www.google.com/url?q=javascript:alert(1)"},
        {"an ftp target", "https://www.google.com/url?q=ftp://ex.com/f", "https://www.google.com/url?q=ftp://ex.com/f"},
        {"a relative target", "https://www.google.com/url?q=/search", "https://www.google.com/url?q=/search"},
        {"a target without host", "https://www.google.com/url?q=https:///x", "https://www.google.com/url?q=https:///x"},
        {"another path of the host", "https://www.google.com/search?q=https://ex.com/",
         "https://www.google.com/search?q=https://ex.com/"},
        {"a host that only ends like one", "https://notgoogle.com/url?q=https://ex.com/",
         "https://notgoogle.com/url?q=https://ex.com/"},
        {"a host that only begins like one", "https://www.google.com.evil.example/url?q=https://ex.com/",
         "https://www.google.com.evil.example/url?q=https://ex.com/"},
        {"the parameter in the fragment", "https://www.google.com/url#q=https://ex.com/",
         "https://www.google.com/url#q=https://ex.com/"},
        {"a short link cannot be unwrapped", "https://t.co/abc?amp=1", "https://t.co/abc?amp=1"},
        {"tracking parameters stay without @strip=", "https://ex.com/?utm_source=1", "https://ex.com/?utm_source=1"},
    });
}

TEST(UrlCleaning, TheTargetsHostAsBrowsersReadIt) {
    const std::string google = "https://www.google.com/url?q=";
    expectCleaning(unwrapOnly(), {
        {"escaped UTF-8 becomes the IDNA form", google + "https%3A%2F%2Fb%C3%BCcher.example%2Fx%C3%A9",
         "https://xn--bcher-kva.example/x%C3%A9"},
        {"the user and the port stay", google + "https%3A%2F%2Fu%3Ap%40%C3%BC.example%3A8080%2F",
         "https://u:p@xn--tda.example:8080/"},
        {"a label the code page holds gets its bytes", google + "https%3A%2F%2F%E6%9D%B1%E4%BA%AC.jp%2F",
         "https://東京.jp/"},
        {"code page characters and escapes in one label", google + "https://東%C3%BC.jp/",
         "https://xn--tda1753c.jp/"},
        {"a '\\' ends the host as '/' does", google + "https%3A%2F%2Fa.example%5C%40b.example%2F",
         "https://a.example/@b.example/"},
        {"a '\\' that is half a character does not", google + "https://ソ.example/",
         "https://ソ.example/"},
        {"Shift_JIS escapes are no UTF-8: left alone", google + "https%3A%2F%2F%93%8C.jp%2F",
         "https://%93%8C.jp/"},
        {"an escaped blank: left alone", google + "https%3A%2F%2Fa%2520%C3%BC.example%2F",
         "https://a%20%C3%BC.example/"},
        {"a label browsers refuse stays escaped", google + "https%3A%2F%2F%CC%81a.%C3%BC.example%2F",
         "https://%CC%81a.xn--tda.example/"},
        {"an address is no host name", google + "https%3A%2F%2F%5B%3A%3A1%5D%2F", "https://[::1]/"},
    });
}

TEST(UrlCleaning, NestedRedirectorsAndTheDepthLimit) {
    const std::string target = "https://ex.com/a";
    // Each level wraps the one inside it, escaped once more.
    std::string link = target;
    for (int level = 0; level < maxUnwrapDepth + 1; ++level) {
        std::string escaped;
        for (char c : link) {
            if (c == '%') escaped += "%25";
            else if (c == ':') escaped += "%3A";
            else if (c == '/') escaped += "%2F";
            else if (c == '?') escaped += "%3F";
            else if (c == '=') escaped += "%3D";
            else escaped += c;
        }
        link = "https://www.google.com/url?q=" + escaped;
        if (level == 1) {
            const CleanedUrl two = cleanUrl(link, unwrapOnly(), true);
            EXPECT_EQ(two.url, target);
            EXPECT_EQ(two.steps.size(), 2u);
        }
    }
    const CleanedUrl deep = cleanUrl(link, unwrapOnly(), true);
    EXPECT_EQ(deep.steps.size(), static_cast<std::size_t>(maxUnwrapDepth));
    EXPECT_TRUE(isWebLink(deep.url));
    EXPECT_NE(deep.url, target) << "one level is left";
}

TEST(UrlCleaning, UsersRedirectorsComeFirst) {
    LinkCleaning rules;
    // "\x83\x40" (a katakana) ends in the byte of '@'.
    addUnwrapOption("=https://go.example.com/out?to=; *.jump.example/r/*?u; \x83\x40.example/o?u", rules);
    ASSERT_EQ(rules.redirectors.size(), 3u);
    expectCleaning(rules, {
        {"copied with its scheme and '='", "http://go.example.com/out?to=https%3A%2F%2Fx.example%2F",
         "https://x.example/"},
        {"a path prefix and a domain", "https://a.jump.example/r/123/z?u=http://y.example/p.pdf",
         "http://y.example/p.pdf"},
        {"another path", "https://a.jump.example/s/?u=http://y.example/", "https://a.jump.example/s/?u=http://y.example/"},
        {"the built-in ones still apply", "https://l.facebook.com/l.php?u=https://z.example/", "https://z.example/"},
        {"a Japanese host with user and port", "http://me@\x83\x40.example:81/o?u=http://j.example/",
         "http://j.example/"},
        {"a '@' byte inside a host's character is no user", "http://x\x83\x40.example/o?u=http://j.example/",
         "http://x\x83\x40.example/o?u=http://j.example/"},
    });
}

TEST(UrlCleaning, UnwrapThenStripAndTheStepsTold) {
    const CleanedUrl c = cleanUrl(
        "https://www.google.com/url?q=https%3A%2F%2Fex.com%2Fdoc.pdf%3Futm_source%3Dg%26id%3D1&sa=U&utm_medium=x",
        both(), true);
    EXPECT_EQ(c.url, "https://ex.com/doc.pdf?id=1");
    ASSERT_EQ(c.steps.size(), 2u);
    EXPECT_TRUE(c.steps[0].unwrapped);
    EXPECT_TRUE(c.steps[0].builtIn);
    EXPECT_EQ(c.steps[0].rule, "Google: www.google.com/url?q");
    EXPECT_FALSE(c.steps[1].unwrapped);
    EXPECT_TRUE(c.steps[1].builtIn);
    EXPECT_EQ(c.steps[1].rule, "utm_*");
    EXPECT_EQ(c.steps[1].detail, "utm_source=g");

    LinkCleaning mine;
    addUnwrapOption("=go.example/o?t", mine);
    addStripOption("sid", mine);
    const CleanedUrl m = cleanUrl("http://go.example/o?t=http://a.example/?sid=1%26k=2", mine, true);
    EXPECT_EQ(m.url, "http://a.example/?k=2");
    ASSERT_EQ(m.steps.size(), 2u);
    EXPECT_EQ(m.steps[0].rule, "go.example/o?t");
    EXPECT_FALSE(m.steps[0].builtIn);
    EXPECT_EQ(m.steps[0].detail, "http://go.example/o?t=http://a.example/?sid=1%26k=2");
    EXPECT_EQ(m.steps[1].rule, "sid");
    EXPECT_FALSE(m.steps[1].builtIn);

    // Stripping alone leaves the redirector but cleans its own query.
    EXPECT_EQ(cleanUrl("https://www.google.com/url?q=https://x.example/&utm_source=y", stripDefault()).url,
              "https://www.google.com/url?q=https://x.example/");
    EXPECT_FALSE(cleanUrl("https://www.google.com/url?q=https://x.example/", LinkCleaning{}).changed);
}

TEST(CleaningOptions, RedirectorEntries) {
    struct Form {
        const char* item;
        RedirectorForm form;
        const char *hosts, *path, *parameter;
    };
    const Form forms[] = {
        {"l.example.com/out?u", RedirectorForm::ok, "l.example.com", "/out", "u"},
        {" https://*.Example.com:8080/r/*?url= ", RedirectorForm::ok, "*.Example.com:8080", "/r/*", "url"},
        {"l.example.com/out", RedirectorForm::noQuestionMark, "", "", ""},
        {"l.example.com/out?", RedirectorForm::noParameter, "", "", ""},
        {"l.example.com/out?=", RedirectorForm::noParameter, "", "", ""},
        {"l.example.com?u", RedirectorForm::noPath, "", "", ""},
        {"a@b.example/out?u", RedirectorForm::badHost, "", "", ""},
        {"*/out?u", RedirectorForm::badHost, "", "", ""},
        {"l.example.com/o*t?u", RedirectorForm::badPath, "", "", ""},
        {"l.example.com/out?u&v", RedirectorForm::badParameter, "", "", ""},
        {"l.example.com/out?u v", RedirectorForm::badParameter, "", "", ""},
    };
    for (const Form& f : forms) {
        RedirectorEntry e;
        EXPECT_EQ(parseRedirectorEntry(f.item, e), f.form) << f.item;
        if (f.form != RedirectorForm::ok) continue;
        EXPECT_EQ(e.hosts, f.hosts) << f.item;
        EXPECT_EQ(e.path, f.path) << f.item;
        EXPECT_EQ(e.parameter, f.parameter) << f.item;
    }
}

TEST(CleaningOptions, StripNames) {
    struct Form {
        const char* item;
        StripNameForm form;
        const char* name;
        bool prefix;
    };
    const Form forms[] = {
        {"fbclid", StripNameForm::ok, "fbclid", false},
        {" utm_* ", StripNameForm::ok, "utm_", true},
        {"*", StripNameForm::ok, "", true},
        {"DEFAULT", StripNameForm::defaultList, "", false},
        {"u*m", StripNameForm::wildcardInside, "", false},
        {"a=b", StripNameForm::badCharacter, "", false},
        {"a b", StripNameForm::badCharacter, "", false},
    };
    for (const Form& f : forms) {
        StripName n;
        EXPECT_EQ(parseStripName(f.item, n), f.form) << f.item;
        if (f.form != StripNameForm::ok) continue;
        EXPECT_EQ(n.name, f.name) << f.item;
        EXPECT_EQ(n.prefix, f.prefix) << f.item;
    }
}

TEST(CleaningOptions, LinesAddUpAndAreBounded) {
    LinkCleaning c;
    EXPECT_FALSE(c.any());
    addStripOption("a;;b,u*m; default", c);
    addStripOption("c", c);
    EXPECT_TRUE(c.stripDefault);
    ASSERT_EQ(c.stripNames.size(), 3u) << "the malformed item is left out";
    EXPECT_EQ(c.stripNames[2].name, "c");
    EXPECT_FALSE(c.unwrap);
    addUnwrapOption("x", c);
    EXPECT_TRUE(c.unwrap) << "any text after the key turns it on";
    EXPECT_TRUE(c.redirectors.empty());
    addUnwrapOption("=a.example/x?u;bad;b.example/y?v", c);
    addUnwrapOption("=c.example/z?w", c);
    ASSERT_EQ(c.redirectors.size(), 3u);
    EXPECT_EQ(c.redirectors[2].hosts, "c.example");

    LinkCleaning many;
    std::string names, entries;
    for (int i = 0; i < 100; ++i) {
        names += "n" + std::to_string(i) + ";";
        entries += "h" + std::to_string(i) + ".example/?u;";
    }
    addStripOption(names, many);
    addUnwrapOption("=" + entries, many);
    EXPECT_EQ(many.stripNames.size(), maxUserStripNames);
    EXPECT_EQ(many.redirectors.size(), maxUserRedirectors);
}

TEST(CleaningOptions, BuiltInTablesAreWellFormed) {
    for (const RedirectorEntry& e : builtInRedirectors()) {
        EXPECT_FALSE(e.name.empty());
        RedirectorEntry parsed;
        // Each host of the entry reads as a user's entry would.
        std::size_t start = 0;
        for (;;) {
            const std::size_t semicolon = e.hosts.find(';', start);
            const std::string host = e.hosts.substr(start, semicolon - start);
            EXPECT_EQ(parseRedirectorEntry(host + e.path + "?" + e.parameter, parsed), RedirectorForm::ok)
                << e.name << " " << host;
            if (semicolon == std::string::npos) break;
            start = semicolon + 1;
        }
    }
    EXPECT_GE(defaultStripNames().size(), 30u);
    EXPECT_TRUE(defaultStripNames()[0].prefix);
    EXPECT_EQ(defaultStripNames()[0].name, "utm_");
}

}  // namespace

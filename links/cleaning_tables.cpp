// The redirectors and tracking parameters Tavrin knows of itself. A
// redirector is listed only when its target stands in a query parameter
// as an ordinary (percent-escaped) URL: short links (t.co, bit.ly) and
// redirectors that encode or sign their target cannot be unwrapped
// without asking the network, so they stay as they are.
#include "links/cleaning_tables.h"

namespace {

// Google's search and mail links, under the addresses people in and
// around Japan meet them at.
constexpr const char* googleHosts =
    "*.google.com;*.google.co.jp;*.google.co.uk;*.google.ca;*.google.com.au;*.google.de;"
    "*.google.fr;*.google.it;*.google.es;*.google.nl;*.google.com.br;*.google.co.in;"
    "*.google.co.kr;*.google.com.tw;*.google.com.hk";

std::vector<RedirectorEntry> makeRedirectors() {
    return {
        {"Google", googleHosts, "/url", "q"},
        {"Google", googleHosts, "/url", "url"},
        {"Facebook", "l.facebook.com;lm.facebook.com;m.facebook.com;www.facebook.com", "/l.php", "u"},
        {"Messenger", "l.messenger.com", "/l.php", "u"},
        {"Instagram", "l.instagram.com", "/", "u"},
        {"Threads", "l.threads.net", "/", "u"},
        {"Outlook", "*.safelinks.protection.outlook.com", "/", "url"},
        {"Slack", "slack-redir.net", "/link", "url"},
        {"YouTube", "youtube.com;www.youtube.com;m.youtube.com", "/redirect", "q"},
        {"LinkedIn", "linkedin.com;www.linkedin.com", "/redir/redirect", "url"},
        {"Steam", "steamcommunity.com", "/linkfilter/", "url"},
        {"Steam", "steamcommunity.com", "/linkfilter/", "u"},
        {"DuckDuckGo", "duckduckgo.com;html.duckduckgo.com", "/l/", "uddg"},
        {"VK", "vk.com;m.vk.com", "/away.php", "to"},
        {"pixiv", "www.pixiv.net", "/jump.php", "url"},
        {"Reddit", "out.reddit.com", "/*", "url"},
        {"Tumblr", "t.umblr.com", "/redirect", "z"},
    };
}

std::vector<StripName> makeStripNames() {
    const char* const names[] = {
        "utm_*",       "fbclid",      "gclid",   "gclsrc",   "dclid",   "gbraid",  "wbraid",
        "msclkid",     "mc_cid",      "mc_eid",  "yclid",    "ysclid",  "igshid",  "igsh",
        "_hsenc",      "_hsmi",       "__hssc",  "__hstc",   "__hsfp",  "mkt_tok", "oly_anon_id",
        "oly_enc_id",  "vero_id",     "vero_conv", "spm",    "_ga",     "_gl",     "twclid",
        "ttclid",      "li_fat_id",   "rb_clid", "wickedid", "mtm_*",
    };
    std::vector<StripName> out;
    for (const char* n : names) {
        StripName s;
        parseStripName(n, s);
        out.push_back(s);
    }
    return out;
}

}  // namespace

const std::vector<RedirectorEntry>& builtInRedirectors() {
    static const std::vector<RedirectorEntry> table = makeRedirectors();
    return table;
}

const std::vector<StripName>& defaultStripNames() {
    static const std::vector<StripName> table = makeStripNames();
    return table;
}

// Redirect links and tracking parameters. The bytes that divide a link
// ('/', '?', '#', '&', '=', '%', ':') lie below 0x40 and so are never the
// trail byte of a double-byte character: a byte scan cannot split one. The
// host is read by whole characters, as '@', ']' and '\' can be trail bytes.
#include "links/url_cleaning.h"

#include "common/text.h"
#include "common/unicode.h"
#include "links/cleaning_tables.h"
#include "links/target_host.h"
#include "settings/host_pattern.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

// Where the parts of a web link begin.
struct Layout {
    std::size_t host = 0;      // after "://"
    std::size_t path = 0;      // the first '/', '?', '#' or '\' after the host
    std::size_t query = npos;  // the '?' of the query, npos without one
    std::size_t end = 0;       // the '#' of the fragment, or the URL's end
};

Layout layoutOf(std::string_view url) {
    Layout l;
    l.host = url.find("://") + 3;
    l.path = authorityEnd(url, l.host);
    const std::size_t hash = url.find('#', l.path);
    l.end = hash == npos ? url.size() : hash;
    const std::size_t question = url.find('?', l.path);
    if (question < l.end) l.query = question;
    return l;
}

// The host as host patterns name it: no user, no port.
std::string_view hostOf(std::string_view url, const Layout& l) {
    std::string_view host = url.substr(l.host, l.path - l.host);
    std::size_t at = npos;
    for (std::size_t i = 0; i < host.size(); i += text::charLength(host, i))
        if (host[i] == '@') at = i;
    if (at != npos) host.remove_prefix(at + 1);
    // A port: digits after the last ':' that no ']' of an address follows.
    std::size_t colon = npos;
    for (std::size_t i = 0; i < host.size(); i += text::charLength(host, i)) {
        if (host[i] == ':') colon = i;
        else if (host[i] == ']') colon = npos;
    }
    return colon == npos ? host : host.substr(0, colon);
}

// Bytes a URL cannot hold as they stand: decoded, they would end the URL
// at a blank or a quote, or turn into text of some other code page.
bool staysEscaped(int b) { return b <= 0x20 || b == 0x7F || b >= 0x80 || b == '"' || b == '<' || b == '>'; }

// A redirector's parameter value with its escapes decoded once.
std::string decodeTarget(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (std::size_t i = 0; i < value.size();) {
        const int b = unicode::percentEscapedByte(value, i);
        if (b >= 0 && !staysEscaped(b)) {
            out += static_cast<char>(b);
            i += 3;
        } else {
            out += value[i++];
        }
    }
    return out;
}

// A parameter name for comparing: every escape decoded.
std::string decodeName(std::string_view name) {
    if (name.find('%') == npos) return std::string(name);
    std::string out;
    for (std::size_t i = 0; i < name.size();) {
        const int b = unicode::percentEscapedByte(name, i);
        if (b >= 0) {
            out += static_cast<char>(b);
            i += 3;
        } else {
            out += name[i++];
        }
    }
    return out;
}

// One "name=value" of a query, and the separator written before it.
struct Pair {
    std::size_t separator;  // where its separator begins; == start for the first
    std::size_t start, end;
};

// The pairs of the query between `from` (after the '?') and `to`. A
// separator is '&', or "&amp;" as a page's source writes it.
std::vector<Pair> pairsOf(std::string_view url, std::size_t from, std::size_t to) {
    std::vector<Pair> pairs;
    std::size_t separator = from, start = from;
    for (;;) {
        std::size_t amp = url.find('&', start);
        if (amp == npos || amp > to) amp = to;
        pairs.push_back({separator, start, amp});
        if (amp >= to) return pairs;
        separator = amp;
        start = amp + (text::startsWithNoCase(url.substr(amp, to - amp), "&amp;") ? 5 : 1);
    }
}

std::string_view nameOf(std::string_view pair) { return pair.substr(0, pair.find('=')); }

bool pathMatches(std::string_view path, const std::string& pattern) {
    if (path.empty()) path = "/";
    if (!pattern.empty() && pattern.back() == '*')
        return text::startsWithNoCase(path, std::string_view(pattern).substr(0, pattern.size() - 1));
    return text::equalsNoCase(path, pattern);
}

// A redirector's hosts, read once: each pattern's domain (folded to lower
// case) and whether the hosts below it count too.
struct HostRule {
    std::string domain;
    bool below = false;
};

struct Redirector {
    const RedirectorEntry* entry;
    std::vector<HostRule> hosts;
};

Redirector compiled(const RedirectorEntry& entry) {
    Redirector r{&entry, {}};
    for (std::string_view pattern : splitHostPatterns(entry.hosts)) {
        const HostPatternForm form = hostPatternForm(pattern);
        if (form != HostPatternForm::exact && form != HostPatternForm::wildcard) continue;
        std::string key = hostPatternKey(pattern);
        const bool below = form == HostPatternForm::wildcard;
        r.hosts.push_back({below ? key.substr(2) : key, below});
    }
    return r;
}

const std::vector<Redirector>& builtInCompiled() {
    static const std::vector<Redirector> table = [] {
        std::vector<Redirector> out;
        for (const RedirectorEntry& entry : builtInRedirectors()) out.push_back(compiled(entry));
        return out;
    }();
    return table;
}

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Whether a rule names `host` (no user, no port), as host patterns do.
bool hostNamed(std::string_view host, const std::vector<HostRule>& rules) {
    if (!host.empty() && host.back() == '.') host.remove_suffix(1);
    if (host.empty()) return false;
    // A host in Japanese must not match at a dot that is half a character.
    if (!isAscii(host)) {
        for (const HostRule& rule : rules)
            if (hostMatchesPattern(host, (rule.below ? "*." : "") + rule.domain)) return true;
        return false;
    }
    for (const HostRule& rule : rules) {
        if (text::equalsNoCase(host, rule.domain)) return true;
        const std::size_t n = rule.domain.size();
        if (rule.below && host.size() > n + 1 && host[host.size() - n - 1] == '.' &&
            text::equalsNoCase(host.substr(host.size() - n), rule.domain))
            return true;
    }
    return false;
}

// The parameter name for comparing: its escapes decoded, when it has any.
bool nameIs(std::string_view name, std::string_view wanted) {
    if (name.find('%') == npos) return text::equalsNoCase(name, wanted);
    return text::equalsNoCase(decodeName(name), wanted);
}

// The target of a link to the redirector, or empty.
std::string targetOf(std::string_view url, const Layout& l, std::string_view host, const Redirector& r) {
    const RedirectorEntry& entry = *r.entry;
    if (!pathMatches(url.substr(l.path, l.query - l.path), entry.path)) return std::string();
    if (!hostNamed(host, r.hosts)) return std::string();
    for (const Pair& p : pairsOf(url, l.query + 1, l.end)) {
        const std::string_view pair = url.substr(p.start, p.end - p.start);
        const std::size_t eq = pair.find('=');
        if (eq == npos || !nameIs(pair.substr(0, eq), entry.parameter)) continue;
        std::string target = decodeTarget(pair.substr(eq + 1));
        if (!isWebLink(target)) return std::string();
        // A target must name a host.
        const std::size_t at = target.find("://") + 3;
        if (authorityEnd(target, at) == at) return std::string();
        return withBrowserHost(target);
    }
    return std::string();
}

// One unwrapping step: true when `url` was a redirect link.
bool unwrapOnce(std::string& url, const std::vector<Redirector>& own, std::vector<CleaningStep>* steps) {
    const Layout l = layoutOf(url);
    if (l.query == npos) return false;
    const std::string_view host = hostOf(url, l);
    auto tryRedirector = [&](const Redirector& r, bool builtIn) {
        std::string target = targetOf(url, l, host, r);
        if (target.empty()) return false;
        if (!steps) {
            url = std::move(target);
            return true;
        }
        const RedirectorEntry& entry = *r.entry;
        CleaningStep step;
        step.unwrapped = true;
        step.builtIn = builtIn;
        const std::string where = (builtIn ? std::string(host) : entry.hosts) + entry.path + "?" + entry.parameter;
        step.rule = builtIn ? entry.name + ": " + where : where;
        step.detail = url;
        steps->push_back(std::move(step));
        url = std::move(target);
        return true;
    };
    for (const Redirector& r : own)
        if (tryRedirector(r, false)) return true;
    for (const Redirector& r : builtInCompiled())
        if (tryRedirector(r, true)) return true;
    return false;
}

bool nameMatches(std::string_view name, const StripName& s) {
    return s.prefix ? text::startsWithNoCase(name, s.name) : text::equalsNoCase(name, s.name);
}

// The strip name that drops a parameter of this name, or null.
const StripName* stripNameFor(std::string_view name, const LinkCleaning& rules, bool& builtIn) {
    std::string escaped;
    std::string_view decoded = name;
    if (name.find('%') != npos) decoded = escaped = decodeName(name);
    for (const StripName& s : rules.stripNames)
        if (nameMatches(decoded, s)) {
            builtIn = false;
            return &s;
        }
    if (rules.stripDefault)
        for (const StripName& s : defaultStripNames())
            if (nameMatches(decoded, s)) {
                builtIn = true;
                return &s;
            }
    return nullptr;
}

// True when a parameter was dropped.
bool strip(std::string& url, const LinkCleaning& rules, std::vector<CleaningStep>* steps) {
    const Layout l = layoutOf(url);
    if (l.query == npos) return false;
    const std::string_view whole = url;
    // "?12345", "?view": no parameters to speak of.
    if (whole.substr(l.query, l.end - l.query).find('=') == npos) return false;
    const std::vector<Pair> pairs = pairsOf(whole, l.query + 1, l.end);
    std::vector<bool> drop(pairs.size(), false);
    bool dropped = false;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const std::string_view pair = whole.substr(pairs[i].start, pairs[i].end - pairs[i].start);
        bool builtIn = false;
        const StripName* by = pair.empty() ? nullptr : stripNameFor(nameOf(pair), rules, builtIn);
        if (!by) continue;
        drop[i] = dropped = true;
        if (steps) steps->push_back({false, builtIn, by->name + (by->prefix ? "*" : ""), std::string(pair)});
    }
    if (!dropped) return false;
    // The pairs kept, each with the separator written before it but the
    // first. Empty pairs ("&&") mean nothing and go too.
    std::string out(whole.substr(0, l.query));
    bool first = true;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const Pair& p = pairs[i];
        if (drop[i] || p.start == p.end) continue;
        out += first ? std::string("?") + std::string(whole.substr(p.start, p.end - p.start))
                     : std::string(whole.substr(p.separator, p.end - p.separator));
        first = false;
    }
    out += whole.substr(l.end);
    url = std::move(out);
    return true;
}

}  // namespace

bool isWebLink(std::string_view url) {
    return text::startsWithNoCase(url, "http://") || text::startsWithNoCase(url, "https://");
}

CleanedUrl cleanUrl(std::string_view url, const LinkCleaning& rules, bool tellSteps) {
    CleanedUrl result;
    result.url = std::string(url);
    // Both kinds of cleaning work on a query: a link without one, and
    // anything that is no web link, is left as it is at once.
    if (!rules.any() || !isWebLink(url) || url.find('?') == npos) return result;
    if (rules.unwrap) {
        std::vector<Redirector> own;
        for (const RedirectorEntry& entry : rules.redirectors) own.push_back(compiled(entry));
        std::vector<CleaningStep>* steps = tellSteps ? &result.steps : nullptr;
        for (int depth = 0; depth < maxUnwrapDepth; ++depth) {
            if (!unwrapOnce(result.url, own, steps)) break;
            result.changed = true;
        }
    }
    if (rules.strips() && strip(result.url, rules, tellSteps ? &result.steps : nullptr)) result.changed = true;
    return result;
}

// Wide text into code page 932 text: one pass that follows words, quotes
// and URLs as recognition will cut them, then the words that name files
// by characters the code page lacks are named by their short names, or
// taken out again where they have none.
#include "links/wide_text.h"

#include <array>
#include <vector>

#include "common/text.h"
#include "common/unicode.h"
#include "links/host_text.h"
#include "platform/platform.h"
#include "settings/settings.h"

namespace {

using Characters = std::u32string;

// Characters the code page lacks that part words as a blank does.
bool isForeignBlank(char32_t c) {
    return c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 ||
           c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x00AB || c == 0x00BB ||
           c == 0x2039 || c == 0x203A;
}

bool isBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The characters of the text up to its first zero, without byte-order
// marks.
Characters charactersOf(std::u16string_view wide) {
    Characters out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size();) {
        const char32_t c = unicode::next(wide, i);
        if (c == 0) break;
        if (c != 0xFEFF) out += c;
    }
    return out;
}

constexpr std::array<std::string_view, 5> schemePrefixes = {
    "http://", "https://", "ftp://", "mailto:", "file://"};

// Length of the URL scheme prefix (ASCII case folded) at `i`, or 0.
std::size_t prefixAt(const Characters& s, std::size_t i) {
    for (std::string_view p : schemePrefixes) {
        if (s.size() - i < p.size()) continue;
        std::size_t k = 0;
        for (; k < p.size(); ++k) {
            char32_t c = s[i + k];
            if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
            if (c != static_cast<char32_t>(p[k])) break;
        }
        if (k == p.size()) return p.size();
    }
    return 0;
}

bool endsAuthority(char32_t c) { return c == '/' || c == '?' || c == '#' || c == '\\'; }

// A range of text with blanks around it and one pair of enclosing double
// quotes taken off, as recognition tests a word against the file system.
template <typename Text>
Text bareWord(Text t) {
    auto trim = [](Text& s) {
        while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.erase(s.begin());
        while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.pop_back();
    };
    trim(t);
    if (t.size() >= 2 && t.front() == '"' && t.back() == '"') t = t.substr(1, t.size() - 2);
    trim(t);
    return t;
}

std::u16string wideOf(const Characters& chars) {
    std::u16string wide;
    for (char32_t c : chars) unicode::appendUtf16(wide, c);
    return wide;
}

bool namesExisting(const Characters& word) { return platform::os().wideFileExists(wideOf(bareWord(word))); }

class Conversion {
public:
    // Words are cut at the blanks of other scripts too; the file system
    // is asked with the characters as they were.
    Conversion(const Characters& given, WideText kind)
        : given_(given), s_(given), kind_(kind), os_(platform::os()) {
        if (kind_ == WideText::input) {
            for (char32_t& c : s_) {
                if (!isForeignBlank(c)) continue;
                c = U' ';
                foreignBlank_ = true;
            }
        }
        out_.reserve(s_.size() + s_.size() / 2);
    }

    std::string run() {
        if (kind_ == WideText::path) return path();
        if (kind_ == WideText::url) {
            if (!startUrl()) url_ = Url::rest;
        }
        while (i_ < s_.size()) step();
        endUrl();
        endWord();
        return kind_ == WideText::input ? withoutUnopenableWords() : out_;
    }

private:
    enum class Url { none, authority, rest };
    struct Word {
        std::size_t outBegin = 0, outEnd = 0, begin = 0, end = 0;
        bool lost = false;  // holds a character lost outside a URL
    };

    // Appends the code page bytes of `c`; false when it has none.
    bool plain(char32_t c, std::string& to) {
        if (c < 0x80) {
            to += static_cast<char>(c);
            return true;
        }
        return os_.cp932Char(c, to);
    }
    bool plain(char32_t c) { return plain(c, out_); }
    void inUrl(char32_t c) {
        if (!plain(c)) unicode::appendPercentEncoded(out_, c);
    }

    // The characters as the code page shows them, '?' for what it lacks;
    // true when nothing was lost.
    bool shown(const Characters& chars, std::string& out) {
        bool held = true;
        for (char32_t c : chars) {
            if (plain(c, out)) continue;
            out += '?';
            held = false;
        }
        return held;
    }

    // A name the code page cannot hold is reached by its short name where
    // it has one; else it is recorded for the box, and nothing names it.
    std::string path() {
        std::string name;
        if (shown(s_, name)) return name;
        return os_.wideName(wideOf(s_), name) ? name : std::string();
    }

    // The name by which an existing file or folder that `word` names is
    // reached, in quotes when the word was quoted; false when none is.
    bool reachedName(const Characters& word, std::size_t outBegin, std::string& name) {
        if (!os_.wideName(wideOf(bareWord(word)), name)) return false;
        if (outBegin < out_.size() && out_[outBegin] == '"') name = '"' + name + '"';
        return true;
    }

    bool stopsUrl(char32_t c) const {
        if (kind_ == WideText::url) return false;
        if (c == '"' || c == '>' || c == '\r' || c == '\n' || c == '\t') return true;
        return c == ' ' && !inQuotes_;
    }

    void step() {
        const char32_t c = s_[i_];
        if (url_ != Url::none && stopsUrl(c)) endUrl();
        if (url_ == Url::authority) {
            if (!endsAuthority(c)) {
                authority_ += c;
                ++i_;
                return;
            }
            flushAuthority();
            url_ = Url::rest;
        }
        if (url_ == Url::rest) {
            restStarts_.push_back(out_.size());
            inUrl(c);
            ++i_;
            if (atTitleSeparator()) url_ = Url::none;
            return;
        }
        if (kind_ == WideText::input && wordStep(c)) return;
        if (startUrl()) return;
        if (!plain(c)) {
            out_ += '?';
            word_.lost = true;
        }
        ++i_;
    }

    // Words and quotes, as recognition cuts tokens; true when `c` was
    // taken here.
    bool wordStep(char32_t c) {
        if (c == '"' && inQuotes_) {
            out_ += '"';
            ++i_;
            inQuotes_ = false;
            endWord();
            return true;
        }
        if (c == '"') {
            endWord();
            beginWord();
            inQuotes_ = true;
            return false;
        }
        if (c == '\n' || (isBlank(c) && !inQuotes_)) {
            if (c == '\n') inQuotes_ = false;
            endWord();
            out_ += static_cast<char>(c);
            ++i_;
            return true;
        }
        if (!inWord_) beginWord();
        return false;
    }

    void beginWord() {
        inWord_ = true;
        word_ = Word{};
        word_.outBegin = out_.size();
        word_.begin = i_;
    }
    void endWord() {
        if (!inWord_) return;
        inWord_ = false;
        word_.outEnd = out_.size();
        word_.end = i_;
        if (word_.lost) lostWords_.push_back(word_);
    }

    bool startUrl() {
        const std::size_t length = s_[i_] < 0x80 ? prefixAt(s_, i_) : 0;
        if (length == 0) return false;
        for (std::size_t k = 0; k < length; ++k) out_ += static_cast<char>(s_[i_ + k]);
        const bool hasAuthority = s_[i_ + length - 1] == '/';
        i_ += length;
        url_ = hasAuthority ? Url::authority : Url::rest;
        authority_.clear();
        restStarts_.clear();
        return true;
    }
    void endUrl() {
        if (url_ == Url::authority) flushAuthority();
        url_ = Url::none;
    }

    // Whether the URL has just run into the title separator, which begins
    // at a character of the URL.
    bool atTitleSeparator() const {
        if (kind_ != WideText::input) return false;
        const std::string& separator = settings.titleSeparator;
        if (separator.empty() || out_.size() < separator.size()) return false;
        const std::size_t at = out_.size() - separator.size();
        if (restStarts_.empty() || at < restStarts_.front()) return false;
        if (!text::equalsNoCase(std::string_view(out_).substr(at), separator)) return false;
        std::size_t k = restStarts_.size();
        while (k > 0 && restStarts_[k - 1] > at) --k;
        return k > 0 && restStarts_[k - 1] == at;
    }

    // user-info@host:port: the host as browsers read it, the rest escaped.
    void flushAuthority() {
        const std::u32string_view a(authority_);
        const std::size_t at = a.rfind(U'@');
        std::u32string_view hostPort = a;
        if (at != std::u32string_view::npos) {
            for (char32_t c : a.substr(0, at)) inUrl(c);
            out_ += '@';
            hostPort = a.substr(at + 1);
        }
        std::size_t hostEnd = hostPort.find(U':');
        if (!hostPort.empty() && hostPort[0] == '[') {
            const std::size_t close = hostPort.find(U']');
            hostEnd = close == std::u32string_view::npos ? close : close + 1;
        }
        if (hostEnd == std::u32string_view::npos) hostEnd = hostPort.size();
        out_ += hostText(hostPort.substr(0, hostEnd));
        for (char32_t c : hostPort.substr(hostEnd)) inUrl(c);
        authority_.clear();
    }

    // A text that names an existing file or folder as a whole (a path with
    // blanks given without quotes) goes as a whole; otherwise each such
    // word goes on its own.
    std::string withoutUnopenableWords() {
        if (lostWords_.empty() && !foreignBlank_) return out_;
        if (namesExisting(given_)) {
            std::string name;
            return reachedName(given_, out_.size(), name) ? name : std::string();
        }
        std::string kept;
        std::size_t from = 0;
        for (const Word& w : lostWords_) {
            const Characters word = given_.substr(w.begin, w.end - w.begin);
            if (!namesExisting(word)) continue;
            std::string name;
            const bool reached = reachedName(word, w.outBegin, name);
            kept.append(out_, from, w.outBegin - from);
            if (reached) kept += name;
            from = w.outEnd;
        }
        kept.append(out_, from, std::string::npos);
        return kept;
    }

    const Characters& given_;
    Characters s_;  // as given, but for the blanks of other scripts
    bool foreignBlank_ = false;
    WideText kind_;
    platform::Platform& os_;
    std::string out_;
    std::size_t i_ = 0;
    Url url_ = Url::none;
    Characters authority_;
    std::vector<std::size_t> restStarts_;  // where each URL character's bytes begin
    bool inQuotes_ = false;
    bool inWord_ = false;
    Word word_;
    std::vector<Word> lostWords_;
};

}  // namespace

std::string wideToCp932(std::u16string_view wide, WideText kind) {
    const Characters s = charactersOf(wide);
    bool ascii = true;
    for (char32_t c : s) ascii = ascii && c < 0x80;
    if (ascii) return std::string(s.begin(), s.end());
    return Conversion(s, kind).run();
}

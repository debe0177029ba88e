// Writing the browser lines. Captions are menu texts: "&" is doubled so
// that it shows, and a caption is cut at Tavrin's capacity. Templates take
// the URL as "%L"; a profile name goes into one only when nothing in it can
// end the quotes, the line's split or become a placeholder, else the
// profile is named by its folder.
#include "check/browser_fragment.h"

#include "check/cp932_text.h"
#include "common/capacity.h"
#include "common/text.h"
#include "settings/association_table.h"

namespace {

// Menu text: "&" doubled, cut at the caption's capacity without leaving
// half a character or a lone "&" at its end.
std::string menuCaption(const std::string& cp932) {
    std::string doubled;
    for (std::size_t i = 0; i < cp932.size();) {
        const std::size_t step = text::charLength(cp932, i);
        if (step == 1 && cp932[i] == '&') doubled += '&';
        doubled.append(cp932, i, step);
        i += step;
    }
    std::string out = text::cut(doubled, cap::path);
    std::size_t amps = 0;
    while (amps < out.size() && out[out.size() - 1 - amps] == '&') ++amps;
    if (amps % 2 == 1 && out.size() < doubled.size()) out.pop_back();
    return out;
}

// Text that can stand between double quotes in a template: no quote, no
// backslash (one before the closing quote would escape it), no "%", no
// control character, no blank at either end.
bool quotable(const std::string& s) {
    if (s.empty() || s.front() == ' ' || s.back() == ' ') return false;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t step = text::charLength(s, i);
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (step == 1 && (c < 0x20 || c == 0x7F || c == '"' || c == '\\' || c == '%')) return false;
        i += step;
    }
    return true;
}

// A profile folder's name as Chromium makes them ("Default", "Profile 3").
bool plainFolderName(const std::string& s) {
    if (s.empty() || s.size() > 100 || s.front() == ' ' || s.back() == ' ' || s[0] == '.') return false;
    for (char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c >= 0x7F) return false;
        if (std::string_view("\"%\\/:*?<>|").find(ch) != std::string_view::npos) return false;
    }
    return true;
}

bool sameName(const std::string& a, const std::string& b) { return text::equalsNoCase(a, b); }

class Writer {
public:
    Writer(SystemView& system, const std::string& separator, Language language, BrowserFragment& out)
        : system_(system), separator_(separator), language_(language), out_(out) {}

    void add(const FoundBrowser& found) {
        FragmentBrowser b;
        b.found = &found;
        b.caption = menuCaption(cp932Text(found.name, &out_.lostCharacters));
        if (b.caption.empty()) b.caption = menuCaption(cp932Text(lastName(system_, found.program)));
        if (!found.programExists) b.leftOut = LeftOut::programMissing;
        else if (!system_.tavrinPath(found.program, b.program)) b.leftOut = LeftOut::programUnnamable;
        else if (b.program.size() > cap::path - 1) b.leftOut = LeftOut::programTooLong;
        else if (holdsSeparator(b.program)) b.leftOut = LeftOut::separatorInText;
        if (b.leftOut == LeftOut::no) {
            for (const BrowserProfileEntry& p : found.profiles) b.items.push_back(profileItem(found, p));
            if (found.family && found.family->privateSwitch) {
                FragmentItem item;
                item.caption = say(language_, found.family->privateCaption);
                item.argument = found.family->privateSwitch;
                item.isPrivate = true;
                b.items.push_back(item);
            }
            int rows = 1;
            for (const FragmentItem& item : b.items) rows += item.leftOut == LeftOut::no;
            if (rows_ + rows > maxAssociationItems) b.leftOut = LeftOut::tooManyRows;
            else rows_ += rows;
        }
        out_.browsers.push_back(std::move(b));
    }

    void writeLines() {
        std::vector<std::string> lines;
        for (const FragmentBrowser& b : out_.browsers) {
            if (b.leftOut != LeftOut::no) continue;
            lines.push_back(b.program + separator_ + b.caption);
            for (const FragmentItem& item : b.items)
                if (item.leftOut == LeftOut::no) lines.push_back(">" + templateOf(item) + separator_ + item.caption);
        }
        out_.lines = std::move(lines);
    }

private:
    SystemView& system_;
    const std::string& separator_;
    Language language_;
    BrowserFragment& out_;
    int rows_ = 0;

    static std::string templateOf(const FragmentItem& item) { return item.argument + " %L"; }

    bool holdsSeparator(const std::string& s) const { return text::findNoCase(s, separator_) != text::npos; }

    FragmentItem profileItem(const FoundBrowser& found, const BrowserProfileEntry& p) {
        FragmentItem item;
        const std::string name = p.name.empty() ? p.folder : p.name;
        item.caption = menuCaption(cp932Text(name, &out_.lostCharacters));
        if (found.family->store == ProfileStore::chromium) {
            if (plainFolderName(p.folder)) item.argument = "--profile-directory=\"" + p.folder + "\"";
            else item.leftOut = LeftOut::folderNameUnsafe;
        } else {
            firefoxArgument(found, p, item);
        }
        if (item.leftOut == LeftOut::no) {
            const std::string templ = templateOf(item);
            if (templ.size() > cap::path - 1 ||
                1 + templ.size() + separator_.size() + item.caption.size() > cap::settingsLine - 1)
                item.leftOut = LeftOut::templateTooLong;
            else if (holdsSeparator(templ))
                item.leftOut = LeftOut::separatorInText;
        }
        return item;
    }

    // "-P NAME" when the name is the profile's alone and can be written as
    // it is; else "--profile PATH".
    void firefoxArgument(const FoundBrowser& found, const BrowserProfileEntry& p, FragmentItem& item) {
        int namesakes = 0;
        for (const BrowserProfileEntry& other : found.profiles) namesakes += sameName(other.name, p.name);
        for (const BrowserProfileEntry& other : found.missingProfiles) namesakes += sameName(other.name, p.name);
        bool lost = false;
        const std::string name = cp932Text(p.name, &lost);
        if (namesakes == 1 && !lost && quotable(name) && !holdsSeparator(name)) {
            item.argument = "-P \"" + name + "\"";
            return;
        }
        std::string path;
        if (system_.tavrinPath(p.folder, path) && !path.empty() && path.find_first_of("\"%") == std::string::npos &&
            path.back() != '\\') {
            item.argument = "--profile \"" + path + "\"";
            item.byPath = true;
            return;
        }
        item.leftOut = LeftOut::profileUnnamable;
    }
};

}  // namespace

BrowserFragment buildFragment(const std::vector<FoundBrowser>& found, SystemView& system,
                              const std::string& separator, Language language) {
    BrowserFragment out;
    Writer writer(system, separator, language, out);
    for (const FoundBrowser& b : found) writer.add(b);
    writer.writeLines();
    return out;
}

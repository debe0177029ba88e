// The browsers command's words and tab-separated lines: each browser with
// its program, where it was found, its profiles and its private window,
// what was left out and why, then the lines to paste.
#include "check/browsers_command.h"

#include "check/browser_fragment.h"
#include "check/browser_paste.h"
#include "check/cp932_text.h"

namespace {

const Text browserLabel{"ブラウザー: {1}", "browser: {1}"};
const Text programLabel{"  プログラム: {1}", "  program: {1}"};
const Text registeredAt{"  登録: {1}", "  registered: {1}"};
const Text foundAt{"  場所: {1} (Windows には登録されていません)", "  found at: {1} (not registered with Windows)"};
const Text familyLabel{"  種類: {1}", "  kind: {1}"};
const Text profilesFrom{"  プロファイル ({1}):", "  profiles ({1}):"};
const Text profileLine{"    {1}  {2}", "    {1}  {2}"};
const Text defaultMark{" (既定)", " (default)"};
const Text privateLine{"  {1}: {2}", "  {1}: {2}"};
const Text noPrivate{"  プライベート ウィンドウ: このブラウザーのスイッチは分からないので書きません",
                     "  private window: the switch of this browser is not known, so none is written"};
const Text leftOutLabel{"  入れません: {1}", "  left out: {1}"};
const Text itemLeftOut{"    入れません: {1}: {2}", "    left out: {1}: {2}"};
const Text missingProfile{"    入れません: {1}: フォルダー {2} がありません (削除されたプロファイル)",
                          "    left out: {1}: its folder {2} is gone (a deleted profile)"};
const Text moreProfiles{"    (プロファイルが多すぎるので、最初の {1} 個だけ読みました)",
                        "    (too many profiles: only the first {1} were read)"};
const Text storeNotFound{"  プロファイル: {1} がないので、プロファイルの行は書きません",
                         "  profiles: there is no {1}, so no profile lines are written"};
const Text storeUnreadable{"  プロファイル: {1} を読めません", "  profiles: cannot read {1}"};
const Text storeTooLarge{"  プロファイル: {1} が大きすぎます (64 MiB 超)", "  profiles: {1} is larger than 64 MiB"};
const Text storePartial{"  注意: {1} は途中で切れているか壊れています。読めたところまでのプロファイルを使います",
                        "  note: {1} is cut short or broken; the profiles read before that point are used"};

const Text whyProgramMissing{"プログラムのファイルがありません", "the program file does not exist"};
const Text whyProgramUnnamable{"パスにコード ページ 932 にない文字があり、短い名前もありません",
                               "its path holds characters code page 932 lacks and has no short name"};
const Text whyProgramTooLong{"パスが 259 文字を超えています", "its path is longer than 259 characters"};
const Text whySeparator{"区切り {1} がパスか引数の中にあります", "the separator {1} stands in its path or arguments"};
const Text whyTooManyRows{"[all] の行が 200 を超えます", "the [all] block would hold more than 200 rows"};
const Text whyFolderName{"フォルダー名をそのまま渡せません", "its folder name cannot be passed as it is"};
const Text whyUnnamable{"名前もフォルダーのパスもそのまま書けません", "neither its name nor its folder can be written as they are"};
const Text whyTemplateTooLong{"行が長すぎます", "the line would be too long"};

const Text none{"ブラウザーが見つかりません", "no web browser found"};
const Text noRegistry{"(この環境にはレジストリがないので、LOCALAPPDATA と APPDATA の下の決まった場所だけを探しました)",
                      "(this system has no registry: only the usual places under LOCALAPPDATA and APPDATA were searched)"};
const Text lostNote{"注意: 名前の ? はコード ページ 932 にない文字です。Tavrin.ini はコード ページ 932 で書くので、"
                    "Tavrin がほかでもするように ? にしました",
                    "note: a ? in a name stands for a character code page 932 lacks: Tavrin.ini is written in code "
                    "page 932, so it became ?, as Tavrin turns such characters elsewhere"};
const Text byPathNote{"注意: 名前が同じか、そのまま書けない Firefox のプロファイルはフォルダーで指定しました (--profile)",
                      "note: Firefox profiles whose name is shared or cannot be written as it is are named by their folder (--profile)"};
const Text pasteLabel{"Tavrin.ini の最後に貼る行:", "lines to paste at the end of Tavrin.ini:"};
const Text pasteIntoAll{"Tavrin.ini の [all] ブロックの中 (%end の前) に入れる行:",
                        "lines to put into the [all] block of Tavrin.ini (before its %end):"};
const Text nothingToPaste{"Tavrin.ini に書ける行はありません", "no lines can be written for Tavrin.ini"};

std::string reason(Language language, LeftOut why, const std::string& separator) {
    switch (why) {
        case LeftOut::programMissing: return say(language, whyProgramMissing);
        case LeftOut::programUnnamable: return say(language, whyProgramUnnamable);
        case LeftOut::programTooLong: return say(language, whyProgramTooLong);
        case LeftOut::separatorInText: return say(language, whySeparator, {quoted(language, separator)});
        case LeftOut::tooManyRows: return say(language, whyTooManyRows);
        case LeftOut::folderNameUnsafe: return say(language, whyFolderName);
        case LeftOut::profileUnnamable: return say(language, whyUnnamable);
        case LeftOut::templateTooLong: return say(language, whyTemplateTooLong);
        case LeftOut::no: break;
    }
    return std::string();
}

const char* leftOutWord(LeftOut why) {
    switch (why) {
        case LeftOut::no: return "written";
        case LeftOut::programMissing: return "program-missing";
        case LeftOut::programUnnamable: return "program-unnamable";
        case LeftOut::programTooLong: return "program-too-long";
        case LeftOut::separatorInText: return "separator-inside";
        case LeftOut::tooManyRows: return "too-many-rows";
        case LeftOut::folderNameUnsafe: return "folder-name-unsafe";
        case LeftOut::profileUnnamable: return "profile-unnamable";
        case LeftOut::templateTooLong: return "too-long";
    }
    return "";
}

const char* storeWord(StoreState state) {
    switch (state) {
        case StoreState::none: return "none";
        case StoreState::notFound: return "not-found";
        case StoreState::unreadable: return "unreadable";
        case StoreState::tooLarge: return "too-large";
        case StoreState::partial: return "partial";
        case StoreState::ok: return "ok";
    }
    return "";
}

class BrowserReport {
public:
    BrowserReport(Language language, const std::string& separator, std::string& out)
        : language_(language), separator_(separator), out_(out) {}

    void line(const Text& text, std::initializer_list<std::string_view> args = {}) {
        out_ += say(language_, text, args) + "\n";
    }

    void browser(const FragmentBrowser& b) {
        const FoundBrowser& f = *b.found;
        line(browserLabel, {shownText(f.name)});
        line(programLabel, {shownText(f.program)});
        line(f.registered ? registeredAt : foundAt, {shownText(f.source)});
        if (f.family) line(familyLabel, {f.family->name});
        if (b.leftOut != LeftOut::no) {
            line(leftOutLabel, {reason(language_, b.leftOut, separator_)});
            if (b.leftOut == LeftOut::programMissing) return;
        }
        store(f);
        std::size_t p = 0;
        for (const FragmentItem& item : b.items) {
            if (item.isPrivate) continue;
            const BrowserProfileEntry& entry = f.profiles[p++];
            if (item.leftOut != LeftOut::no) {
                line(itemLeftOut, {printable(item.caption), reason(language_, item.leftOut, separator_)});
                continue;
            }
            line(profileLine, {printable(item.caption) + (entry.isDefault ? say(language_, defaultMark) : ""),
                               printable(item.argument)});
        }
        for (const BrowserProfileEntry& gone : f.missingProfiles)
            line(missingProfile, {shownText(gone.name), shownText(gone.folder)});
        if (f.moreProfiles) line(moreProfiles, {std::to_string(f.profiles.size() + f.missingProfiles.size())});
        for (const FragmentItem& item : b.items)
            if (item.isPrivate) line(privateLine, {item.caption, item.argument});
        if (f.family && !f.family->privateSwitch) line(noPrivate);
    }

private:
    Language language_;
    const std::string& separator_;
    std::string& out_;

    void store(const FoundBrowser& f) {
        const std::string path = shownText(f.store);
        switch (f.storeState) {
            case StoreState::none: return;
            case StoreState::notFound: return line(storeNotFound, {path});
            case StoreState::unreadable: return line(storeUnreadable, {path});
            case StoreState::tooLarge: return line(storeTooLarge, {path});
            case StoreState::partial: line(storePartial, {path}); break;
            case StoreState::ok: break;
        }
        line(profilesFrom, {path});
    }
};

void writeTsv(const BrowserFragment& fragment, const std::vector<std::string>& paste, std::string& out) {
    int n = 0;
    for (const FragmentBrowser& b : fragment.browsers) {
        const FoundBrowser& f = *b.found;
        ++n;
        out += "@browser\t" + std::to_string(n) + "\t" + tsvField(b.caption) + "\t" + tsvField(cp932Text(f.program)) +
               "\t" + tsvField(cp932Text(f.source)) + "\t" + (f.family ? f.family->name : "") + "\t" +
               leftOutWord(b.leftOut) + "\n";
        if (f.storeState != StoreState::none)
            out += "@store\t" + std::to_string(n) + "\t" + tsvField(cp932Text(f.store)) + "\t" + storeWord(f.storeState) +
                   "\n";
        for (const FragmentItem& item : b.items)
            out += std::string(item.isPrivate ? "@private\t" : "@profile\t") + std::to_string(n) + "\t" +
                   tsvField(item.caption) + "\t" + tsvField(item.argument) + "\t" + leftOutWord(item.leftOut) + "\n";
        for (const BrowserProfileEntry& gone : f.missingProfiles)
            out += "@profile\t" + std::to_string(n) + "\t" + tsvField(cp932Text(gone.name)) + "\t\tfolder-missing\n";
    }
    if (fragment.lostCharacters) out += "@note\tlost-characters\n";
    for (const std::string& line : paste) out += "@line\t" + line + "\n";
}

}  // namespace

int runBrowsersCommand(const CheckOptions& options, const CheckEnvironment& environment, CheckOutput& output) {
    const Language language = options.language;
    SettingsForPaste paste;
    std::string error;
    if (!readSettingsForPaste(options, environment, paste, error)) {
        output.err += error + "\n";
        return checkUsage;
    }
    if (!environment.system) {
        output.err += say(language, none) + "\n";
        return checkFindings;
    }
    SystemView& system = *environment.system;
    const std::vector<FoundBrowser> found = findBrowsers(system);
    const BrowserFragment fragment = buildFragment(found, system, paste.separator, language);
    const std::vector<std::string> lines = linesToPaste(fragment.lines, paste, language);
    if (options.tsv) {
        writeTsv(fragment, lines, output.out);
        return lines.empty() ? checkFindings : checkOk;
    }
    BrowserReport report(language, paste.separator, output.out);
    if (found.empty()) report.line(none);
    if (!system.hasRegistry()) report.line(noRegistry);
    for (const FragmentBrowser& b : fragment.browsers) report.browser(b);
    bool byPath = false;
    for (const FragmentBrowser& b : fragment.browsers)
        for (const FragmentItem& item : b.items) byPath = byPath || (item.byPath && item.leftOut == LeftOut::no);
    if (fragment.lostCharacters) report.line(lostNote);
    if (byPath) report.line(byPathNote);
    output.out += "\n";
    if (lines.empty()) {
        report.line(nothingToPaste);
        return checkFindings;
    }
    report.line(paste.hasAll ? pasteIntoAll : pasteLabel);
    for (const std::string& line : lines) output.out += line + "\n";
    return checkOk;
}

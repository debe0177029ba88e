// The program the user chose for each kind of link, and whether it is this
// Tavrin. Windows 11 records the choice in "UserChoiceLatest" (its "ProgId"
// subkey, on some builds the key itself) and leaves the older "UserChoice"
// stale, so that one is read first; without a choice Windows takes the
// class of the scheme or extension, the user's classes before the
// machine's.
#include "check/browser_find.h"
#include "check/command_program.h"
#include "check/cp932_text.h"
#include "check/doctor.h"

namespace {

const char* const changePage = "ms-settings:defaultapps?registeredAppUser=Tavrin";

const Text choiceTavrin{"{1}: Tavrin が開きます ({2})", "{1}: Tavrin opens them ({2})"};
const Text choiceOther{"{1}: {2} が開きます ({3}): Tavrin には届きません", "{1}: {2} opens them ({3}); they do not reach Tavrin"};
const Text choiceGone{"{1}: {2} が開くことになっていますが、そのプログラムはありません ({3})",
                      "{1}: {2} is to open them, but that program does not exist ({3})"};
const Text choiceNone{"{1}: 開くプログラムが決まっていません ({2})", "{1}: no program is set to open them ({2})"};
const Text howToChange{"変えるには: start {1} を実行し (Windows の「既定のアプリ」の Tavrin の画面が開きます)、"
                       "Tavrin を選びます",
                       "to change it: run start {1} (Windows' default apps page of Tavrin opens) and choose Tavrin"};
const Text chosenIn{"{1} の選択: {2}", "chosen in {1}: {2}"};
const Text noChoice{"ユーザーの選択なし、{1}", "no choice of the user, {1}"};
const Text noClass{"ユーザーの選択もシステムの既定もなし", "neither a choice of the user nor a system default"};

struct Kind {
    const char* name;   // "http", ".url"
    bool scheme;
    bool needed;        // links of this kind must reach Tavrin
};

bool value(SystemView& system, RegistryRoot root, const std::string& key, const std::string& name, std::string& data) {
    return system.stringValue(root, RegistryView::own, key, name, data);
}

class Choices {
public:
    Choices(SystemView& system, const DoctorSubject& subject, DoctorFindings& findings)
        : system_(system), subject_(subject), f_(findings) {}

    void run(bool mailto, bool shortcut) {
        const Kind kinds[] = {{"http", true, true}, {"https", true, true}, {"mailto", true, false},
                              {".url", false, false}};
        bool advise = false;
        for (const Kind& kind : kinds) {
            if ((kind.name == std::string("mailto") && !mailto) || (kind.name == std::string(".url") && !shortcut))
                continue;
            std::string where;
            std::string progId = chosenClass(kind, where);
            std::string how;
            if (!progId.empty()) {
                how = say(f_.language, chosenIn, {where, shownText(progId)});
            } else {
                progId = systemClass(kind);
                how = progId.empty() ? say(f_.language, noClass)
                                     : say(f_.language, noChoice, {"HKCR\\" + shownText(progId)});
            }
            const std::string program = programOf(progId);
            const Health bad = kind.needed ? Health::problem : Health::note;
            std::vector<std::string> fields = {shownText(progId), where.empty() ? "none" : where,
                                               shownText(program)};
            if (!program.empty() && system_.isFile(program) && system_.sameFile(program, subject_.exe)) {
                fields.insert(fields.begin(), "tavrin");
                f_.add(Health::ok, "choice", kind.name, choiceTavrin, {kind.name, how}, fields);
                continue;
            }
            advise = true;
            if (program.empty()) {
                fields.insert(fields.begin(), "none");
                f_.add(bad, "choice", kind.name, choiceNone, {kind.name, how}, fields);
            } else if (!system_.isFile(program)) {
                fields.insert(fields.begin(), "missing");
                f_.add(bad, "choice", kind.name, choiceGone, {kind.name, shownText(program), how}, fields);
            } else {
                fields.insert(fields.begin(), "other");
                f_.add(bad, "choice", kind.name, choiceOther,
                       {kind.name, nameOf(program) + " (" + shownText(program) + ")", how}, fields);
            }
        }
        if (advise) f_.add(Health::note, "choice", "change", howToChange, {changePage}, {changePage});
    }

private:
    // The class the user chose for a kind of link, and where it was read.
    std::string chosenClass(const Kind& kind, std::string& where) {
        const std::string base = kind.scheme
                                     ? std::string("Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\") +
                                           kind.name
                                     : std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\") +
                                           kind.name;
        const struct {
            const char* key;
            const char* label;
        } places[] = {{"\\UserChoiceLatest\\ProgId", "UserChoiceLatest"},
                      {"\\UserChoiceLatest", "UserChoiceLatest"},
                      {"\\UserChoice", "UserChoice"}};
        for (const auto& place : places) {
            std::string progId;
            if (value(system_, RegistryRoot::currentUser, base + place.key, "ProgId", progId) && !progId.empty()) {
                where = place.label;
                return progId;
            }
        }
        where.clear();
        return std::string();
    }

    // The class Windows uses when the user chose none.
    std::string systemClass(const Kind& kind) {
        if (kind.scheme) return kind.name;
        std::string progId;
        classValue(kind.name, "", progId);
        return progId;
    }

    // A class's value as Windows merges the classes: the user's own
    // (HKCU\Software\Classes) before the machine's.
    bool classValue(const std::string& key, const std::string& name, std::string& data) {
        return value(system_, RegistryRoot::currentUser, "Software\\Classes\\" + key, name, data) ||
               value(system_, RegistryRoot::classesRoot, key, name, data);
    }

    std::string programOf(const std::string& progId) {
        std::string data;
        if (progId.empty() || !classValue(progId + "\\shell\\open\\command", "", data)) return std::string();
        return commandProgram(system_, data);
    }

    // A program as people know it: the browser's name when it is one.
    std::string nameOf(const std::string& program) {
        if (!browsersRead_) {
            browsers_ = findBrowsers(system_);
            browsersRead_ = true;
        }
        for (const FoundBrowser& b : browsers_)
            if (b.programExists && system_.sameFile(b.program, program)) return shownText(b.name);
        return shownText(lastName(system_, program));
    }


    SystemView& system_;
    const DoctorSubject& subject_;
    DoctorFindings& f_;
    std::vector<FoundBrowser> browsers_;
    bool browsersRead_ = false;
};

}  // namespace

void checkChoices(SystemView& system, const DoctorSubject& subject, bool mailto, bool shortcut,
                  DoctorFindings& findings) {
    Choices(system, subject, findings).run(mailto, shortcut);
}

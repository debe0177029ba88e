// The registration as register.cmd writes it (for the current user only),
// each open command pointing at this Tavrin.exe, and the program the user
// chose for each kind of link: Windows 11 records the choice in
// "UserChoiceLatest" (its "ProgId" subkey, on some builds the key itself)
// and leaves the older "UserChoice" stale, so that one is read first.
#include "check/browser_find.h"
#include "check/command_program.h"
#include "check/cp932_text.h"
#include "check/doctor.h"
#include "common/text.h"

namespace {

const char* const classKey = "Software\\Classes\\TavrinURL";
const char* const shortcutClassKey = "Software\\Classes\\TavrinShortcut";
const char* const clientKey = "Software\\Clients\\StartMenuInternet\\Tavrin";
const char* const capabilities = "Software\\Clients\\StartMenuInternet\\Tavrin\\Capabilities";
const char* const registeredKey = "Software\\RegisteredApplications";
const char* const changePage = "ms-settings:defaultapps?registeredAppUser=Tavrin";

const Text noExe{"このフォルダーに Tavrin.exe がありません: {1}", "there is no Tavrin.exe in this folder: {1}"};
const Text exeHere{"Tavrin.exe: {1}", "Tavrin.exe: {1}"};
const Text noRegistry{"この環境にはレジストリがないので、登録と既定のアプリは調べません (Windows の TavrinCheck.exe が調べます)",
                      "this system has no registry: the registration and default apps are checked by TavrinCheck.exe on Windows"};
const Text notRegistered{"Tavrin は登録されていません ({1} がありません)。このフォルダーの register.cmd を実行してください",
                         "Tavrin is not registered ({1} is missing): run register.cmd in this folder"};
const Text keyMissing{"{1} がありません。register.cmd をもう一度実行してください",
                      "{1} is missing: run register.cmd again"};
const Text valueWrong{"{1} の {2} が {3} ではなく {4} です。register.cmd をもう一度実行してください",
                      "{1} value {2} is {4}, not {3}: run register.cmd again"};
const Text commandHere{"{1}: このフォルダーの Tavrin.exe を起動します", "{1}: starts the Tavrin.exe of this folder"};
const Text commandStale{"{1} は {2} を起動しますが、そこにはもうありません (フォルダーを移したか消したなら、"
                        "ここで register.cmd をもう一度実行してください)",
                        "{1} starts {2}, which is no longer there (if the folder was moved or deleted, run "
                        "register.cmd here again)"};
const Text commandOther{"{1} はほかの Tavrin を起動します: {2} (このフォルダーのものにするなら、ここで register.cmd を実行してください)",
                        "{1} starts another Tavrin: {2} (to make it this one, run register.cmd here)"};
const Text commandEmpty{"{1} の起動するプログラムがありません。register.cmd をもう一度実行してください",
                        "{1} names no program: run register.cmd again"};
const Text notForKind{"{1} には登録されていません (新しい register.cmd をもう一度実行すると登録されます)",
                      "Tavrin is not registered for {1} (running the current register.cmd again registers it)"};

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
    const char* tavrinClass;
};

std::string hkcu(const std::string& key) { return "HKCU\\" + key; }

bool value(SystemView& system, RegistryRoot root, const std::string& key, const std::string& name, std::string& data) {
    return system.stringValue(root, RegistryView::own, key, name, data);
}

class Registration {
public:
    Registration(SystemView& system, const DoctorSubject& subject, DoctorFindings& findings)
        : system_(system), subject_(subject), f_(findings) {}

    void run() {
        const bool exe = system_.isFile(subject_.exe);
        if (exe) f_.add(Health::ok, "tavrin", "Tavrin.exe", exeHere, {shownPath(subject_.exe)}, {shownPath(subject_.exe)});
        else f_.add(Health::problem, "tavrin", "Tavrin.exe", noExe, {shownPath(subject_.folder)}, {shownPath(subject_.exe)});
        if (!system_.hasRegistry()) {
            f_.add(Health::note, "registration", "registry", noRegistry);
            return;
        }
        if (!system_.keyExists(RegistryRoot::currentUser, RegistryView::own, classKey) &&
            !system_.keyExists(RegistryRoot::currentUser, RegistryView::own, clientKey)) {
            f_.add(Health::problem, "registration", hkcu(classKey), notRegistered, {hkcu(classKey)}, {"missing"});
            return;
        }
        std::string data;
        if (!value(system_, RegistryRoot::currentUser, classKey, "URL Protocol", data))
            missing(std::string(classKey) + " URL Protocol");
        command(std::string(classKey) + "\\shell\\open\\command", true);
        command(std::string(clientKey) + "\\shell\\open\\command", true);
        expect(std::string(capabilities) + "\\URLAssociations", "http", "TavrinURL", true);
        expect(std::string(capabilities) + "\\URLAssociations", "https", "TavrinURL", true);
        expect(registeredKey, "Tavrin", capabilities, true);
        mailto_ = expect(std::string(capabilities) + "\\URLAssociations", "mailto", "TavrinURL", false);
        shortcut_ = expect(std::string(capabilities) + "\\FileAssociations", ".url", "TavrinShortcut", false);
        if (shortcut_) command(std::string(shortcutClassKey) + "\\shell\\open\\command", false);
        choices();
    }

private:
    SystemView& system_;
    const DoctorSubject& subject_;
    DoctorFindings& f_;
    bool mailto_ = false, shortcut_ = false;
    std::vector<FoundBrowser> browsers_;
    bool browsersRead_ = false;

    void missing(const std::string& key) {
        f_.add(Health::problem, "registration", hkcu(key), keyMissing, {hkcu(key)}, {"missing"});
    }

    // A registered open command: it must start this Tavrin.exe.
    void command(const std::string& key, bool needed) {
        std::string data;
        if (!value(system_, RegistryRoot::currentUser, key, "", data)) return missing(key);
        const std::string program = commandProgram(system_, data);
        const std::string shown = hkcu(key);
        const Health bad = needed ? Health::problem : Health::note;
        if (program.empty()) return f_.add(bad, "registration", shown, commandEmpty, {shown}, {"empty"});
        if (system_.isFile(program) && system_.sameFile(program, subject_.exe))
            return f_.add(Health::ok, "registration", shown, commandHere, {shown}, {"here", shownPath(program)});
        if (!system_.isFile(program))
            return f_.add(bad, "registration", shown, commandStale, {shown, shownPath(program)},
                          {"stale", shownPath(program)});
        f_.add(bad, "registration", shown, commandOther, {shown, shownPath(program)}, {"other", shownPath(program)});
    }

    // A value register.cmd sets; true when it holds what it should.
    bool expect(const std::string& key, const std::string& name, const std::string& wanted, bool needed) {
        std::string data;
        const std::string shown = hkcu(key) + " " + name;
        if (!value(system_, RegistryRoot::currentUser, key, name, data)) {
            if (needed) missing(key + " " + name);
            else f_.add(Health::note, "registration", shown, notForKind, {name}, {"missing"});
            return false;
        }
        if (text::equalsNoCase(data, wanted)) {
            f_.add(Health::ok, "registration", shown, Text{"{1}: {2}", "{1}: {2}"}, {shown, wanted}, {"ok", wanted});
            return true;
        }
        f_.add(needed ? Health::problem : Health::note, "registration", shown, valueWrong,
               {hkcu(key), name, wanted, printable(cp932Text(data))}, {"wrong", printable(cp932Text(data))});
        return false;
    }

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
            if (b.programExists && system_.sameFile(b.program, program)) return shownPath(b.name);
        return shownPath(lastName(system_, program));
    }

    void choices() {
        const Kind kinds[] = {{"http", true, true, "TavrinURL"},
                              {"https", true, true, "TavrinURL"},
                              {"mailto", true, false, "TavrinURL"},
                              {".url", false, false, "TavrinShortcut"}};
        bool advise = false;
        for (const Kind& kind : kinds) {
            if ((kind.name == std::string("mailto") && !mailto_) || (kind.name == std::string(".url") && !shortcut_))
                continue;
            std::string where;
            std::string progId = chosenClass(kind, where);
            std::string how;
            if (!progId.empty()) {
                how = say(f_.language, chosenIn, {where, printable(cp932Text(progId))});
            } else {
                progId = systemClass(kind);
                how = progId.empty() ? say(f_.language, noClass)
                                     : say(f_.language, noChoice, {"HKCR\\" + printable(cp932Text(progId))});
            }
            const std::string program = programOf(progId);
            const Health bad = kind.needed ? Health::problem : Health::note;
            std::vector<std::string> fields = {printable(cp932Text(progId)), where.empty() ? "none" : where,
                                               shownPath(program)};
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
                f_.add(bad, "choice", kind.name, choiceGone, {kind.name, shownPath(program), how}, fields);
            } else {
                fields.insert(fields.begin(), "other");
                f_.add(bad, "choice", kind.name, choiceOther,
                       {kind.name, nameOf(program) + " (" + shownPath(program) + ")", how}, fields);
            }
        }
        if (advise) f_.add(Health::note, "choice", "change", howToChange, {changePage}, {changePage});
    }
};

}  // namespace

void checkRegistration(SystemView& system, const DoctorSubject& subject, DoctorFindings& findings) {
    Registration(system, subject, findings).run();
}

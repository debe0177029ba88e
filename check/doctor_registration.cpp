// The registration as register.cmd writes it (for the current user only):
// every key there, each open command pointing at this Tavrin.exe.
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
        if (exe) f_.add(Health::ok, "tavrin", "Tavrin.exe", exeHere, {shownText(subject_.exe)}, {shownText(subject_.exe)});
        else f_.add(Health::problem, "tavrin", "Tavrin.exe", noExe, {shownText(subject_.folder)}, {shownText(subject_.exe)});
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
        checkChoices(system_, subject_, mailto_, shortcut_, f_);
    }

private:
    SystemView& system_;
    const DoctorSubject& subject_;
    DoctorFindings& f_;
    bool mailto_ = false, shortcut_ = false;

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
            return f_.add(Health::ok, "registration", shown, commandHere, {shown}, {"here", shownText(program)});
        if (!system_.isFile(program))
            return f_.add(bad, "registration", shown, commandStale, {shown, shownText(program)},
                          {"stale", shownText(program)});
        f_.add(bad, "registration", shown, commandOther, {shown, shownText(program)}, {"other", shownText(program)});
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
               {hkcu(key), name, wanted, shownText(data)}, {"wrong", shownText(data)});
        return false;
    }
};

}  // namespace

void checkRegistration(SystemView& system, const DoctorSubject& subject, DoctorFindings& findings) {
    Registration(system, subject, findings).run();
}

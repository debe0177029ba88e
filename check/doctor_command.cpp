// The doctor's words and tab-separated lines, grouped by what they are
// about, and the verdict.
#include "check/doctor_command.h"

#include "check/doctor.h"
#include "check/tool_setup.h"

namespace {

const Text okLabel{"ok", "ok"};
const Text problemLabel{"問題", "problem"};
const Text noteLabel{"注意", "note"};
const Text reach{"リンクは Tavrin に届きます ({1})", "links reach Tavrin ({1})"};
const Text noReach{"{1}、{2}: 上の問題を直してください", "{1}, {2}: mend the problems above"};
const Text oneProblem{"問題 {1} 件", "{1} problem"};
const Text problemsCount{"問題 {1} 件", "{1} problems"};
const Text oneNote{"注意 {1} 件", "{1} note"};
const Text notesCount{"注意 {1} 件", "{1} notes"};
const Text noSystem{"この環境では調べられません", "nothing can be checked here"};

const struct {
    const char* area;
    Text heading;
} areas[] = {
    {"tavrin", {"プログラム:", "program:"}},
    {"registration", {"登録 (register.cmd):", "registration (register.cmd):"}},
    {"choice", {"リンクを開くプログラム (既定のアプリ):", "the program that opens links (default apps):"}},
    {"settings", {"設定ファイル:", "settings file:"}},
    {"library", {"ライブラリ:", "libraries:"}},
    {"temp", {"一時フォルダー:", "temporary folder:"}},
};

const char* healthWord(Health h) { return h == Health::ok ? "ok" : h == Health::problem ? "problem" : "note"; }

}  // namespace

void DoctorFindings::add(Health health, std::string area, std::string item, const Text& text,
                         std::initializer_list<std::string_view> args, std::vector<std::string> fields) {
    all.push_back({health, std::move(area), std::move(item), say(language, text, args), std::move(fields)});
}

int DoctorFindings::count(Health health) const {
    int n = 0;
    for (const DoctorFinding& f : all) n += f.health == health;
    return n;
}

int runDoctorCommand(const CheckOptions& options, const CheckEnvironment& environment, CheckOutput& output) {
    const Language language = options.language;
    if (!environment.system) {
        output.err += say(language, noSystem) + "\n";
        return checkUsage;
    }
    SystemView& system = *environment.system;
    // The Tavrin.exe in question is the one beside the tool, or, with
    // --ini, the one beside that settings file (as for every command).
    DoctorSubject subject;
    if (options.iniGiven) {
        SettingsFile file;
        std::string error;
        readSettingsFile(options, environment, file, error);
        subject.folderCp932 = file.folder;
        subject.folder = system.systemPath(file.folder);
    } else {
        subject.folder = system.ownFolder();
        system.tavrinPath(subject.folder, subject.folderCp932);
    }
    subject.exe = joinPath(system, subject.folder, "Tavrin.exe");

    DoctorFindings findings(language);
    checkRegistration(system, subject, findings);
    checkFiles(system, subject, options, environment, findings);
    const int problems = findings.count(Health::problem), notes = findings.count(Health::note);
    if (options.tsv) {
        for (const DoctorFinding& f : findings.all) {
            output.out += "@" + f.area + "\t" + tsvField(f.item) + "\t" + healthWord(f.health);
            for (const std::string& s : f.fields) output.out += "\t" + tsvField(s);
            output.out += "\n";
        }
        output.out += "@result\t" + std::to_string(problems) + "\t" + std::to_string(notes) + "\n";
    } else {
        for (const auto& area : areas) {
            bool headed = false;
            for (const DoctorFinding& f : findings.all) {
                if (f.area != area.area) continue;
                if (!headed) output.out += say(language, area.heading) + "\n";
                headed = true;
                const Text& label = f.health == Health::ok ? okLabel : f.health == Health::problem ? problemLabel : noteLabel;
                output.out += "  " + say(language, label) + ": " + f.text + "\n";
            }
        }
        const std::string noteText = counted(language, notes, oneNote, notesCount);
        output.out += problems == 0
                          ? say(language, reach, {noteText})
                          : say(language, noReach, {counted(language, problems, oneProblem, problemsCount), noteText});
        output.out += "\n";
    }
    return problems == 0 ? checkOk : checkFindings;
}

// What Tavrin needs once a link reaches it: a settings file it can read
// (and what lint says of it), the converter and bridge libraries beside
// it, and a temporary folder it can write into.
#include "check/cp932_text.h"
#include "check/doctor.h"
#include "check/lint.h"
#include "check/tool_setup.h"
#include "platform/platform.h"

namespace {

const Text settingsClean{"{1}: 問題も注意もありません", "{1}: no problem, no note"};
const Text settingsNotes{"{1}: 問題はありません。{2} (TavrinCheck.exe lint で一覧)",
                         "{1}: no problem; {2} (TavrinCheck.exe lint lists them)"};
const Text settingsProblems{"{1}: {2}、{3}。Tavrin はその行を読み飛ばします (TavrinCheck.exe lint で一覧)",
                            "{1}: {2}, {3}; Tavrin passes over those lines (TavrinCheck.exe lint lists them)"};
const Text oneProblem{"問題 {1} 件", "{1} problem"};
const Text problems{"問題 {1} 件", "{1} problems"};
const Text oneNote{"注意 {1} 件", "{1} note"};
const Text notes{"注意 {1} 件", "{1} notes"};
const Text libraryHere{"{1}: あります", "{1}: present"};
const Text libraryUnloadable{"{1}: ありますが読み込めません (別の版のものではありませんか)。Tavrin はないものとして動きます",
                             "{1}: present, but it cannot be loaded (one of another build?); Tavrin works as without it"};
const Text converterMissing{"{1}: ありません。UTF-8、EUC-JP、JIS のページは変換せずに読みます",
                            "{1}: missing; pages in UTF-8, EUC-JP or JIS are read without conversion"};
const Text bridgeMissing{"{1}: ありません。ブラウザーのページを読むこと (/#d) と %S はブラウザーに頼まずに進みます",
                         "{1}: missing; asking the browser for its page (/#d) and %S go on without the browser"};
const Text tempWritable{"{1}: 書き込めます", "{1}: writable"};
const Text tempCreatable{"{1}: まだありません。Tavrin が最初の起動で作ります", "{1}: not there yet; Tavrin makes it when it starts"};
const Text tempIsFile{"{1} はフォルダーではなくファイルです。Tavrin はダウンロードしたページをそこに置けません",
                      "{1} is a file, not a folder: Tavrin cannot save downloaded pages there"};
const Text tempNotWritable{"{1} に書き込めません。Tavrin はダウンロードしたページをそこに置けません",
                           "{1} cannot be written into: Tavrin cannot save downloaded pages there"};

void checkSettings(const CheckOptions& options, const CheckEnvironment& environment, DoctorFindings& f) {
    SettingsFile file;
    std::string error;
    if (!readSettingsFile(options, environment, file, error)) {
        f.add(Health::problem, "settings", "Tavrin.ini", Text{"{1}", "{1}"}, {error}, {"unreadable"});
        return;
    }
    const LintResult lint = lintSettingsFile(file, environment);
    const std::string path = printable(file.path);
    const std::vector<std::string> fields = {std::to_string(lint.problems), std::to_string(lint.notes), path};
    const std::string problemCount = counted(f.language, lint.problems, oneProblem, problems);
    const std::string noteCount = counted(f.language, lint.notes, oneNote, notes);
    if (lint.problems > 0)
        f.add(Health::problem, "settings", path, settingsProblems, {path, problemCount, noteCount}, fields);
    else if (lint.notes > 0)
        f.add(Health::note, "settings", path, settingsNotes, {path, noteCount}, fields);
    else
        f.add(Health::ok, "settings", path, settingsClean, {path}, fields);
}

void checkLibraries(SystemView& system, const DoctorSubject& subject, const CheckEnvironment& environment,
                    DoctorFindings& f) {
    const struct {
        const char* name;
        bool converter;
    } libraries[] = {{"nkf32.dll", true}, {"jconv.dll", true}, {"tvDDE.dll", false}};
    bool converter = false;
    for (const auto& library : libraries) {
        const std::string path = joinPath(system, subject.folder, library.name);
        if (!system.isFile(path)) continue;
        // The Windows build loads it as Tavrin does (the same build of
        // the same architecture); natively there is nothing to load.
        bool loads = true;
        if (environment.windows) {
            platform::Platform& os = toolPlatform(environment);
            const std::string tavrinName = subject.folderCp932 + library.name;
            loads = library.converter ? os.loadConverterLibrary(tavrinName) != nullptr
                                      : os.loadBridgeLibrary(tavrinName) != nullptr;
        }
        converter = converter || (library.converter && loads);
        if (loads) f.add(Health::ok, "library", library.name, libraryHere, {library.name}, {"present"});
        else f.add(Health::problem, "library", library.name, libraryUnloadable, {library.name}, {"unloadable"});
    }
    if (!converter) f.add(Health::note, "library", "nkf32.dll", converterMissing, {"nkf32.dll"}, {"missing"});
    if (!system.isFile(joinPath(system, subject.folder, "tvDDE.dll")))
        f.add(Health::note, "library", "tvDDE.dll", bridgeMissing, {"tvDDE.dll"}, {"missing"});
}

void checkTemp(SystemView& system, const DoctorSubject& subject, DoctorFindings& f) {
    const std::string temp = joinPath(system, subject.folder, "temp");
    const std::string shown = shownText(temp);
    if (system.isDirectory(temp)) {
        if (system.canWriteIn(temp)) f.add(Health::ok, "temp", shown, tempWritable, {shown}, {"writable"});
        else f.add(Health::problem, "temp", shown, tempNotWritable, {shown}, {"not-writable"});
    } else if (system.isFile(temp)) {
        f.add(Health::problem, "temp", shown, tempIsFile, {shown}, {"file"});
    } else if (system.canWriteIn(subject.folder)) {
        f.add(Health::ok, "temp", shown, tempCreatable, {shown}, {"creatable"});
    } else {
        f.add(Health::problem, "temp", shown, tempNotWritable, {shownText(subject.folder)}, {"not-writable"});
    }
}

}  // namespace

void checkFiles(SystemView& system, const DoctorSubject& subject, const CheckOptions& options,
                const CheckEnvironment& environment, DoctorFindings& findings) {
    checkSettings(options, environment, findings);
    checkLibraries(system, subject, environment, findings);
    checkTemp(system, subject, findings);
}

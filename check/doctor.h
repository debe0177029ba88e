// The doctor's findings: whether the links other programs open reach this
// Tavrin (its registration, the user's choice of program for each kind of
// link) and whether Tavrin can work with them when they do (its settings
// file, the libraries beside it, its temporary folder). Each finding says
// what to do about it.
#pragma once
#include <string>
#include <vector>

#include "check/check.h"
#include "check/messages.h"
#include "check/options.h"
#include "check/system_view.h"

enum class Health { ok, problem, note };

struct DoctorFinding {
    Health health = Health::ok;
    std::string area;  // the tab-separated line's tag: "registration", "choice", ...
    std::string item;  // what it is about: a key, a scheme, a file
    std::string text;  // the sentence, code page 932
    std::vector<std::string> fields;  // the tab-separated line's facts
};

// Where the doctor looks: the Tavrin.exe it is about, as the system and as
// Tavrin name it.
struct DoctorSubject {
    std::string folder;       // UTF-8, with a separator
    std::string exe;          // UTF-8
    std::string folderCp932;  // with a separator
};

class DoctorFindings {
public:
    explicit DoctorFindings(Language language) : language(language) {}
    const Language language;
    std::vector<DoctorFinding> all;

    void add(Health health, std::string area, std::string item, const Text& text,
             std::initializer_list<std::string_view> args = {}, std::vector<std::string> fields = {});
    int count(Health health) const;
};

// The registration register.cmd writes and the user's choices.
void checkRegistration(SystemView& system, const DoctorSubject& subject, DoctorFindings& findings);
// The user's choices for http and https, and for mailto and .url files
// where Tavrin is registered for them.
void checkChoices(SystemView& system, const DoctorSubject& subject, bool mailto, bool shortcut,
                  DoctorFindings& findings);
// The settings file (--ini FILE or Tavrin.ini beside the tool), its lint
// findings, the libraries and the temporary folder.
void checkFiles(SystemView& system, const DoctorSubject& subject, const CheckOptions& options,
                const CheckEnvironment& environment, DoctorFindings& findings);

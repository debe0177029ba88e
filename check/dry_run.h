// The recorders of one dry run of Tavrin's start, and the writer of its
// report in words.
#pragma once
#include <initializer_list>
#include <string>
#include <string_view>

#include "check/check.h"
#include "check/dry_platform.h"
#include "check/effects.h"
#include "check/messages.h"
#include "check/recording_ports.h"
#include "check/tool_setup.h"

struct DryRun {
    EffectLog log;
    DryPlatform os;
    RecordingUi ui;
    RecordingBrowser browser;
    DryRun(const CheckEnvironment& environment, const std::string& folder)
        : os(toolPlatform(environment), log, environment.converters), ui(log, false), browser(log) {
        os.setProgramFolder(folder);
    }
};

// Lines of the report in words, in the language asked for; every text is
// made printable.
class Report {
public:
    Report(Language language, std::string& out) : language_(language), out_(out) {}
    void line(const Text& text, std::initializer_list<std::string_view> args = {}) {
        out_ += printable(::say(language_, text, args)) + "\n";
    }
    void raw(const std::string& s) { out_ += printable(s) + "\n"; }
    std::string say(const Text& text, std::initializer_list<std::string_view> args = {}) const {
        return ::say(language_, text, args);
    }
    Language language() const { return language_; }

private:
    Language language_;
    std::string& out_;
};

// The lint passes' shared context.
#include "check/lint_context.h"

#include <algorithm>
#include <cstring>

#include "common/text.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "settings/find_program.h"
#include "settings/settings_line.h"

namespace {
constexpr std::size_t checkpointShift = 16;
// From this many lines with control characters on, a file is taken for
// something other than text, and only the first findings are kept.
constexpr int notTextLines = 3;
constexpr std::size_t findingsOfNoText = 5;
}

std::string_view SettingsLine::body() const { return text::skipLeadingSpaces(text); }

bool LineCursor::next(SettingsLine& line) {
    if (offset_ >= text_.size()) return false;
    line.offset = offset_;
    line.text = readSettingsLine(text_, offset_, line.consumed);
    line.number = number_++;
    offset_ += line.consumed;
    return true;
}

bool isCommentText(std::string_view body) { return !body.empty() && body[0] == ';'; }

LintContext::LintContext(std::string_view t) : text(t), searched(t.substr(0, t.find('\0'))) {
    // Line numbers by checkpoint, so that a finding anywhere in a large file
    // costs at most one checkpoint's count.
    int line = 1;
    for (std::size_t at = 0; at < text.size() || at == 0; at += std::size_t{1} << checkpointShift) {
        linesAtCheckpoint_.push_back(line);
        const std::size_t end = std::min(text.size(), at + (std::size_t{1} << checkpointShift));
        line += static_cast<int>(std::count(text.begin() + static_cast<long>(at),
                                            text.begin() + static_cast<long>(end), '\n'));
        if (end >= text.size()) break;
    }
}

int LintContext::lineOf(std::size_t offset) const {
    offset = std::min(offset, text.size());
    const std::size_t checkpoint = std::min(offset >> checkpointShift, linesAtCheckpoint_.size() - 1);
    const std::size_t from = checkpoint << checkpointShift;
    return linesAtCheckpoint_[checkpoint] +
           static_cast<int>(std::count(text.begin() + static_cast<long>(from),
                                       text.begin() + static_cast<long>(offset), '\n'));
}

void LintContext::add(int line, LintRule rule, std::vector<std::string> args) {
    (severityOf(rule) == Severity::problem ? problems_ : notes_) += 1;
    if (findings_.size() < maxStoredFindings) findings_.push_back(Finding{line, rule, std::move(args)});
}

LintResult LintContext::finish() {
    std::stable_sort(findings_.begin(), findings_.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    LintResult result;
    result.findings = std::move(findings_);
    result.problems = problems_;
    result.notes = notes_;
    if (controlLines < notTextLines) return result;
    const std::size_t total = static_cast<std::size_t>(problems_ + notes_);
    if (result.findings.size() > findingsOfNoText) result.findings.resize(findingsOfNoText);
    result.problems = result.notes = 0;
    for (const Finding& f : result.findings) (severityOf(f.rule) == Severity::problem ? result.problems : result.notes) += 1;
    result.findings.push_back(Finding{0, LintRule::notText,
                                      {std::to_string(controlLines), std::to_string(result.findings.size()),
                                       std::to_string(total - result.findings.size())}});
    ++result.problems;
    return result;
}

const HeaderLine* LintContext::nextHeader(std::size_t offset) const {
    auto it = std::lower_bound(headers.begin(), headers.end(), offset,
                               [](const HeaderLine& h, std::size_t o) { return h.lineStart < o; });
    return it == headers.end() ? nullptr : &*it;
}

const HeaderLine* LintContext::headerStartingAt(std::size_t lineStart) const {
    const HeaderLine* h = nextHeader(lineStart);
    return h && h->lineStart == lineStart ? h : nullptr;
}

LintContext::Lookup LintContext::lookUpProgram(const std::string& name) {
    auto it = lookups_.find(name);
    if (it != lookups_.end()) return it->second;
    const ProgramLookup found = findProgram(name, 1);
    Lookup lookup;
    lookup.found = found.programFound;
    lookup.folder = found.programFound && platform::os().isDirectory(found.path);
    // A line that names no program costs several searches: keep the memory
    // bounded for files that name a new one on every line.
    if (lookups_.size() < 100000) lookups_.emplace(name, lookup);
    return lookup;
}

void lintSeparatorLookalike(LintContext& c, int line, const std::string& program) {
    if (text::findByte(program, '|') != text::npos)
        c.add(line, LintRule::separatorLookalike, {settings.separator, program});
}

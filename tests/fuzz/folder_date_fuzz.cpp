// The folder, date and user-parameter placeholders ("%Windows%", "%4y%",
// "%ins_Url%", "%name%" …). The input's lines up to its first empty line
// are the user parameters, read as the parameters block of the settings
// ("name | value"); the rest is the text expanded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/capacity.h"
#include "common/text.h"
#include "settings/settings.h"
#include "settings/user_parameters.h"
#include "template/folder_date.h"
#include "tests/fuzz/support/fuzz_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = inputText(data, size);
    const std::size_t blank = input.find("\n\n");
    const std::string_view parameters = blank == std::string_view::npos ? std::string_view() : input.substr(0, blank);
    const std::string_view templateText = blank == std::string_view::npos ? input : input.substr(blank + 2);

    resetCore();
    settings.parametersOn = 1;
    const std::string block = "@param\n" + std::string(parameters);
    readUserParameters(block, 0);
    checkSettings();

    const std::string expanded = expandFolderAndDate(templateText);
    FUZZ_CHECK(expanded.size() < cap::expansion, "the result fits its buffer");
    FUZZ_CHECK(lastExpansion.size() < cap::lastExpansion, "lastExpansion fits its buffer");
    // The result is the head of what lastExpansion keeps.
    FUZZ_CHECK(lastExpansion.compare(0, expanded.size(), expanded) == 0, "result and lastExpansion agree");
    // A parameter's value is never read again: it comes back as defined.
    for (int i = 0; i < userParameters.count; ++i) {
        const UserParameter& p = userParameters.rows[static_cast<std::size_t>(i)];
        if (p.name.empty()) continue;
        bool shadowed = false;  // an earlier name, or a table name, that starts the same
        for (int j = 0; j < i; ++j)
            shadowed = shadowed || text::startsWithNoCase(p.name, userParameters.rows[static_cast<std::size_t>(j)].name);
        if (shadowed || p.name[0] == '%') continue;
        // A line end after the name: a name may end in a lone lead byte,
        // which the end of a text would cut off.
        FUZZ_CHECK(expandFolderAndDate(p.name + "\n") ==
                       text::cut(text::cut(p.value, cap::path) + "\n", cap::expansion),
                   "a parameter's value goes in unchanged");
    }
    // Without parameters, text with no '%' comes out as it went in.
    if (userParameters.count == 0 && templateText.find('%') == std::string_view::npos)
        FUZZ_CHECK(expanded == text::cut(text::cut(templateText, cap::workText), cap::expansion),
                   "text without placeholders stays");
    return 0;
}

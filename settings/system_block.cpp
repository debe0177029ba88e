// The "[system]" block. Most lines are options; a few options give meaning
// to the lines right after them, which is the small state kept here.
#include "settings/system_block.h"

#include "common/capacity.h"
#include "common/text.h"
#include "settings/filter_groups.h"
#include "settings/settings.h"
#include "settings/settings_line.h"
#include "settings/settings_text.h"
#include "settings/system_options.h"
#include "settings/user_parameters.h"

void readSystemBlock(std::string_view text, std::size_t offset) {
    OptionFollowUp state = OptionFollowUp::none;
    // Where the first "@param" of the whole file stands, searched once: a
    // search for every "@param" line made a file of such lines take time
    // growing with the square of its size (minutes for a few megabytes).
    std::size_t firstParam = text::npos;
    bool firstParamSought = false;
    for (;;) {
        std::size_t consumed = 0;
        const std::string raw = readSettingsLine(text, offset, consumed);
        if (offset + consumed > text.size()) break;
        const std::string_view line = text::skipLeadingSpaces(raw);
        std::size_t advance = consumed;

        if (!line.empty() && line[0] == ';') {
            // Comments keep the state: they may stand between "@loader=" or
            // "@filter" and their ">" lines.
        } else if (text::startsWithNoCase(line, "%end")) {
            break;
        } else if (!line.empty() && line[0] == '>' &&
                   state == OptionFollowUp::loaderParameterLine) {
            // Kept as written: the download expands it, folders and dates
            // with the URL parts in one pass.
            text::assignCut(settings.loaderParameters, line.substr(1), cap::path);
            state = OptionFollowUp::none;
        } else if (!line.empty() && line[0] == '>' && state == OptionFollowUp::filterLines) {
            addFilterGroup(line.substr(1));
            if (filterGroups.groupCount >= static_cast<int>(filterGroups.groups.size()))
                state = OptionFollowUp::none;
        } else {
            state = applySystemOption(line);
            if (state == OptionFollowUp::parametersBlock) {
                // The pairs are those after the first "@param" of the whole
                // file; the loop goes on by as many bytes as they took. When
                // that "@param" is this very line, measure from it, so that
                // an indented line still resumes right behind its block.
                if (!firstParamSought) {
                    firstParam = findSettingsKey(text, "@param");
                    firstParamSought = true;
                }
                std::size_t first = firstParam;
                if (first == text::npos) first = offset;
                advance = readUserParameters(text, first);
                if (first >= offset && first < offset + consumed) advance += first - offset;
                state = OptionFollowUp::none;
            }
        }
        offset += advance;
    }
}

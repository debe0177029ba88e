// Caption texts of the list window.
#include "links/list_caption.h"

#include <string_view>

#include "common/app_state.h"
#include "links/list_state.h"
#include "settings/settings.h"

namespace {

// The removed bytes are all below 0x40 and so never the trail byte of a
// double-byte character.
std::string without(const std::string& s, std::string_view bytes) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (bytes.find(c) == std::string_view::npos) out += c;
    return out;
}

}  // namespace

std::string programLabel() {
    const int selected = listPrograms.selectedListProgram;
    if (selected < 0 || selected >= listPrograms.listProgramCount) return "関連付け";
    return without(listPrograms.rows[selected].caption, "&");
}

std::string listCaption() {
    return "[ " + programPaths.programName + " ] : " + programLabel() + " / " +
           without(linkSource.listTitle, "\t\r\n");
}

std::string programChoiceCaption() {
    return "[ " + programPaths.programName + " ] ： " + programLabel() + " / " + linkSource.listTitle;
}

// The portable part of a second copy: the names both copies must agree on,
// and the choice of what is handed to the running copy.
#include "app/handoff.h"

#include "app/recognize.h"
#include "app/switches.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/text.h"
#include "common/url_list.h"

std::string instanceMutexNameFor(std::string_view programPath) {
    std::string_view path = programPath.substr(0, programPath.find('\0'));
    std::string name = std::string(path) + "_Mark";
    // Byte by byte, so the trail byte 0x5C of a double-byte character turns
    // into '-' as well. Every copy of the program derives the name the same
    // way, so they still agree; changing this would part new copies from old.
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (name[i] == '/' || name[i] == '\\') name[i] = '-';
    }
    return name;
}

unsigned transferCodeFor(int ctrl, int clipboard, int linkMode) {
    return (ctrl ? 100u : 0u) + (clipboard ? 10u : 0u) + static_cast<unsigned>(linkMode);
}

HandOff prepareHandOff(platform::WindowHandle window, std::string_view commandLine) {
    HandOff handOff;
    std::string_view line = commandLine.substr(0, commandLine.find('\0'));
    if (line.empty()) return handOff;

    applySwitches(line, switchesBaseOnly);
    int clipboard = 0;
    int r = recognizeInput(line, 0, 1);
    // The clipboard stands in only for input the command line lacks, as at a
    // first copy's start.
    if (r == recognizedUrls && urlList.urlCount == 0 && hasSwitch(line, "/#c")) {
        if (readClipboardInput(window) == -1) return handOff;
        clipboard = 1;
    } else {
        text::assignCut(runState.transferBuffer, line, cap::transfer);
    }
    handOff.payload = runState.transferBuffer;
    handOff.transferCode = transferCodeFor(runState.ctrlFlag == 1, clipboard, linkSource.linkMode);
    handOff.send = true;
    return handOff;
}

// The portable part of a second copy: the names both copies must agree on,
// and the choice of what is handed to the running copy.
#include "app/handoff.h"

#include "app/input_cut.h"
#include "app/recognize.h"
#include "app/switches.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
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

bool decodeTransferCode(unsigned code, TransferCode& out) {
    const unsigned ctrl = code / 100, clipboard = (code / 10) % 10, linkMode = code % 10;
    if (ctrl > 1 || clipboard > 1 || linkMode > 2) return false;
    out.ctrl = static_cast<int>(ctrl);
    out.clipboard = static_cast<int>(clipboard);
    out.linkMode = static_cast<int>(linkMode);
    return true;
}

namespace {
constexpr std::string_view sourceField = "source=";
}

std::string handOffRecordData(const HandOff& handOff) {
    std::string data = handOff.payload;
    data += '\0';
    const SourceProgram& source = handOff.source;
    if (source.known()) {
        data += sourceField;
        data += source.path.empty() ? source.name : source.path;
        data += '\0';
    }
    return data;
}

HandOffRecord readHandOffRecord(std::string_view data) {
    HandOffRecord record;
    const std::size_t end = data.find('\0');
    record.payload = data.substr(0, end);
    if (end == std::string_view::npos) return record;
    std::string_view rest = data.substr(end + 1);
    while (!rest.empty()) {
        const std::size_t zero = rest.find('\0');
        // A field is ended by its zero: a piece without one is cut off.
        if (zero == std::string_view::npos) break;
        const std::string_view field = rest.substr(0, zero);
        rest.remove_prefix(zero + 1);
        if (field.substr(0, sourceField.size()) == sourceField)
            record.source = sourceProgramFrom(field.substr(sourceField.size()));
    }
    return record;
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
    // The running copy recognises the payload again and reports its own
    // findings; this copy tells only of what it could not send.
    if (r == recognizedUrls && urlList.urlCount == 0 && hasSwitch(line, "/#c")) {
        const int read = readClipboardInput(window);
        keepOverlongNote(overlong::handOff);
        if (read == -1) return handOff;
        clipboard = 1;
    } else {
        // A command line longer than the payload holds is cut between two
        // tokens, so the running copy never opens half a URL.
        runState.transferBuffer = std::string(wholeTokens(line, overlong::handOff, 0));
        clearOverlongUrls();
        const std::string_view dropped =
            text::skipLeadingSpaces(line.substr(runState.transferBuffer.size()));
        if (!dropped.empty()) noteOverlongUrl(dropped, overlong::handOff);
    }
    if (runState.transferBuffer.empty()) return handOff;
    handOff.payload = runState.transferBuffer;
    handOff.source = startSource();
    handOff.transferCode = transferCodeFor(runState.ctrlFlag == 1, clipboard, linkSource.linkMode);
    handOff.send = true;
    return handOff;
}

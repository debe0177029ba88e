// The hand-off between copies. A second copy takes the base switches of
// its command line, recognises it, chooses the payload (the command line
// cut between words, or the clipboard with "/#c") and its transfer code;
// the running copy, showing its list window, takes the payload with the
// modes the code carries and routes it (URLs to the list, a page or list
// file to link extraction, "/#b" to a download). The input is the second
// copy's command line; the same bytes are its clipboard, every local page
// or list file a token names, and every downloaded page. The running copy
// also receives the input itself under other codes, as any program may
// send it, and reads it as a whole record (payload, zero, fields).
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/handoff.h"
#include "app/routing.h"
#include "common/app_state.h"
#include "common/capacity.h"
#include "common/overlong_url.h"
#include "tests/fuzz/support/fuzz_state.h"

namespace {

FuzzPlatform& prepare(const std::string& content) {
    FuzzPlatform& os = resetCore();
    os.addFilesEnding(".html", content);
    os.addFilesEnding(".txt", content);
    os.addFilesEnding(".url", content);
    os.addFoldersEnding("\\");
    os.clipboard = content;
    os.downloadBody = content;
    return os;
}

void receive(const std::string& content, unsigned code, std::string_view payload) {
    prepare(content);
    runState.listWindowActive = 1;
    receiveHandOff(nullptr, code, payload);
    checkUrlList();
    checkSettings();
    checkUrlParts();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(inputText(data, size));

    prepare(content);
    const HandOff handOff = prepareHandOff(nullptr, content);
    FUZZ_CHECK(handOff.payload.size() <= overlong::handOff, "the payload fits");
    FUZZ_CHECK(!handOff.send || !handOff.payload.empty(), "only a payload is sent");
    FUZZ_CHECK(handOff.transferCode % 10 <= 2 && (handOff.transferCode / 10) % 10 <= 1 &&
                   handOff.transferCode / 100 <= 1,
               "transfer code");
    checkUrlList();
    if (handOff.send) receive(content, handOff.transferCode, handOff.payload);

    receive(content, 12, content);   // clipboard text, line mode, no base
    receive(content, 101, content);  // Ctrl held, with a base URL

    // The record as the second copy sends it reads back whole; any bytes
    // read as a record give a payload within them and a source that fits.
    if (handOff.send) {
        HandOff sent = handOff;
        // A name holds no zero: the record's fields end at one.
        sent.source = sourceProgramFrom(std::string_view(content).substr(0, content.find('\0')).substr(0, cap::path));
        const std::string data = handOffRecordData(sent);
        const HandOffRecord back = readHandOffRecord(data);
        FUZZ_CHECK(back.payload == sent.payload, "the payload reads back");
        FUZZ_CHECK(back.source.name == sent.source.name, "the source reads back");
    }
    const HandOffRecord record = readHandOffRecord(content);
    FUZZ_CHECK(record.payload.size() <= content.size(), "payload within the data");
    checkHeld(record.source.name, cap::path, "source name");
    checkHeld(record.source.path, cap::url, "source path");
    prepare(content);
    runState.listWindowActive = 1;
    receiveHandOff(nullptr, 0, record.payload, record.source);
    checkUrlList();
    return 0;
}

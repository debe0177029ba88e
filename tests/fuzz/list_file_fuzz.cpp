// Reading a list file: the file through the code converter, lone CRs made
// line ends, then recognition in line mode without file checks. The input
// is the file; it is read once as it is and once through the converter
// library.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/link_reading.h"
#include "common/app_state.h"
#include "common/url_list.h"
#include "links/list_file.h"
#include "settings/settings.h"
#include "tests/fuzz/support/fuzz_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(inputText(data, size));
    for (int converter = 0; converter <= 1; ++converter) {
        FuzzPlatform& os = resetCore();
        os.addFile("C:\\Lists\\links.txt", file);
        os.converterPresent = converter == 1;
        linkSource.kanjiConversion = 1;
        linkSource.linkMode = 0;
        FUZZ_CHECK(readLinkSource(nullptr, "C:\\Lists\\links.txt") == 1, "the list is read");
        // A text that is code page 932 already goes to no converter.
        FUZZ_CHECK(os.effects.conversions <= converter, "converted at most once, and with the library only");
        checkUrlList();
        checkUrlParts();
        FUZZ_CHECK(os.effects.starts == 0 && os.effects.messages == 0, "reading shows and starts nothing");
        checkListRoundTrip();

        // A row written back is one line.
        for (int i = 0; i < urlList.urlCount; ++i) {
            const UrlEntry& e = urlList.entries[static_cast<std::size_t>(i)];
            const std::string line = formatListLine(e.url, e.title, settings.titleSeparator);
            FUZZ_CHECK(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0, "CR LF");
        }
    }
    return 0;
}

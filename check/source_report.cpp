// Telling the source program a dry run assumed.
#include "check/source_report.h"

#include "common/app_state.h"
#include "settings/source_blocks.h"

namespace {

const Text sourcePath{"リンク元のプログラム: {1} ({2}) (--from の指定)",
                      "the program the link came from: {1} ({2}) (given with --from)"};
const Text sourceName{"リンク元のプログラム: {1} (--from の指定。名前だけなので、\\ を含むパターンには当たりません)",
                      "the program the link came from: {1} (given with --from; a name alone, so no pattern holding a \\ names it)"};
const Text sourceNone{"リンク元のプログラム: なし ([from:] のブロックは選ばれません。--from NAME か --from PATH で指定できます)",
                      "the program the link came from: none (no [from:] block is chosen; name one with --from NAME or --from PATH)"};

}  // namespace

bool sourceWorthTelling(bool given, const std::string& settingsText) {
    return given || !sourceHeaders(settingsText).empty();
}

void reportSource(Report& r, bool given) {
    const SourceProgram& s = startSource();
    if (!given || !s.known()) r.line(sourceNone);
    else if (s.path.empty()) r.line(sourceName, {s.name});
    else r.line(sourcePath, {s.name, s.path});
}

void writeSourceTsv(std::string& out, bool given) {
    const SourceProgram& s = startSource();
    out += "@source\t" + (given ? s.name : std::string()) + "\t" + (given ? s.path : std::string()) + "\n";
}

// List-file lines. Reading a list cuts its lines into blank-separated
// tokens unless they are quoted, so a line that holds a blank (in its URL,
// the separator or the title) is quoted whole; the reader takes the title
// from inside the quotes.
#include "links/list_file.h"

#include "common/capacity.h"
#include "common/text.h"

namespace {
constexpr std::size_t rowUrlCapacity = 780;  // what a row's URL is read with
bool hasBlank(std::string_view s) { return s.find(' ') != std::string_view::npos; }
}  // namespace

std::string formatListLine(std::string_view url, std::string_view title,
                           std::string_view separator) {
    const std::string rowUrl = text::cut(url, rowUrlCapacity);
    const std::string rowTitle = text::cut(title, cap::path);
    std::string line = rowUrl;
    if (!rowTitle.empty()) {
        line += separator;
        line += rowTitle;
    }
    if (hasBlank(line)) line = "\"" + line + "\"";
    return line + "\r\n";
}

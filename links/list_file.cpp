// List-file lines. Reading a list cuts its lines into tokens at blanks and
// tabs unless they are quoted, so a line that holds either (in its URL,
// the separator or the title) is quoted whole; the reader takes the title
// from inside the quotes.
#include "links/list_file.h"

#include "common/capacity.h"
#include "common/text.h"

namespace {
constexpr std::size_t rowUrlCapacity = 780;  // what a row's URL is read with
// A tab ends a token on reading as a blank does.
bool needsQuotes(std::string_view s) { return s.find_first_of(" \t") != std::string_view::npos; }

// A double quote in a title would end the quoted line, and a '>' the URL
// text the title is read with, losing the rest of the title on reading:
// they are written as the full-width "”" and "＞" instead.
std::string writableTitle(std::string_view title) {
    std::string out;
    for (std::size_t i = 0; i < title.size();) {
        const std::size_t n = text::charLength(title, i);
        if (n == 1 && title[i] == '"') out += "\x81\x68";
        else if (n == 1 && title[i] == '>') out += "\x81\x84";
        else out.append(title.substr(i, n));
        i += n;
    }
    return out;
}
}  // namespace

std::string formatListLine(std::string_view url, std::string_view title,
                           std::string_view separator) {
    const std::string rowUrl = text::cut(url, rowUrlCapacity);
    const std::string rowTitle = text::cut(writableTitle(text::cut(title, cap::path)), cap::path);
    std::string line = rowUrl;
    if (!rowTitle.empty()) {
        line += separator;
        line += rowTitle;
    }
    if (needsQuotes(line)) line = "\"" + line + "\"";
    return line + "\r\n";
}

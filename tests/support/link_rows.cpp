// Rows of the URL list as text.
#include "tests/support/link_rows.h"

std::string listRow(const UrlEntry& entry) {
    const bool image = entry.kind == Image;
    return std::string(image ? "image" : "anchor") + "\t" + entry.url + "\t" +
           (image ? "* " : "") + entry.title;
}

std::vector<std::string> listRows() {
    std::vector<std::string> rows;
    for (int i = 0; i < urlList.urlCount; ++i)
        rows.push_back(listRow(urlList.entries[static_cast<std::size_t>(i)]));
    return rows;
}

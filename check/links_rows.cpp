// Appending the rows of "links". A page gives up to 500 rows of three
// fields; every field goes straight into the output, with no text made for
// it on the way.
#include "check/links_rows.h"

#include <cstdio>

#include "check/messages.h"
#include "common/text.h"

namespace {

std::string_view kindOf(const UrlEntry& entry) { return entry.kind == Image ? "image" : "anchor"; }
// What the title column shows before an image's alt text.
std::string_view titleMark(const UrlEntry& entry) { return entry.kind == Image ? "* " : ""; }

void appendField(std::string& out, std::string_view s) {
    const std::size_t at = out.size();
    out.append(s);
    for (std::size_t i = at; i < out.size(); ++i)
        if (out[i] == '\t' || out[i] == '\r' || out[i] == '\n') out[i] = ' ';
}

// Room for the rows' own bytes and what goes around them.
std::size_t rowBytes(const std::vector<UrlEntry>& rows, std::size_t around) {
    std::size_t n = 0;
    for (const UrlEntry& e : rows) n += e.url.size() + e.title.size() + around;
    return n;
}

// The characters of a JSON string, without its quotes.
void appendJsonCharacters(std::string& out, std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t step = text::charLength(text, i);
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (step == 2) {
            out.append(text.substr(i, 2));
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        i += step;
    }
}

}  // namespace

void appendJson(std::string& out, std::string_view text) {
    out += '"';
    appendJsonCharacters(out, text);
    out += '"';
}

std::string jsonString(std::string_view text) {
    std::string out;
    appendJson(out, text);
    return out;
}

void appendTsvRows(std::string& out, const std::vector<UrlEntry>& rows) {
    out.reserve(out.size() + rowBytes(rows, 12));
    for (const UrlEntry& e : rows) {
        out.append(kindOf(e));
        out += '\t';
        appendField(out, e.url);
        out += '\t';
        out.append(titleMark(e));
        appendField(out, e.title);
        out += '\n';
    }
}

void appendJsonRows(std::string& out, const std::vector<UrlEntry>& rows) {
    out.reserve(out.size() + rowBytes(rows, 48));
    out += '[';
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const UrlEntry& e = rows[i];
        out.append(i ? ",\n  " : "\n  ");
        out.append("{\"kind\": \"");
        out.append(kindOf(e));
        out.append("\", \"url\": ");
        appendJson(out, e.url);
        out.append(", \"title\": ");
        out += '"';
        appendJsonCharacters(out, titleMark(e));
        appendJsonCharacters(out, e.title);
        out.append("\"}");
    }
    out.append(rows.empty() ? "]" : "\n]");
}

void appendReadableRows(std::string& out, const std::vector<UrlEntry>& rows) {
    out.reserve(out.size() + rowBytes(rows, 20));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const UrlEntry& e = rows[i];
        const std::string number = std::to_string(i + 1);
        if (number.size() < 4) out.append(4 - number.size(), ' ');
        out.append(number);
        out += ' ';
        out.append(kindOf(e));
        out.append(e.kind == Image ? "   " : "  ");
        out.append(printable(e.url));
        out.append("  ");
        out.append(printable(std::string(titleMark(e)) + e.title));
        out += '\n';
    }
}

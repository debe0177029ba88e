// Host names label by label: code page bytes, the browsers' ASCII form, or
// escapes.
#include "links/host_text.h"

#include <vector>

#include "common/idna.h"
#include "common/punycode.h"
#include "common/unicode.h"
#include "platform/platform.h"

namespace {

struct Label {
    std::u32string_view given;
    std::string bytes;   // the code page's, when it holds the label
    bool held = true;
    bool mapped = false;  // mapped without a refused character
    std::u32string chars;
};

void appendEscaped(std::u32string_view chars, std::string& out) {
    platform::Platform& os = platform::os();
    for (char32_t c : chars) {
        if (c < 0x80) out += static_cast<char>(c);
        else if (!os.cp932Char(c, out)) unicode::appendPercentEncoded(out, c);
    }
}

// The label's ASCII form, when browsers take it.
bool asciiForm(const Label& label, std::string& out) {
    if (!label.mapped || !idna::isValidLabel(label.chars)) return false;
    bool ascii = true;
    for (char32_t c : label.chars) ascii = ascii && c < 0x80;
    if (ascii) {
        for (char32_t c : label.chars) out += static_cast<char>(c);
        return true;
    }
    std::string encoded;
    if (!punycode::encode(label.chars, encoded)) return false;
    out += "xn--";
    out += encoded;
    return true;
}

}  // namespace

bool isHostSeparator(char32_t c) { return c == '.' || c == 0x3002 || c == 0xFF0E || c == 0xFF61; }

std::string hostText(std::u32string_view host) {
    platform::Platform& os = platform::os();
    std::vector<Label> labels;
    std::vector<char32_t> separators;
    bool anyForeign = false;
    for (std::size_t start = 0, k = 0;; ++k) {
        if (k < host.size() && !isHostSeparator(host[k])) continue;
        Label label;
        label.given = host.substr(start, k - start);
        for (char32_t c : label.given) {
            if (c < 0x80) {
                label.bytes += static_cast<char>(c);
            } else if (!os.cp932Char(c, label.bytes)) {
                label.held = false;
                anyForeign = true;
                break;
            }
        }
        labels.push_back(std::move(label));
        if (k == host.size()) break;
        separators.push_back(host[k]);
        start = k + 1;
    }
    if (!anyForeign) {
        std::string out;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            out += labels[i].bytes;
            if (i < separators.size()) appendEscaped(std::u32string_view(&separators[i], 1), out);
        }
        return out;
    }
    // A right-to-left label anywhere puts every label under the bidi rule.
    bool rightToLeft = false;
    for (Label& label : labels) {
        label.mapped = idna::mapLabel(label.given, label.chars);
        rightToLeft = rightToLeft || (label.mapped && idna::isRightToLeft(label.chars));
    }
    bool bidiHolds = true;
    if (rightToLeft)
        for (const Label& label : labels) bidiHolds = bidiHolds && (!label.mapped || idna::meetsBidiRule(label.chars));
    std::string out;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const Label& label = labels[i];
        if (label.held) out += label.bytes;
        else if (!bidiHolds || !asciiForm(label, out)) appendEscaped(label.given, out);
        if (i < separators.size()) appendEscaped(std::u32string_view(&separators[i], 1), out);
    }
    return out;
}

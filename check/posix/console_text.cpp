// Conversions for the native check tool's output, and its
// built-in code converter.
#include "check/posix/console_text.h"

#include <iconv.h>

#include "common/split_path.h"
#include "common/text.h"
#include "links/nkf/nkf_convert.h"
#include "links/nkf/nkf_iconv.h"
#include "platform/posix/iconv_whole.h"

namespace {

class BuiltinNkf final : public platform::ConverterLibrary {
public:
    bool hasSetNkfOption() override { return true; }
    void setNkfOption(const char*) override {}
    bool hasNkfConvert() override { return true; }
    void nkfConvert(char* out, const char* in) override {
        nkf::convertPage(in, out, nkf::iconvUtf8ToCp932);
    }
    bool hasSetJconvOpt() override { return false; }
    void setJconvOpt(int) override {}
    bool hasJconv() override { return false; }
    void jconv(int, const char*, int, int, char*) override {}
};

}  // namespace

std::string cp932ToUtf8(const std::string& text) {
    static iconv_t toUtf8 = iconv_open("UTF-8", "CP932");
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::string piece;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const std::size_t step = text::charLength(text, i);
        if (platform::iconvWhole(toUtf8, std::string_view(text).substr(i, step), piece)) out += piece;
        else out += "\xEF\xBF\xBD";
        i += step;
    }
    return out;
}

std::unique_ptr<platform::ConverterLibrary> builtinConverter(const std::string& path) {
    const PathParts parts = splitPath(path);
    if (parts.name + parts.extension != "nkf32.dll") return nullptr;
    return std::make_unique<BuiltinNkf>();
}

// Named %Name% placeholders that do not depend on the URL: special
// folders, the program's folders, today's date and the user parameters.
#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "template/one_pass.h"

// Receives every result of expandFolderAndDate, cut to 1,040 characters.
extern std::string lastExpansion;

// Expands `text`; the result is cut to 520 characters.
std::string expandFolderAndDate(std::string_view text);

// `text` expanded when "@param" has turned the placeholders on, else as is.
std::string expandWhenParametersOn(std::string_view text);

// Recognises the folder, date and user placeholders where a template is
// being read, for expanders that take them in their own single pass. One
// object serves one expansion: the clock is read at most once (every date
// of the text is the same day) and each special folder asked for once.
class FolderDateFinder {
public:
    // True with `found` filled when one of the placeholders starts `rest`.
    // A special folder the shell cannot name is no placeholder here: its
    // text stays as written.
    bool find(std::string_view rest, onepass::Found& found);

private:
    bool hasTime_ = false;
    platform::LocalTime now_;
    enum class Folder { unknown, named, unnamed };
    std::array<Folder, 38> folders_{};
    std::array<std::string, 38> folderPaths_;
};

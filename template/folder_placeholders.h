// The fixed table of folder and date placeholders, in processing order.
#pragma once
#include <array>
#include <string_view>

enum class ComputedPlaceholder {
    specialFolder,  // named by the shell from the entry's folder code
    programFolder,
    tempFolder,
    year4,
    year2,
    month,
    month0,
    monthSpace,
    day,
    day0,
    daySpace,
};

struct FolderPlaceholder {
    std::string_view name;
    int csidl;  // shell folder code; 0 and unused for computed values
    ComputedPlaceholder kind;
};

extern const std::array<FolderPlaceholder, 38> folderPlaceholderTable;

// The folder and date placeholders. Each entry searches the text as the
// entries before it left it, so the order is part of the behaviour.
#include "template/folder_placeholders.h"

namespace {
constexpr ComputedPlaceholder folder = ComputedPlaceholder::specialFolder;
}

const std::array<FolderPlaceholder, 38> folderPlaceholderTable = {{
    {"%Windows%", 0x24, folder},
    {"%Program Files%", 0x26, folder},
    {"%System%", 0x25, folder},
    {"%My Pictures%", 0x27, folder},
    {"%My Music%", 0x0D, folder},
    {"%My Video%", 0x0E, folder},
    {"%My Documents%", 0x05, folder},
    {"%Favorites%", 0x06, folder},
    {"%Start Menu%", 0x0B, folder},
    {"%Programs%", 0x02, folder},
    {"%StartUp%", 0x07, folder},
    {"%SendTo%", 0x09, folder},
    {"%Internet Cache%", 0x20, folder},
    {"%Fonts%", 0x14, folder},
    {"%Cookies%", 0x21, folder},
    {"%History%", 0x22, folder},
    {"%Desktop%", 0x00, folder},
    {"%DesktopDirectory%", 0x10, folder},
    {"%Recent%", 0x08, folder},
    {"%Common Start Menu%", 0x16, folder},
    {"%Common Programs%", 0x17, folder},
    {"%Common StartUp%", 0x18, folder},
    {"%Common Desktop%", 0x19, folder},
    {"%Common Favorites%", 0x1F, folder},
    {"%Common My Documents%", 0x2E, folder},
    {"%Common My Pictures%", 0x36, folder},
    {"%Common My Music%", 0x35, folder},
    {"%Common My Video%", 0x37, folder},
    {"%ins_Url%", 0, ComputedPlaceholder::programFolder},
    {"%temp_Url%", 0, ComputedPlaceholder::tempFolder},
    {"%4y%", 0, ComputedPlaceholder::year4},
    {"%2y%", 0, ComputedPlaceholder::year2},
    {"%mm%", 0, ComputedPlaceholder::month},
    {"%0m%", 0, ComputedPlaceholder::month0},
    {"%-m%", 0, ComputedPlaceholder::monthSpace},
    {"%dd%", 0, ComputedPlaceholder::day},
    {"%0d%", 0, ComputedPlaceholder::day0},
    {"%-d%", 0, ComputedPlaceholder::daySpace},
}};

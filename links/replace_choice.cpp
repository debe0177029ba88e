// The choice of how a list file is written.
#include "links/replace_choice.h"

ReplaceWay chooseReplaceWay(const ReplaceTarget& target) {
    if (!target.exists) return ReplaceWay::create;
    if (!target.plainFile || target.readOnly) return ReplaceWay::refuse;
    if (target.links > 1) return ReplaceWay::rewriteInPlace;
    return ReplaceWay::replace;
}

std::string temporaryFileName(unsigned seed) {
    static const char digits[] = "0123456789abcdef";
    std::string name = "~tv";
    for (int shift = 16; shift >= 0; shift -= 4) name += digits[(seed >> shift) & 0xF];
    return name + ".tmp";
}

// The option keys of the "[system]" block and their handlers.
#pragma once
#include <cstddef>
#include <string_view>

// What the lines after an option line mean.
enum class OptionFollowUp {
    none,
    loaderParameterLine,  // "@loader=": a ">" line may follow
    filterLines,          // "@filter": ">" lines are filter groups
    parametersBlock,      // "@param": the name/value pairs follow
};

// Applies `line` (leading spaces removed) when it begins with an option key
// and is long enough for it; other lines are ignored.
OptionFollowUp applySystemOption(std::string_view line);

// An option key and the length its line must exceed to be applied.
struct SystemOptionKey {
    std::string_view key;
    std::size_t minLength;
};
// The key that `line` (leading spaces removed) begins with, tested in the
// loader's order; null when it begins with none.
const SystemOptionKey* matchSystemOptionKey(std::string_view line);

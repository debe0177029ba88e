// The record of names the program cannot open.
#include "common/unopenable_names.h"

#include "common/capacity.h"
#include "common/text.h"

UnopenableNames unopenableNames;

void clearUnopenableNames() { unopenableNames = UnopenableNames{}; }

void noteUnopenableName(std::string_view shown) {
    if (unopenableNames.count++ == 0) unopenableNames.first = text::cut(shown, cap::path);
}

// What a dry run of Tavrin's start comes to: the decision its effects
// show, the program the single-program rule started, and which of the URLs
// would stay unopened.
#pragma once
#include <cstddef>
#include <vector>

#include "check/effects.h"
#include "settings/association_table.h"

enum class Decision { start, menu, system, listWindow, toolsMenu, nothing };

// From the effects of the start-up action.
Decision decide(const std::vector<Effect>& effects);

// The decision's name in the tab-separated lines.
const char* decisionName(Decision decision);

// The program the single-program rule started, and whether it took every
// URL (rather than the first).
const AssociationItem* startedProgram(bool& takesAll);

// The program the single-program rule started, for a decision that
// started one; null otherwise.
const AssociationItem* reportedProgram(Decision decision);

// Why URLs after the first stay unopened, when they do.
enum class Unopened { none, firstOnly, systemFirst };
Unopened unopenedReason(Decision decision, std::size_t targets);

// Filter groups of the link list window, read from the ">" lines after
// "@filter".
#pragma once
#include <string_view>

// Group 0 holding ".*" alone, and no other group.
void resetFilterGroups();
// Parses one ">" line (without its ">") into the next group; a line with no
// items adds none. Does nothing once all groups are taken.
void addFilterGroup(std::string_view items);

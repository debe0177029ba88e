// A second copy that finds no running copy able to take its input keeps
// trying while that copy lives: it hands over as soon as the list window of
// a running copy shows, and takes over as the first copy once the running
// one has ended. Only after a long wait does it give up, and then it says
// so. The portable part: the bound of the wait and the box.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

// How long a second copy keeps trying, and how often it looks again.
constexpr std::uint32_t handOffWaitLimitMs = 10u * 60u * 1000u;
constexpr unsigned handOffRetryMs = 100;

// Whether the wait that began at tick `started` is over at tick `now`
// (millisecond ticks, which wrap around after 49.7 days).
bool handOffWaitOver(std::uint32_t started, std::uint32_t now);

// The text of the box telling that the input could not be handed over: the
// wait, and the start of the input.
std::string lostHandOffText(std::string_view payload);
// Shows that box, captioned "注意", owned by `window`.
void reportLostHandOff(platform::WindowHandle window, std::string_view payload);

// Download-then-open. Downloads are not available yet: the request is
// dropped without starting anything, so a half-done download never opens.
#include "launch/download.h"

void downloadAndLaunch(const std::string&, const std::string&, const std::string&, int) {}

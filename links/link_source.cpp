// Link extraction arrives with the list window; until then no file can be
// read as a link source.
#include "links/link_source.h"

int readLinkSource(platform::WindowHandle, const std::string&) { return 0; }

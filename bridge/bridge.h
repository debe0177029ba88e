// Exchanging URLs with a running web browser through the bridge library
// loaded at run time.
#pragma once
#include <string>
#include <string_view>

#include "template/browser_port.h"

// The page URL of the last successful query (260 bytes).
extern std::string browserUrl;

// Mode 2 asks `serviceName` once; other modes try the "@dde=" services in
// order. 1 with the URL in browserUrl, else 0. Sets urlCount to 0 first.
int getActiveBrowserUrl(std::string_view serviceName, int mode);

// Hands runState.currentTarget to a browser (the named service, or each
// "@dde=" service in turn); when none takes it, starts fallbackProgram
// with the URL.
void sendUrlToBrowser(std::string_view serviceName, const std::string& fallbackProgram);

// The bridge as the templates' browser hand-over; the program installs it
// at start (installBrowserPort).
BrowserPort& bridgeBrowserPort();

// The hand-over of a target to the running web browser that "%S" asks
// for. The bridge that talks to the browser sits above the templates, so
// the program installs it at start; until then a hand-over does nothing.
#pragma once
#include <string>
#include <string_view>

class BrowserPort {
public:
    virtual ~BrowserPort() = default;
    // Hands runState.currentTarget to `serviceName` (or to each "@dde="
    // service in turn when it is empty); when no browser takes it, starts
    // fallbackProgram with the URL.
    virtual void sendUrlToBrowser(std::string_view serviceName,
                                  const std::string& fallbackProgram) = 0;
};

BrowserPort& browserPort();
// Makes `port` the one in use (null restores the silent default); returns
// the previous one.
BrowserPort* installBrowserPort(BrowserPort* port);

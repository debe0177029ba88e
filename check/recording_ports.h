// The window layer and the browser hand-over of a dry run: the menu and
// the list window are written down instead of shown, and "%S" is written
// down as a hand-over before the bridge's own code runs on the dry
// platform (which offers the URL to no browser and records its fallback).
#pragma once
#include <string>
#include <vector>

#include "check/effects.h"
#include "common/url_list.h"
#include "platform/ui_port.h"
#include "template/browser_port.h"

class RecordingUi final : public UiPort {
public:
    // listWindowOpens: whether createListWindow succeeds (the links command
    // lets the list fill; a dry dispatch only notes that it would open).
    RecordingUi(EffectLog& log, bool listWindowOpens) : log_(log), listWindowOpens_(listWindowOpens) {}

    void showAssociationMenu(platform::WindowHandle window, int toolsMenu, int samePosition) override;
    bool createListWindow(platform::WindowHandle window) override;
    void fillListView(int captionOnly) override;
    void closeWindow(platform::WindowHandle) override {}

    // The rows and title of the latest fill, as the list would show them.
    bool filled = false;
    std::vector<UrlEntry> rows;
    std::string listTitle;

private:
    EffectLog& log_;
    bool listWindowOpens_;
};

class RecordingBrowser final : public BrowserPort {
public:
    explicit RecordingBrowser(EffectLog& log) : log_(log) {}
    void sendUrlToBrowser(std::string_view serviceName, const std::string& fallbackProgram) override;

private:
    EffectLog& log_;
};

// Installs the given ports (and platform) for a scope and restores the
// previous ones after it.
class ScopedPorts {
public:
    ScopedPorts(platform::Platform& os, UiPort& ui, BrowserPort& browser);
    ~ScopedPorts();
    ScopedPorts(const ScopedPorts&) = delete;
    ScopedPorts& operator=(const ScopedPorts&) = delete;

private:
    platform::Platform* previousOs_;
    UiPort* previousUi_;
    BrowserPort* previousBrowser_;
};

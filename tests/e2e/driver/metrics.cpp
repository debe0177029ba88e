// The "metrics" command: the figures the system gives for the display, so
// that a test knows the resolution its Wine session runs at and what the
// program's sizes must be there.
#include <sstream>
#include <string>

#include "platform/win32/scoped_gui.h"
#include "tests/e2e/driver/commands.h"

namespace driver {

namespace {

int fontHeight(const LOGFONTA& font) { return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight; }

}  // namespace

int metricsCommand(const Options& options) {
    Report report;
    win::ScopedWindowDC screen(nullptr);
    if (!screen) return 2;
    report.set("dpi", GetDeviceCaps(screen.get(), LOGPIXELSY));
    report.set("small_icon", GetSystemMetrics(SM_CXSMICON));
    report.set("small_icon_height", GetSystemMetrics(SM_CYSMICON));
    report.set("menu_bar", GetSystemMetrics(SM_CYMENU));
    report.set("screen_width", GetSystemMetrics(SM_CXSCREEN));
    report.set("maximized_height", GetSystemMetrics(SM_CYMAXIMIZED));

    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 2;
    LOGFONTA iconTitle{};
    if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof iconTitle, &iconTitle, 0)) return 2;
    report.set("menu_font", fontHeight(metrics.lfMenuFont));
    report.set("message_font", fontHeight(metrics.lfMessageFont));
    report.set("icon_title_font", fontHeight(iconTitle));

    std::string texts;
    if (options.has("texts") && !readBytes(options.get("texts"), texts)) return 2;
    win::ScopedFont menuFont(CreateFontIndirectA(&metrics.lfMenuFont));
    win::ScopedMemoryDC dc(screen.get());
    if (!menuFont.get() || !dc) return 2;
    win::ScopedSelection selected(dc.get(), menuFont.get());
    std::istringstream lines(texts);
    int n = 0;
    for (std::string line; std::getline(lines, line); ++n) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        SIZE size{};
        GetTextExtentPoint32A(dc.get(), line.c_str(), static_cast<int>(line.size()), &size);
        report.set("text." + std::to_string(n) + ".menu_width", size.cx);
    }
    report.set("texts", n);
    return report.write(options.get("out")) ? 0 : 2;
}

}  // namespace driver

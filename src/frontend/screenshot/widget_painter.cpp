// Desktop widgets (macOS 14 and later): small tiles down the main screen's left side, under the
// windows and above the picture; a widget the window manager hides is not drawn. A widget shows
// what its kind shows on a Mac (a clock face, the weather, the date), told by its name; any other
// kind shows its name over a plain tile.
#include <cmath>

#include "frontend/screenshot/scene.h"
#include "sim/widgets.h"
#include "text/ascii.h"

namespace tidra::sim::shot {

namespace {

// A small widget on the desktop, in points, and the gap the desktop keeps around widgets.
constexpr double kSmallWidget = 170, kWidgetGap = 16, kWidgetRadius = 22;
// The moment the picture shows, as the menu bar's clock does: Monday, November 30, 9:41.
constexpr int kHour = 9, kMinute = 41;

bool names(const std::string& name, const char* kind) {
    return asciiLower(name).find(kind) != std::string::npos;
}

void drawClock(cairo_t* cr, Box tile) {
    fillRounded(cr, tile, kWidgetRadius, Rgba{0.11, 0.11, 0.12, 0.92});
    const double cx = tile.x + tile.width / 2, cy = tile.y + tile.height / 2;
    const double r = tile.width / 2 - 14;
    cairo_arc(cr, cx, cy, r, 0, 2 * M_PI);
    setColour(cr, Rgba{0.98, 0.98, 0.98});
    cairo_fill(cr);
    // The hour marks, longer at the quarters.
    setColour(cr, Rgba{0.1, 0.1, 0.1});
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6, inner = r - (i % 3 == 0 ? 12 : 7);
        cairo_set_line_width(cr, i % 3 == 0 ? 2.5 : 1.2);
        cairo_move_to(cr, cx + inner * std::sin(a), cy - inner * std::cos(a));
        cairo_line_to(cr, cx + (r - 3) * std::sin(a), cy - (r - 3) * std::cos(a));
        cairo_stroke(cr);
    }
    auto hand = [&](double angle, double length, double width, Rgba colour) {
        setColour(cr, colour);
        cairo_set_line_width(cr, width);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + length * std::sin(angle), cy - length * std::cos(angle));
        cairo_stroke(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    };
    hand((kHour % 12 + kMinute / 60.0) * M_PI / 6, r * 0.5, 4, Rgba{0.1, 0.1, 0.1});
    hand(kMinute * M_PI / 30, r * 0.78, 3, Rgba{0.1, 0.1, 0.1});
    hand(12 * M_PI / 30, r * 0.85, 1.2, Rgba{1.0, 0.58, 0.0});  // the second hand
    cairo_arc(cr, cx, cy, 3, 0, 2 * M_PI);
    setColour(cr, Rgba{1.0, 0.58, 0.0});
    cairo_fill(cr);
}

void drawWeather(cairo_t* cr, Box tile) {
    // A clear morning's sky.
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, tile.y, 0, tile.bottom());
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.22, 0.52, 0.9);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.45, 0.7, 0.95);
    roundedRect(cr, tile, kWidgetRadius);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    const Rgba white{1, 1, 1, 1};
    drawText(cr, "Cupertino ➤", tile.x + 14, tile.y + 12, tile.width - 28,
             TextStyle{13, true, white, Align::Left, false, 1});
    drawText(cr, "64°", tile.x + 14, tile.y + 30, 0, TextStyle{36, false, white});
    // The sun.
    cairo_arc(cr, tile.x + 24, tile.bottom() - 52, 8, 0, 2 * M_PI);
    setColour(cr, Rgba{1.0, 0.84, 0.2});
    cairo_fill(cr);
    drawText(cr, "Sunny", tile.x + 14, tile.bottom() - 40, 0, TextStyle{12, true, white});
    drawText(cr, "H:71° L:52°", tile.x + 14, tile.bottom() - 24, 0, TextStyle{12, true, white});
}

void drawCalendar(cairo_t* cr, Box tile) {
    fillRounded(cr, tile, kWidgetRadius, Rgba{1, 1, 1, 0.96});
    drawText(cr, "MONDAY", tile.x + 14, tile.y + 12, 0,
             TextStyle{12, true, Rgba{0.95, 0.23, 0.2, 1}});
    drawText(cr, "30", tile.x + 12, tile.y + 26, 0, TextStyle{44, false, Rgba{0, 0, 0, 0.9}});
    drawText(cr, "No events today", tile.x + 14, tile.bottom() - 30, tile.width - 28,
             TextStyle{12, false, Rgba{0, 0, 0, 0.5}, Align::Left, false, 1});
}

void drawPlain(cairo_t* cr, Box tile, const std::string& name) {
    fillRounded(cr, tile, kWidgetRadius, Rgba{0.93, 0.93, 0.95, 0.82});
    drawText(cr, name, tile.x + 14, tile.y + 14, tile.width - 28,
             TextStyle{13, true, Rgba{0.15, 0.15, 0.18, 1}, Align::Left, false, 3});
}

}  // namespace

void paintWidgets(Scene& scene) {
    if (!scene.mac.system().version().isAtLeast(14)) return;
    const Box screen = scene.main();
    double y = screen.y + kMenuBarHeight + kWidgetGap;
    for (const auto& widget : desktopWidgets(scene.mac.prefs())) {
        if (!widget.visible) continue;
        if (y + kSmallWidget > screen.bottom()) break;
        const Box tile{screen.x + kWidgetGap, y, kSmallWidget, kSmallWidget};
        dropShadow(scene.cr, tile, kWidgetRadius);
        if (names(widget.name, "clock"))
            drawClock(scene.cr, tile);
        else if (names(widget.name, "weather"))
            drawWeather(scene.cr, tile);
        else if (names(widget.name, "calendar"))
            drawCalendar(scene.cr, tile);
        else
            drawPlain(scene.cr, tile, widget.name);
        y += kSmallWidget + kWidgetGap;
    }
}

}  // namespace tidra::sim::shot

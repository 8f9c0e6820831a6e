// Windows on the main screen: Finder's, Tidra's own (the About window) and the welcome popover.
#include <algorithm>
#include <filesystem>

#include "frontend/screenshot/view_painter.h"
#include "frontend/window_commands.h"
#include "sim/interface/popover.h"

namespace tidra::sim::shot {

namespace {

namespace fs = std::filesystem;

// The names in a folder of the simulated disk, as Finder lists them.
std::vector<std::string> folderListing(Mac& mac, const std::string& macPath) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(mac.disk().real(macPath), ec)) {
        std::string name = e.path().filename().string();
        if (!name.empty() && name[0] != '.') names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void drawFinderWindow(Scene& scene, Box frame, const std::string& title, bool key) {
    cairo_t* cr = scene.cr;
    // Finder's windows can be zoomed; they follow the theme like every window.
    Box content = drawStandardWindow(scene, frame, title, key, true);
    const WindowColours colours = windowColours(scene.dark);
    auto ink = [&](double alpha) {
        Rgba c = colours.text;
        c.a = alpha;
        return c;
    };
    setColour(cr, colours.sidebar);
    cairo_rectangle(cr, content.x, content.y, 150, content.height - 10);
    cairo_fill(cr);
    double y = content.y + 10;
    drawText(cr, "Favorites", content.x + 12, y, 0, TextStyle{11, true, ink(0.45)});
    for (const char* place : {"Applications", "Desktop", "Documents", "Downloads", "Pictures"})
        drawText(cr, place, content.x + 20, y += 22, 0, TextStyle{13, false, ink(0.8)});
    // A window named after a folder of the home folder lists it.
    const std::string home = scene.mac.disk().home();
    std::vector<std::string> names = title == "Macintosh HD"
                                         ? folderListing(scene.mac, "/")
                                         : folderListing(scene.mac, home + "/" + title);
    y = content.y + 10;
    for (const auto& name : names) {
        if (y > content.bottom() - 30) break;
        drawText(cr, name, content.x + 170, y, content.width - 190,
                 TextStyle{13, false, ink(0.85), Align::Left, false, 1});
        y += 22;
    }
}

// A window's frame on the picture: window frames grow upwards from the screen's bottom.
Box onMainScreen(const Scene& scene, Rect frame) {
    const Box main = scene.main();
    return Box{main.x + frame.origin.x, main.bottom() - frame.origin.y - frame.size.height,
               frame.size.width, frame.size.height};
}

void drawSimWindow(Scene& scene, SimWindow& window) {
    cairo_t* cr = scene.cr;
    const Box frame = onMainScreen(scene, window.frame());
    auto background = window.backgroundColor();
    const bool translucent = !window.isOpaque() || (background && background->alpha < 1);
    if (!translucent) {
        // The frame is the content's: the title bar sits above it. Tidra's windows keep their
        // size: none of them can be zoomed.
        const Box outer{frame.x, frame.y - 29, frame.width, frame.height + 29};
        Box content = drawStandardWindow(scene, outer, window.title(), window.isKey(), false);
        drawViewTree(scene, window.contentView(), content, scene.dark, true);
        return;
    }
    dropShadow(cr, frame, 10);
    blurArea(cr, scene.surface, frame, 10);
    const double white = background ? background->white : 0;
    fillRounded(cr, frame, 10, Rgba{white, white, white, background ? background->alpha : 0.5});
    drawViewTree(scene, window.contentView(), frame, true);
    strokeRounded(cr, frame, 10, Rgba{1, 1, 1, 0.14});
    drawTrafficLights(cr, frame.x + 2, frame.y, false, true);
    if (!window.titlebarAppearsTransparent() && !window.title().empty())
        drawText(cr, window.title(), frame.x + 80, frame.y + 6, frame.width - 160,
                 TextStyle{13, true, Rgba{1, 1, 1, 0.85}, Align::Centre, false, 1});
}

}  // namespace

void paintFinderWindows(Scene& scene) {
    auto finders = scene.mac.finder().instances();
    if (finders.empty() || !finders.front().ready) return;
    const auto& titles = finders.front().windows;
    for (size_t i = 0; i < titles.size(); ++i) {
        const Box frame{scene.main().x + 120 + 34.0 * i, 90 + 30.0 * i, 680, 420};
        drawFinderWindow(scene, frame, titles[i], i + 1 == titles.size());
    }
}

void paintWindows(Scene& scene) {
    auto windows = scene.mac.windows().onScreen();
    // The list runs front to back; the back ones are drawn first.
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) drawSimWindow(scene, **it);
}

void paintPopover(Scene& scene) {
    SimPopover* popover = tidraPopover(scene.mac);
    if (!popover || !popover->isShown() || !popover->contentView()) return;
    cairo_t* cr = scene.cr;
    const Rect f = popover->contentView()->frame();
    const Box item = statusItemBox(scene);
    const double arrow = 9, cx = item.x + item.width / 2;
    const double x = std::min(cx - f.size.width / 2, scene.main().right() - f.size.width - 6);
    const Box box{x, kMenuBarHeight + arrow + 2, f.size.width, f.size.height};
    const bool dark =
        popover->appearance() && popover->appearance()->find("Dark") != std::string::npos;
    dropShadow(cr, box, 10);
    blurArea(cr, scene.surface, box, 10);
    roundedRect(cr, box, 10);
    cairo_move_to(cr, cx - arrow, box.y);
    cairo_line_to(cr, cx, box.y - arrow);
    cairo_line_to(cr, cx + arrow, box.y);
    cairo_close_path(cr);
    setColour(cr, dark ? Rgba{0.13, 0.13, 0.14, 0.86} : Rgba{0.97, 0.97, 0.97, 0.9});
    cairo_fill(cr);
    drawViewTree(scene, popover->contentView(), box, dark);
}

}  // namespace tidra::sim::shot

// The menu bar with Tidra's status item, and the status menu while it is open.
#include <algorithm>
#include <cstdint>

#include "frontend/screenshot/pictures.h"
#include "frontend/screenshot/scene.h"
#include "platform/views.h"

namespace tidra::sim::shot {

namespace {

constexpr double kItemPadding = 6;
constexpr double kRow = 22, kSeparator = 11, kMenuInset = 5;

Rgba barText(const Scene& s) {
    return s.dark ? Rgba{1, 1, 1, 0.92} : Rgba{0, 0, 0, 0.88};
}

double itemWidth(const Scene& scene) {
    auto item = scene.mac.statusItem();
    if (!item) return 0;
    if (item->image()) return item->image()->size().width + 2 * kItemPadding;
    if (item->length() > 0) return item->length();
    return textWidth(scene.cr, item->title(), TextStyle{13}) + 2 * kItemPadding;
}

// A template image is drawn by its alpha alone, in the menu bar's text colour.
void drawStatusIcon(Scene& scene, Box box, Rgba colour) {
    auto item = scene.mac.statusItem();
    cairo_t* cr = scene.cr;
    auto image = item->image();
    if (!image) {
        drawText(cr, item->title(), box.x + kItemPadding, box.y + 3, 0,
                 TextStyle{13, false, colour});
        return;
    }
    auto file = scene.mac.bundle().resourceFile(image->name(), "png");
    Picture p = file ? loadPicture(*file) : Picture{};
    if (!p.surface) return;
    const Size size = image->size();
    const double x = box.x + kItemPadding, y = box.y + (box.height - size.height) / 2;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size.width / p.width, size.height / p.height);
    if (image->isTemplate()) {
        setColour(cr, colour);
        cairo_mask_surface(cr, p.surface.get(), 0, 0);
    } else {
        cairo_set_source_surface(cr, p.surface.get(), 0, 0);
        cairo_paint(cr);
    }
    cairo_restore(cr);
}

// The system menu's mark: an apple with a leaf and a bite out of its right side, drawn from
// curves (no artwork of the platform's), `height` tall with its top-left corner at (x, y).
void drawSystemMark(cairo_t* cr, double x, double y, double height, Rgba colour) {
    const double w = height * 0.82, h = height;
    auto at = [&](double u, double v) { return std::pair{x + u * w, y + v * h}; };
    cairo_push_group(cr);
    setColour(cr, colour);
    // The body: two shoulders meeting in a dip under the stalk, two lobes at the bottom.
    auto [sx, sy] = at(0.5, 0.3);
    cairo_move_to(cr, sx, sy);
    const double curves[][6] = {
        {0.38, 0.22, 0.04, 0.2, 0.02, 0.55}, {0.0, 0.8, 0.18, 1.0, 0.3, 1.0},
        {0.4, 1.0, 0.43, 0.95, 0.5, 0.95},   {0.57, 0.95, 0.6, 1.0, 0.7, 1.0},
        {0.82, 1.0, 0.96, 0.84, 1.0, 0.72},  {0.98, 0.68, 0.98, 0.38, 0.94, 0.36},
        {0.86, 0.22, 0.62, 0.22, 0.5, 0.3}};
    for (const auto& c : curves) {
        auto [x1, y1] = at(c[0], c[1]);
        auto [x2, y2] = at(c[2], c[3]);
        auto [x3, y3] = at(c[4], c[5]);
        cairo_curve_to(cr, x1, y1, x2, y2, x3, y3);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
    // The leaf, leaning right above the stalk.
    auto [l0x, l0y] = at(0.5, 0.24);
    auto [l1x, l1y] = at(0.5, 0.02);
    auto [l2x, l2y] = at(0.74, 0.0);
    auto [l3x, l3y] = at(0.74, -0.02);
    auto [l4x, l4y] = at(0.72, 0.2);
    cairo_move_to(cr, l0x, l0y);
    cairo_curve_to(cr, l1x, l1y, l2x, l2y, l3x, l3y);
    cairo_curve_to(cr, l4x, l4y, l0x + w * 0.04, l0y, l0x, l0y);
    cairo_fill(cr);
    // The bite.
    auto [bx, by] = at(1.06, 0.52);
    cairo_arc(cr, bx, by, w * 0.2, 0, 2 * M_PI);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
}

// From macOS 26 the menu bar has no material of its own: the picture shows through it.
bool translucentMenuBar(const Scene& scene) {
    return scene.mac.system().version().isAtLeast(26);
}

// How light the picture under the bar is, from 0 to 1 (a sample of its pixels).
double lightnessUnder(Scene& scene, Box bar) {
    cairo_surface_flush(scene.surface);
    const unsigned char* data = cairo_image_surface_get_data(scene.surface);
    const int stride = cairo_image_surface_get_stride(scene.surface);
    const int width = cairo_image_surface_get_width(scene.surface);
    const int height = cairo_image_surface_get_height(scene.surface);
    double x0 = bar.x, y0 = bar.y, x1 = bar.right(), y1 = bar.bottom();
    cairo_user_to_device(scene.cr, &x0, &y0);
    cairo_user_to_device(scene.cr, &x1, &y1);
    double sum = 0;
    int count = 0;
    for (int y = std::max(0, int(y0)); y < std::min(height, int(y1)); y += 4)
        for (int x = std::max(0, int(x0)); x < std::min(width, int(x1)); x += 8) {
            const auto p = *reinterpret_cast<const std::uint32_t*>(data + y * stride + x * 4);
            sum +=
                (0.2126 * (p >> 16 & 0xff) + 0.7152 * (p >> 8 & 0xff) + 0.0722 * (p & 0xff)) / 255;
            ++count;
        }
    return count ? sum / count : 1;
}

void drawMenuBar(Scene& scene, Box screen, bool active) {
    cairo_t* cr = scene.cr;
    // Right of the seam where the display meets the one before it.
    const double seam = active ? 0 : kScreenEdge;
    const Box bar{screen.x + seam, screen.y, screen.width - seam, kMenuBarHeight};
    Rgba text = barText(scene);
    if (translucentMenuBar(scene)) {
        // The titles take the colour that reads over the picture: white over a dark one, in
        // either theme; a faint veil keeps them readable over a busy one.
        const bool overDark = lightnessUnder(scene, bar) < 0.5;
        text = overDark ? Rgba{1, 1, 1, 0.92} : Rgba{0, 0, 0, 0.88};
        setColour(cr, overDark ? Rgba{0, 0, 0, 0.1} : Rgba{1, 1, 1, 0.1});
    } else {
        blurArea(cr, scene.surface, bar, 0);
        // An inactive display's bar lets more of its picture through.
        const double alpha = active ? 1.0 : 0.55;
        setColour(cr, scene.dark ? Rgba{0.12, 0.12, 0.13, 0.62 * alpha}
                                 : Rgba{0.97, 0.97, 0.97, 0.72 * alpha});
    }
    cairo_rectangle(cr, bar.x, bar.y, bar.width, bar.height);
    cairo_fill(cr);
    if (!active) text.a *= 0.5;
    // Tidra has no menus of its own (it is an agent), so the menus are the front application's.
    double x = screen.x + 18;
    drawSystemMark(cr, x, screen.y + 4, 15, text);
    x += 32;
    bool first = true;
    for (const char* title : {"Finder", "File", "Edit", "View", "Go", "Window", "Help"}) {
        TextStyle style{13, first, text};
        drawText(cr, title, x, screen.y + 4, 0, style);
        x += textWidth(cr, title, style) + 20;
        first = false;
    }
    drawText(cr, "9:41", screen.right() - 60, screen.y + 4, 0, TextStyle{13, false, text});
    // An item the user keeps out of the menu bar (macOS 26) is not drawn.
    auto item = scene.mac.statusItem();
    if (!item || !item->isShownInMenuBar()) return;
    const Box box = statusItemBoxOn(scene, screen);
    if (active && item->openMenu())
        fillRounded(cr, Box{box.x, box.y + 2, box.width, box.height - 4}, 4,
                    scene.dark ? Rgba{1, 1, 1, 0.22} : Rgba{0, 0, 0, 0.14});
    drawStatusIcon(scene, box, text);
}

struct MenuGeometry {
    Box box;
    std::vector<double> rowTops;  // one per entry
};

MenuGeometry measure(Scene& scene, const SimMenu& menu, double x, double y) {
    MenuGeometry g;
    double width = 160, top = kMenuInset;
    for (const auto& e : menu.entries) {
        g.rowTops.push_back(y + top);
        top += e->isSeparator() ? kSeparator : kRow;
        if (!e->isSeparator())
            width = std::max(width, textWidth(scene.cr, e->title(), TextStyle{13}) + 60 +
                                        (e->keyEquivalentText().empty() ? 0 : 40));
    }
    g.box = Box{x, y, width, top + kMenuInset};
    return g;
}

void drawMenu(Scene& scene, const SimMenu& menu, const MenuGeometry& g, int highlighted) {
    cairo_t* cr = scene.cr;
    const Rgba text = scene.dark ? Rgba{1, 1, 1, 0.92} : Rgba{0, 0, 0, 0.88};
    dropShadow(cr, g.box, 7);
    blurArea(cr, scene.surface, g.box, 7);
    fillRounded(cr, g.box, 7,
                scene.dark ? Rgba{0.16, 0.16, 0.17, 0.86} : Rgba{0.96, 0.96, 0.96, 0.88});
    strokeRounded(cr, g.box, 7, scene.dark ? Rgba{1, 1, 1, 0.18} : Rgba{0, 0, 0, 0.18});
    for (size_t i = 0; i < menu.entries.size(); ++i) {
        const auto& e = *menu.entries[i];
        const double top = g.rowTops[i];
        if (e.isSeparator()) {
            setColour(cr, scene.dark ? Rgba{1, 1, 1, 0.16} : Rgba{0, 0, 0, 0.12});
            cairo_rectangle(cr, g.box.x + 10, top + kSeparator / 2, g.box.width - 20, 1);
            cairo_fill(cr);
            continue;
        }
        Rgba colour = text;
        if (int(i) == highlighted) {
            fillRounded(cr, Box{g.box.x + 5, top, g.box.width - 10, kRow}, 4, Rgba{0.2, 0.45, 0.9});
            colour = Rgba{1, 1, 1};
        }
        if (e.state() == kControlStateOn)
            drawText(cr, "✓", g.box.x + 10, top + 3, 0, TextStyle{13, true, colour});
        drawText(cr, e.title(), g.box.x + 28, top + 3, 0, TextStyle{13, false, colour});
        if (e.submenu())
            drawText(cr, "›", g.box.right() - 22, top + 1, 0, TextStyle{16, true, colour});
        if (!e.keyEquivalentText().empty()) {
            Rgba quiet = colour;
            quiet.a *= int(i) == highlighted ? 1 : 0.5;
            drawText(cr, e.keyEquivalentText(), g.box.right() - 60, top + 3, 48,
                     TextStyle{13, false, quiet, Align::Right});
        }
    }
}

}  // namespace

Box statusItemBox(const Scene& scene) {
    return statusItemBoxOn(scene, scene.main());
}

Box statusItemBoxOn(const Scene& scene, Box screen) {
    const double w = itemWidth(scene);
    // Right of it the clock, as on every Mac.
    return Box{screen.right() - 80 - w, screen.y, w, kMenuBarHeight};
}

void paintMenuBar(Scene& scene) {
    // Every display has a menu bar of its own (the default since displays got their own Spaces);
    // the one on the display the user works on is drawn in full, the others dimmed.
    for (size_t i = 0; i < scene.screens.size(); ++i)
        drawMenuBar(scene, scene.screens[i].box, i == 0);
}
void paintOpenMenu(Scene& scene) {
    auto item = scene.mac.statusItem();
    const SimMenu* menu = item ? item->openMenu() : nullptr;
    if (!menu) return;
    const Box main = scene.main();
    const Box anchor = statusItemBox(scene);
    MenuGeometry g = measure(scene, *menu, anchor.x, kMenuBarHeight + 1);
    g = measure(scene, *menu, std::min(anchor.x, main.right() - g.box.width - 4),
                kMenuBarHeight + 1);
    // The pointer rests on the first item with a submenu, which is open beside the menu.
    int open = -1;
    for (size_t i = 0; i < menu->entries.size() && open < 0; ++i)
        if (menu->entries[i]->submenu() && !menu->entries[i]->isSeparator()) open = int(i);
    drawMenu(scene, *menu, g, open);
    if (open < 0) return;
    const SimMenu& sub = *menu->entries[size_t(open)]->submenu();
    MenuGeometry s = measure(scene, sub, 0, g.rowTops[size_t(open)] - kMenuInset);
    const double left = g.box.x - s.box.width + 2;
    s = measure(scene, sub, left >= main.x ? left : g.box.right() - 2,
                g.rowTops[size_t(open)] - kMenuInset);
    drawMenu(scene, sub, s, -1);
}

}  // namespace tidra::sim::shot

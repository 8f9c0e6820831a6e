// The menu bar with Tidra's status item, and the status menu while it is open.
#include <algorithm>

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
void drawStatusIcon(Scene& scene, Box box) {
    auto item = scene.mac.statusItem();
    cairo_t* cr = scene.cr;
    auto image = item->image();
    if (!image) {
        drawText(cr, item->title(), box.x + kItemPadding, box.y + 3, 0,
                 TextStyle{13, false, barText(scene)});
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
        setColour(cr, barText(scene));
        cairo_mask_surface(cr, p.surface.get(), 0, 0);
    } else {
        cairo_set_source_surface(cr, p.surface.get(), 0, 0);
        cairo_paint(cr);
    }
    cairo_restore(cr);
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
    const Box main = scene.main();
    const double w = itemWidth(scene);
    // Right of it the clock, as on every Mac.
    return Box{main.right() - 80 - w, main.y, w, kMenuBarHeight};
}

void paintMenuBar(Scene& scene) {
    cairo_t* cr = scene.cr;
    const Box main = scene.main();
    const Box bar{main.x, main.y, main.width, kMenuBarHeight};
    blurArea(cr, scene.surface, bar, 0);
    setColour(cr, scene.dark ? Rgba{0.12, 0.12, 0.13, 0.62} : Rgba{0.97, 0.97, 0.97, 0.72});
    cairo_rectangle(cr, bar.x, bar.y, bar.width, bar.height);
    cairo_fill(cr);
    const Rgba text = barText(scene);
    // Tidra has no menus of its own (it is an agent), so the menus are the front application's.
    double x = main.x + 18;
    drawText(cr, "●", x, 3, 0, TextStyle{13, false, text});
    x += 30;
    bool first = true;
    for (const char* title : {"Finder", "File", "Edit", "View", "Go", "Window", "Help"}) {
        TextStyle style{13, first, text};
        drawText(cr, title, x, 4, 0, style);
        x += textWidth(cr, title, style) + 20;
        first = false;
    }
    drawText(cr, "9:41", main.right() - 60, 4, 0, TextStyle{13, false, text});
    // An item the user keeps out of the menu bar (macOS 26) is not drawn.
    if (scene.mac.statusItem() && scene.mac.statusItem()->isShownInMenuBar()) {
        const Box item = statusItemBox(scene);
        if (scene.mac.statusItem()->openMenu())
            fillRounded(cr, Box{item.x, item.y + 2, item.width, item.height - 4}, 4,
                        scene.dark ? Rgba{1, 1, 1, 0.22} : Rgba{0, 0, 0, 0.14});
        drawStatusIcon(scene, item);
    }
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

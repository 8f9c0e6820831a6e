// What waits for the person: an alert, the administrator password dialog, the open panel; and
// the banners of delivered notifications.
#include <algorithm>
#include <filesystem>

#include "frontend/screenshot/view_painter.h"
#include "sim/interface/alert.h"

namespace tidra::sim::shot {

namespace {

namespace fs = std::filesystem;

const Rgba kText{0, 0, 0, 0.87};

// Text on a dialog in the scene's theme.
Rgba ink(const Scene& scene, double alpha = 0.87) {
    return scene.dark ? Rgba{1, 1, 1, std::min(1.0, alpha + 0.05)} : Rgba{0, 0, 0, alpha};
}

// A field or list well on a dialog.
Rgba well(const Scene& scene) {
    return scene.dark ? Rgba{1, 1, 1, 0.08} : Rgba{1, 1, 1};
}

// The application's mark on its dialogs: a rounded tile with the status icon's shape.
void drawAppIcon(cairo_t* cr, Box b) {
    fillRounded(cr, b, b.width * 0.22, Rgba{0.25, 0.5, 0.9});
    fillRounded(cr, Box{b.x + b.width * 0.2, b.y + b.height * 0.25, b.width * 0.6, b.height * 0.4},
                3, Rgba{1, 1, 1, 0.95});
    fillRounded(cr,
                Box{b.x + b.width * 0.42, b.y + b.height * 0.65, b.width * 0.16, b.height * 0.12},
                1, Rgba{1, 1, 1, 0.95});
}

// A dialog box centred on the main screen, with the icon on the left.
Box dialogBox(const Scene& scene, double width, double height) {
    const Box main = scene.main();
    return Box{main.x + (main.width - width) / 2, main.y + main.height * 0.3 - height / 3, width,
               height};
}

void drawPanel(Scene& scene, Box b) {
    dropShadow(scene.cr, b, 12);
    fillRounded(scene.cr, b, 12, scene.dark ? Rgba{0.18, 0.18, 0.19} : Rgba{0.95, 0.95, 0.95});
    strokeRounded(scene.cr, b, 12, scene.dark ? Rgba{1, 1, 1, 0.16} : Rgba{0, 0, 0, 0.2});
}

// Buttons from the right; the first is the default one.
void drawButtonsRight(cairo_t* cr, const std::vector<std::string>& titles, double right, double y,
                      bool dark) {
    double x = right;
    for (size_t i = 0; i < titles.size(); ++i) {
        const double w = std::max(80.0, textWidth(cr, titles[i], TextStyle{13}) + 28);
        x -= w;
        drawButton(cr, Box{x, y, w, 26}, titles[i], i == 0, dark);
        x -= 12;
    }
}

void drawAlert(Scene& scene, const SimAlert& alert) {
    cairo_t* cr = scene.cr;
    const double width = 460, textX = 96, textW = width - textX - 24;
    // Measured first on a scratch surface: the box is as tall as its texts.
    Surface scratch(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1));
    cairo_t* m = cairo_create(scratch.get());
    double h = drawText(m, alert.messageText(), 0, 0, textW, TextStyle{14, true}) + 10 +
               drawText(m, alert.informativeText(), 0, 0, textW, TextStyle{12.5});
    cairo_destroy(m);
    const double height = std::max(120.0, h + 40) + (alert.showsSuppressionButton() ? 30 : 0) + 50;
    const Box b = dialogBox(scene, width, height);
    drawPanel(scene, b);
    drawAppIcon(cr, Box{b.x + 20, b.y + 22, 56, 56});
    double y = b.y + 20;
    y += drawText(cr, alert.messageText(), b.x + textX, y, textW, TextStyle{14, true, ink(scene)}) +
         10;
    y += drawText(cr, alert.informativeText(), b.x + textX, y, textW,
                  TextStyle{12.5, false, ink(scene)});
    if (alert.showsSuppressionButton())
        drawCheckbox(cr, b.x + textX, b.bottom() - 78, alert.suppression().title(),
                     alert.suppression().state() != 0, scene.dark);
    std::vector<std::string> titles;
    for (const auto& button : alert.buttons()) titles.push_back(button->title());
    if (titles.empty()) titles.push_back("OK");
    drawButtonsRight(cr, titles, b.right() - 20, b.bottom() - 42, scene.dark);
}

void drawPasswordDialog(Scene& scene, const std::string& text) {
    cairo_t* cr = scene.cr;
    const Box b = dialogBox(scene, 460, 230);
    drawPanel(scene, b);
    drawAppIcon(cr, Box{b.x + 20, b.y + 22, 56, 56});
    double y = b.y + 20;
    y += drawText(cr, text, b.x + 96, y, 340,
                  TextStyle{13, true, ink(scene), Align::Left, false, 4}) +
         14;
    for (auto [label, value] : {std::pair{"User Name:", scene.mac.disk().user()},
                                std::pair{"Password:", std::string()}}) {
        drawText(cr, label, b.x + 96, y + 4, 0, TextStyle{12.5, false, ink(scene)});
        fillRounded(cr, Box{b.x + 190, y, 250, 24}, 4, well(scene));
        strokeRounded(cr, Box{b.x + 190, y, 250, 24}, 4, Rgba{0, 0, 0, 0.25});
        drawText(cr, value, b.x + 198, y + 4, 0, TextStyle{12.5, false, ink(scene)});
        y += 32;
    }
    drawButtonsRight(cr, {"OK", "Cancel"}, b.right() - 20, b.bottom() - 42, scene.dark);
}

void drawOpenPanel(Scene& scene, const OpenPanelSettings& p) {
    cairo_t* cr = scene.cr;
    const Box main = scene.main();
    const Box b{main.x + (main.width - 760) / 2, main.y + 90, 760, 470};
    drawPanel(scene, b);
    drawText(cr, p.title.empty() ? "Open" : p.title, b.x, b.y + 10, b.width,
             TextStyle{13, true, ink(scene), Align::Centre});
    drawText(cr, p.message, b.x + 20, b.y + 34, b.width - 40,
             TextStyle{12.5, false, ink(scene), Align::Centre, false, 2});
    const std::string folder = p.directory.value_or(scene.mac.disk().home());
    const Box list{b.x + 20, b.y + 70, b.width - 40, b.height - 130};
    fillRounded(cr, list, 6, well(scene));
    strokeRounded(cr, list, 6, Rgba{0, 0, 0, 0.15});
    drawText(cr, folder, list.x + 10, list.y + 8, list.width - 20,
             TextStyle{12, true, ink(scene, 0.55), Align::Left, false, 1});
    std::vector<std::pair<std::string, bool>> entries;  // name, can be chosen
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(scene.mac.disk().real(folder), ec)) {
        std::string name = e.path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::string ext = e.path().extension().string();
        bool allowed = e.is_directory(ec) || p.allowedFileTypes.empty() ||
                       std::find(p.allowedFileTypes.begin(), p.allowedFileTypes.end(),
                                 ext.empty() ? ext : ext.substr(1)) != p.allowedFileTypes.end();
        entries.push_back({name + (e.is_directory(ec) ? "  ›" : ""), allowed});
    }
    std::sort(entries.begin(), entries.end());
    double y = list.y + 32;
    for (const auto& [name, allowed] : entries) {
        if (y > list.bottom() - 24) break;
        drawText(cr, name, list.x + 14, y, list.width - 28,
                 TextStyle{13, false, ink(scene, allowed ? 0.87 : 0.3), Align::Left, false, 1});
        y += 22;
    }
    drawButtonsRight(cr, {p.prompt.empty() ? "Open" : p.prompt, "Cancel"}, b.right() - 20,
                     b.bottom() - 44, scene.dark);
}

}  // namespace

void paintNotifications(Scene& scene) {
    cairo_t* cr = scene.cr;
    const Box main = scene.main();
    double y = kMenuBarHeight + 10;
    for (const auto& d : scene.mac.simUserNotifications().delivered()) {
        if (!d.bannerShown) continue;
        const Box b{main.right() - 366, y, 354, 70};
        dropShadow(cr, b, 14);
        blurArea(cr, scene.surface, b, 14);
        fillRounded(cr, b, 14,
                    scene.dark ? Rgba{0.2, 0.2, 0.21, 0.86} : Rgba{0.96, 0.96, 0.96, 0.88});
        const Rgba text = scene.dark ? Rgba{1, 1, 1, 0.92} : kText;
        drawAppIcon(cr, Box{b.x + 12, b.y + 15, 40, 40});
        drawText(cr, d.notification.title, b.x + 64, b.y + 12, b.width - 76,
                 TextStyle{13, true, text, Align::Left, false, 1});
        drawText(cr, d.notification.informativeText, b.x + 64, b.y + 31, b.width - 76,
                 TextStyle{12.5, false, text, Align::Left, false, 2});
        y += 80;
    }
}

void paintModals(Scene& scene) {
    if (auto panel = scene.mac.openPanels().front()) drawOpenPanel(scene, panel->settings());
    for (const SimAlert* alert : scene.mac.alerts().open()) drawAlert(scene, *alert);
    if (scene.mac.simAuthorization().passwordDialogOpen())
        drawPasswordDialog(scene, scene.mac.simAuthorization().passwordDialogText());
}

}  // namespace tidra::sim::shot

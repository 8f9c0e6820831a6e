#include "frontend/screenshot/control_painter.h"

#include <algorithm>

#include "frontend/screenshot/pictures.h"

namespace tidra::sim::shot {

namespace {

const Rgba kAccent{0.16, 0.47, 0.96};

Rgba textColour(bool dark, double alpha = 0.85) {
    return dark ? Rgba{1, 1, 1, alpha + 0.05} : Rgba{0, 0, 0, alpha};
}

// An application's icon where the picture has none of its own: a rounded square in a colour of
// its name, with its first letter.
void drawAppIcon(cairo_t* cr, Box b, const std::string& name) {
    unsigned hash = 0;
    for (unsigned char c : name) hash = hash * 31 + c;
    const double hue = (hash % 360) / 360.0;
    const Rgba fill{0.35 + 0.4 * hue, 0.55 - 0.2 * hue, 0.85 - 0.3 * hue};
    fillRounded(cr, b, 4, fill);
    const std::string letter = name.empty() ? "?" : name.substr(0, 1);
    drawText(cr, letter, b.x, b.y + 1, b.width,
             TextStyle{11, true, Rgba{1, 1, 1}, Align::Centre, false, 1});
}

}  // namespace

void drawRadio(cairo_t* cr, double x, double y, const std::string& title, bool on, bool enabled,
               bool dark) {
    const double cx = x + 7, cy = y + 9;
    // A path of its own: an arc would otherwise be joined to wherever the last one ended.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 7, 0, 2 * M_PI);
    setColour(cr, on ? kAccent : dark ? Rgba{1, 1, 1, 0.15} : Rgba{1, 1, 1});
    cairo_fill_preserve(cr);
    setColour(cr, on ? kAccent : dark ? Rgba{1, 1, 1, 0.3} : Rgba{0, 0, 0, 0.3});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    if (on) {
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, 2.6, 0, 2 * M_PI);
        setColour(cr, Rgba{1, 1, 1});
        cairo_fill(cr);
    }
    drawText(cr, title, x + 22, y, 0,
             TextStyle{12, false, textColour(dark, enabled ? 0.85 : 0.35)});
}

void drawList(cairo_t* cr, Box box, const SimListView& list, bool dark) {
    fillRounded(cr, box, 4, dark ? Rgba{1, 1, 1, 0.06} : Rgba{1, 1, 1});
    strokeRounded(cr, box, 4, dark ? Rgba{1, 1, 1, 0.2} : Rgba{0, 0, 0, 0.2});
    cairo_save(cr);
    roundedRect(cr, box, 4);
    cairo_clip(cr);
    constexpr double kRow = 30;
    const auto rows = list.rows();
    const auto selected = list.selectedRow();
    // Scrolled so that the selected row shows, as the list keeps it in view.
    const size_t fit = static_cast<size_t>(std::max(1.0, (box.height - 4) / kRow));
    const size_t first = selected && *selected >= fit ? *selected + 1 - fit : 0;
    for (size_t i = first; i < rows.size(); ++i) {
        const double y = box.y + 2 + kRow * (i - first);
        if (y > box.bottom()) break;
        const bool chosen = selected && *selected == i;
        if (chosen) fillRounded(cr, Box{box.x + 3, y, box.width - 6, kRow - 2}, 4, kAccent);
        drawAppIcon(cr, Box{box.x + 8, y + 5, 18, 18}, rows[i].title);
        const Rgba main = chosen ? Rgba{1, 1, 1} : textColour(dark);
        const Rgba quiet = chosen ? Rgba{1, 1, 1, 0.8} : textColour(dark, 0.45);
        drawText(cr, rows[i].title, box.x + 34, y + 6, box.width * 0.45,
                 TextStyle{12.5, false, main, Align::Left, false, 1});
        drawText(cr, rows[i].detail, box.x + 34 + box.width * 0.45, y + 7, box.width * 0.5 - 40,
                 TextStyle{11, false, quiet, Align::Right, false, 1});
    }
    cairo_restore(cr);
}

void drawImageWell(Scene& scene, Box box, const SimImageView& image, bool dark) {
    cairo_t* cr = scene.cr;
    fillRounded(cr, box, 4, dark ? Rgba{1, 1, 1, 0.06} : Rgba{0, 0, 0, 0.05});
    const auto file = image.imageFile();
    if (file) {
        Picture picture = loadPicture(scene.mac.disk().real(*file), box.width, box.height);
        if (picture.surface && picture.width > 0 && picture.height > 0) {
            // Fitted whole, centred, as an image view scales proportionally down.
            const double scale =
                std::min((box.width - 4) / picture.width, (box.height - 4) / picture.height);
            const double w = picture.width * scale, h = picture.height * scale;
            cairo_save(cr);
            cairo_translate(cr, box.x + (box.width - w) / 2, box.y + (box.height - h) / 2);
            cairo_scale(cr, scale, scale);
            cairo_set_source_surface(cr, picture.surface.get(), 0, 0);
            cairo_paint(cr);
            cairo_restore(cr);
        }
    }
    strokeRounded(cr, box, 4, dark ? Rgba{1, 1, 1, 0.2} : Rgba{0, 0, 0, 0.18});
}

void drawRecorderField(cairo_t* cr, Box box, bool dark) {
    fillRounded(cr, box, 5, dark ? Rgba{1, 1, 1, 0.1} : Rgba{1, 1, 1});
    strokeRounded(cr, box, 5, dark ? Rgba{1, 1, 1, 0.25} : Rgba{0, 0, 0, 0.25});
}

}  // namespace tidra::sim::shot

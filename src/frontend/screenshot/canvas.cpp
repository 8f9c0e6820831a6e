#include "frontend/screenshot/canvas.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace tidra::sim::shot {

void setColour(cairo_t* cr, Rgba c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

void roundedRect(cairo_t* cr, Box b, double radius) {
    const double r = std::min({radius, b.width / 2, b.height / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, b.right() - r, b.y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, b.right() - r, b.bottom() - r, r, 0, M_PI / 2);
    cairo_arc(cr, b.x + r, b.bottom() - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, b.x + r, b.y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void fillRounded(cairo_t* cr, Box b, double radius, Rgba fill) {
    roundedRect(cr, b, radius);
    setColour(cr, fill);
    cairo_fill(cr);
}

void strokeRounded(cairo_t* cr, Box b, double radius, Rgba line, double width) {
    roundedRect(cr, Box{b.x + width / 2, b.y + width / 2, b.width - width, b.height - width},
                radius);
    setColour(cr, line);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

namespace {

struct LayoutDeleter {
    void operator()(PangoLayout* l) const { g_object_unref(l); }
};

std::unique_ptr<PangoLayout, LayoutDeleter> layoutFor(cairo_t* cr, const std::string& text,
                                                      double width, const TextStyle& style) {
    std::unique_ptr<PangoLayout, LayoutDeleter> layout(pango_cairo_create_layout(cr));
    PangoFontDescription* font = pango_font_description_new();
    pango_font_description_set_family(font, "DejaVu Sans,Sans");
    pango_font_description_set_absolute_size(font, style.size * PANGO_SCALE);
    pango_font_description_set_weight(font, style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout.get(), font);
    pango_font_description_free(font);
    pango_layout_set_text(layout.get(), text.c_str(), int(text.size()));
    if (width > 0) {
        pango_layout_set_width(layout.get(), int(width * PANGO_SCALE));
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
        pango_layout_set_alignment(layout.get(), style.align == Align::Centre  ? PANGO_ALIGN_CENTER
                                                 : style.align == Align::Right ? PANGO_ALIGN_RIGHT
                                                                               : PANGO_ALIGN_LEFT);
        if (style.maxLines > 0) {
            pango_layout_set_height(layout.get(), -style.maxLines);
            pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
        }
    }
    return layout;
}

}  // namespace

double drawText(cairo_t* cr, const std::string& text, double x, double y, double width,
                const TextStyle& style) {
    auto layout = layoutFor(cr, text, width, style);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout.get(), &w, &h);
    if (style.shadow) {
        cairo_move_to(cr, x + 0.5, y + 1);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.55 * style.colour.a);
        pango_cairo_show_layout(cr, layout.get());
    }
    cairo_move_to(cr, x, y);
    setColour(cr, style.colour);
    pango_cairo_show_layout(cr, layout.get());
    // Showing the text leaves its starting point current: a circle drawn next (a radio button
    // after its neighbour's label) would otherwise be joined to it by a stray line.
    cairo_new_path(cr);
    return h;
}

double textWidth(cairo_t* cr, const std::string& text, const TextStyle& style) {
    auto layout = layoutFor(cr, text, 0, style);
    int w = 0, h = 0;
    pango_layout_get_pixel_size(layout.get(), &w, &h);
    return w;
}

FontSession::FontSession() {
    PangoFontMap* map = pango_cairo_font_map_new();
    pango_cairo_font_map_set_default(PANGO_CAIRO_FONT_MAP(map));
    g_object_unref(map);
}

FontSession::~FontSession() {
    // Only the font map goes. Cairo's static data and fontconfig's caches stay for the process:
    // pango may still be setting fontconfig up on a thread of its own, and tearing them down
    // under it trips cairo's own assertion. The leak checkers know those caches
    // (tests/lsan.supp).
    pango_cairo_font_map_set_default(nullptr);
}

void blurArea(cairo_t* cr, cairo_surface_t* target, Box area, double radius) {
    const double shrink = 12;
    const int w = std::max(1, int(area.width / shrink)), h = std::max(1, int(area.height / shrink));
    Surface small(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    cairo_surface_flush(target);
    // The target's pixels lie where the area is drawn, which differs when the picture is scaled.
    double x0 = area.x, y0 = area.y, x1 = area.right(), y1 = area.bottom();
    cairo_user_to_device(cr, &x0, &y0);
    cairo_user_to_device(cr, &x1, &y1);
    cairo_t* s = cairo_create(small.get());
    cairo_scale(s, w / (x1 - x0), h / (y1 - y0));
    cairo_set_source_surface(s, target, -x0, -y0);
    cairo_pattern_set_filter(cairo_get_source(s), CAIRO_FILTER_GOOD);
    cairo_paint(s);
    cairo_destroy(s);
    cairo_save(cr);
    roundedRect(cr, area, radius);
    cairo_clip(cr);
    cairo_translate(cr, area.x, area.y);
    cairo_scale(cr, area.width / w, area.height / h);
    cairo_set_source_surface(cr, small.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
}

void dropShadow(cairo_t* cr, Box b, double radius) {
    for (int i = 1; i <= 6; ++i) {
        const double grow = i * 2.0;
        fillRounded(cr, Box{b.x - grow / 2, b.y - grow / 2 + 4, b.width + grow, b.height + grow},
                    radius + grow / 2, Rgba{0, 0, 0, 0.045});
    }
}

}  // namespace tidra::sim::shot

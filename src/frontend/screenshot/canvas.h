// Drawing helpers for the pictures of the simulated Mac: colours, shapes, text and surfaces,
// over cairo and pango.
#pragma once

#include <cairo.h>

#include <memory>
#include <string>

namespace tidra::sim::shot {

struct Rgba {
    double r = 0, g = 0, b = 0, a = 1;
};

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

struct Box {
    double x = 0, y = 0, width = 0, height = 0;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
};

void setColour(cairo_t* cr, Rgba c);
void roundedRect(cairo_t* cr, Box b, double radius);
void fillRounded(cairo_t* cr, Box b, double radius, Rgba fill);
void strokeRounded(cairo_t* cr, Box b, double radius, Rgba line, double width = 1);

enum class Align { Left, Centre, Right };
struct TextStyle {
    double size = 13;
    bool bold = false;
    Rgba colour{0, 0, 0, 1};
    Align align = Align::Left;
    bool shadow = false;  // a soft dark shadow, for labels over a picture
    int maxLines = 0;     // 0: as many as the text needs
};
// Draws `text` from the top-left corner (x, y), wrapped to `width` when it is positive. Answers
// the height it took.
double drawText(cairo_t* cr, const std::string& text, double x, double y, double width,
                const TextStyle& style);
// The width and height the text takes on one line.
double textWidth(cairo_t* cr, const std::string& text, const TextStyle& style);

// Fonts for one picture: the text drawn while it lives uses a font map of its own, released with
// it, so that nothing of the font machinery outlives the picture.
class FontSession {
  public:
    FontSession();
    ~FontSession();
    FontSession(const FontSession&) = delete;
    FontSession& operator=(const FontSession&) = delete;
};

// What lies behind a translucent panel, softened: the area is shrunk and blown up again.
void blurArea(cairo_t* cr, cairo_surface_t* target, Box area, double radius);

// A drop shadow under a panel, before it is drawn.
void dropShadow(cairo_t* cr, Box b, double radius);

}  // namespace tidra::sim::shot

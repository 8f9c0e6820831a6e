#include "frontend/screenshot/view_painter.h"

#include <cmath>

#include "frontend/screenshot/control_painter.h"
#include "platform/menus.h"
#include "sim/interface/shortcut_recorder.h"
#include "sim/interface/views.h"

namespace tidra::sim::shot {

void drawButton(cairo_t* cr, Box b, const std::string& title, bool isDefault, bool dark) {
    if (isDefault) {
        fillRounded(cr, b, 5, Rgba{0.16, 0.47, 0.96});
    } else {
        fillRounded(cr, b, 5, dark ? Rgba{1, 1, 1, 0.2} : Rgba{1, 1, 1});
        strokeRounded(cr, b, 5, dark ? Rgba{1, 1, 1, 0.15} : Rgba{0, 0, 0, 0.2});
    }
    const Rgba text = isDefault || dark ? Rgba{1, 1, 1} : Rgba{0, 0, 0, 0.85};
    drawText(cr, title, b.x, b.y + (b.height - 16) / 2, b.width,
             TextStyle{13, false, text, Align::Centre, false, 1});
}

void drawCheckbox(cairo_t* cr, double x, double y, const std::string& title, bool checked,
                  bool dark) {
    const Box box{x, y + 1, 14, 14};
    if (checked) {
        fillRounded(cr, box, 3, Rgba{0.16, 0.47, 0.96});
        drawText(cr, "✓", x + 2, y - 1, 0, TextStyle{12, true, Rgba{1, 1, 1}});
    } else {
        fillRounded(cr, box, 3, dark ? Rgba{1, 1, 1, 0.15} : Rgba{1, 1, 1});
        strokeRounded(cr, box, 3, dark ? Rgba{1, 1, 1, 0.3} : Rgba{0, 0, 0, 0.3});
    }
    drawText(cr, title, x + 22, y, 0,
             TextStyle{12, false, dark ? Rgba{1, 1, 1, 0.9} : Rgba{0, 0, 0, 0.85}});
}

void drawTrafficLights(cairo_t* cr, double x, double y, bool zoomable, bool dark) {
    const Rgba colours[] = {{1.0, 0.37, 0.34}, {1.0, 0.74, 0.18}, {0.16, 0.79, 0.25}};
    for (int i = 0; i < 3; ++i) {
        cairo_arc(cr, x + 14 + i * 20, y + 14, 6, 0, 2 * M_PI);
        const bool disabled = i == 2 && !zoomable;
        setColour(cr, !disabled ? colours[i]
                      : dark    ? Rgba{0.36, 0.36, 0.38}
                                : Rgba{0.82, 0.82, 0.83});
        cairo_fill_preserve(cr);
        setColour(cr, disabled ? Rgba{0, 0, 0, dark ? 0.3 : 0.12} : Rgba{0, 0, 0, 0.1});
        cairo_set_line_width(cr, 0.8);
        cairo_stroke(cr);
    }
}

WindowColours windowColours(bool dark) {
    if (dark)
        return {Rgba{0.16, 0.16, 0.17}, Rgba{0.22, 0.22, 0.23}, Rgba{0.19, 0.19, 0.2},
                Rgba{1, 1, 1, 0.85},    Rgba{1, 1, 1, 0.14},    Rgba{0.2, 0.2, 0.21}};
    return {Rgba{0.98, 0.98, 0.98}, Rgba{0.91, 0.91, 0.92}, Rgba{0.95, 0.95, 0.95},
            Rgba{0, 0, 0, 0.85},    Rgba{0, 0, 0, 0.22},    Rgba{0.93, 0.93, 0.94}};
}

Box drawStandardWindow(Scene& scene, Box frame, const std::string& title, bool key, bool zoomable) {
    cairo_t* cr = scene.cr;
    const WindowColours colours = windowColours(scene.dark);
    dropShadow(cr, frame, 10);
    fillRounded(cr, frame, 10, colours.content);
    cairo_save(cr);
    roundedRect(cr, frame, 10);
    cairo_clip(cr);
    setColour(cr, key ? colours.keyTitleBar : colours.titleBar);
    cairo_rectangle(cr, frame.x, frame.y, frame.width, 28);
    cairo_fill(cr);
    setColour(cr, scene.dark ? Rgba{0, 0, 0, 0.5} : Rgba{0, 0, 0, 0.12});
    cairo_rectangle(cr, frame.x, frame.y + 28, frame.width, 1);
    cairo_fill(cr);
    cairo_restore(cr);
    strokeRounded(cr, frame, 10, colours.edge);
    drawTrafficLights(cr, frame.x + 2, frame.y, zoomable, scene.dark);
    Rgba titleColour = colours.text;
    titleColour.a = key ? 0.85 : 0.5;
    drawText(cr, title, frame.x + 80, frame.y + 6, frame.width - 160,
             TextStyle{13, true, titleColour, Align::Centre, false, 1});
    return Box{frame.x, frame.y + 29, frame.width, frame.height - 29};
}

namespace {

bool isDarkAppearance(View* view) {
    auto a = view->appearance();
    return a && a->find("Dark") != std::string::npos;
}

}  // namespace

namespace {

// A text that needs more room than its frame gives is cut off (a title) or runs into what lies
// below (a label): told, so that a translation too long for the layout shows.
void checkRoom(Scene& scene, const std::string& text, double width, double height, Box box) {
    if (text.empty() || (width <= box.width + 0.5 && height <= box.height + 0.5)) return;
    auto points = [](double w, double h) {
        return std::to_string(int(std::ceil(w))) + "×" + std::to_string(int(std::ceil(h)));
    };
    scene.cutOff.push_back("“" + text + "” needs " + points(width, height) + ", has " +
                           points(box.width, box.height));
}

double singleLine(cairo_t* cr, const std::string& text, double size) {
    return textWidth(cr, text, TextStyle{size});
}

}  // namespace

void drawViewTree(Scene& scene, View* view, Box box, bool dark, bool plainButtons) {
    if (!view || view->isHidden()) return;
    cairo_t* cr = scene.cr;
    dark = dark || isDarkAppearance(view);
    if (auto* effect = dynamic_cast<SimVisualEffectView*>(view)) {
        // A behind-window blur of the material's darkness; its frame covers the window.
        blurArea(cr, scene.surface, box, 10);
        const bool ultra = effect->material() == kVisualEffectMaterialUltraDark;
        fillRounded(cr, box, 10, ultra ? Rgba{0.07, 0.07, 0.08, 0.72} : Rgba{0.2, 0.2, 0.22, 0.7});
        dark = true;
    } else if (auto* field = dynamic_cast<SimTextField*>(view); field && plainButtons) {
        // A window of settings: labels in the system's small text, wrapping in their frame.
        const double h =
            drawText(cr, field->stringValue(), box.x, box.y + 2, box.width,
                     TextStyle{12, false, dark ? Rgba{1, 1, 1, 0.85} : Rgba{0, 0, 0, 0.8}});
        checkRoom(scene, field->stringValue(), box.width, h + 2, box);
    } else if (auto* field = dynamic_cast<SimTextField*>(view)) {
        // A field one line tall shows a heading as large as it allows; taller ones hold
        // running text.
        const double h = box.height;
        // A heading keeps to one line: text too long for one line at the heading's size is
        // running text, as a two-line message in a short field is.
        const double headingSize = h >= 30 ? 26.0 : 15.0;
        const bool heading =
            h < 40 && (h < 21 || textWidth(cr, field->stringValue(),
                                           TextStyle{headingSize, true}) <= box.width);
        TextStyle style{!heading  ? 12.5
                        : h >= 30 ? 26.0
                        : h >= 21 ? 15.0
                                  : 12.5,
                        heading && h >= 21, dark ? Rgba{1, 1, 1, 0.92} : Rgba{0, 0, 0, 0.85}};
        const double taken = drawText(cr, field->stringValue(), box.x, box.y + 1, box.width, style);
        checkRoom(scene, field->stringValue(), box.width, taken + 1, box);
    } else if (auto* list = dynamic_cast<SimListView*>(view)) {
        drawList(cr, box, *list, dark);
    } else if (auto* image = dynamic_cast<SimImageView*>(view)) {
        drawImageWell(scene, box, *image, dark);
    } else if (dynamic_cast<SimShortcutRecorder*>(view)) {
        drawRecorderField(cr, box, dark);
    } else if (auto* button = dynamic_cast<SimButton*>(view)) {
        const bool on = button->state() == kControlStateOn;
        // Buttons that lead away (a store link) read as links; the others as push buttons.
        if (button->kind() != ButtonKind::Push)
            checkRoom(scene, button->title(), 22 + singleLine(cr, button->title(), 12), box.height,
                      box);
        else if (button->isBordered())
            checkRoom(scene, button->title(), singleLine(cr, button->title(), 13) + 16, box.height,
                      box);
        else
            checkRoom(scene, button->title(), singleLine(cr, button->title(), 13), box.height, box);
        if (button->kind() == ButtonKind::Switch)
            drawCheckbox(cr, box.x, box.y + 2, button->title(), on, dark);
        else if (button->kind() == ButtonKind::Radio)
            drawRadio(cr, box.x, box.y + 1, button->title(), on, button->isEnabled(), dark);
        else if (!button->isBordered())
            drawText(cr, button->title(), box.x, box.y + 3, box.width,
                     TextStyle{13, false, Rgba{0.4, 0.65, 1.0}, Align::Left});
        else
            drawButton(cr, Box{box.x, box.y + 2, box.width, box.height - 4}, button->title(),
                       !plainButtons && button->isEnabled(), dark);
    }
    for (const auto& child : view->subviews()) {
        const Rect f = child->frame();
        // Frames grow upwards from the superview's bottom-left corner.
        Box childBox{box.x + f.origin.x, box.bottom() - f.origin.y - f.size.height, f.size.width,
                     f.size.height};
        if (f.size.width <= 0 || f.size.height <= 0) childBox = box;
        drawViewTree(scene, child.get(), childBox, dark, plainButtons);
    }
}

}  // namespace tidra::sim::shot

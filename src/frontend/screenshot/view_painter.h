// Views of the simulated Mac's interface drawn as they lie in their window or popover, and the
// chrome around panels: title bars, buttons, checkboxes.
#pragma once

#include "frontend/screenshot/scene.h"
#include "platform/views.h"

namespace tidra::sim::shot {

// Draws `view` and its subviews with the view's frame placed at `box` (top-left corner on the
// picture; the view's own coordinates grow upwards, as on the Mac). `dark`: on a dark surface.
// `plainButtons`: push buttons drawn as ordinary ones, as in a window of settings where no
// button is the default one.
void drawViewTree(Scene& scene, View* view, Box box, bool dark, bool plainButtons = false);

// A push button; the default one is blue.
void drawButton(cairo_t* cr, Box b, const std::string& title, bool isDefault, bool dark);
void drawCheckbox(cairo_t* cr, double x, double y, const std::string& title, bool checked,
                  bool dark);
// The three window buttons at the top-left of a window whose top-left corner is (x, y). A window
// that cannot resize has its zoom button disabled, drawn grey.
void drawTrafficLights(cairo_t* cr, double x, double y, bool zoomable, bool dark);
// The colours of a standard window in the light or dark theme.
struct WindowColours {
    Rgba content, keyTitleBar, titleBar, text, edge, sidebar;
};
WindowColours windowColours(bool dark);
// A standard window in the scene's theme with its title bar; answers the content area under the
// bar.
Box drawStandardWindow(Scene& scene, Box frame, const std::string& title, bool key, bool zoomable);

}  // namespace tidra::sim::shot

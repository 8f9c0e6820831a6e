// The controls of a settings window as a Mac draws them: radio buttons, a list of applications,
// a picture well, and the shortcut recorder's field.
#pragma once

#include "frontend/screenshot/scene.h"
#include "sim/interface/views.h"

namespace tidra::sim::shot {

void drawRadio(cairo_t* cr, double x, double y, const std::string& title, bool on, bool enabled,
               bool dark);
void drawList(cairo_t* cr, Box box, const SimListView& list, bool dark);
// The picture, fitted into the well; an empty well when there is none or it cannot be shown.
void drawImageWell(Scene& scene, Box box, const SimImageView& image, bool dark);
// The field a shortcut recorder is: its label is drawn over it as a subview.
void drawRecorderField(cairo_t* cr, Box box, bool dark);

}  // namespace tidra::sim::shot

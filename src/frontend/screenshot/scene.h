// One picture of the simulated Mac being drawn: where each screen lies in it and what the
// painters share. Each painter reads the Mac's state and draws one layer.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "frontend/screenshot/canvas.h"
#include "sim/mac.h"

namespace tidra::sim::shot {

inline constexpr double kMenuBarHeight = 24;
// The dark seam drawn where two displays meet, so that they read as separate screens.
inline constexpr double kScreenEdge = 2;

struct ScreenArea {
    SimScreens::Info info;
    Box box;
};

struct Scene {
    Mac& mac;
    cairo_t* cr;
    cairo_surface_t* surface;
    std::vector<ScreenArea> screens;  // the main screen first
    bool dark = false;                // the interface theme
    // The desktop pictures drawn as placeholders: "NAME on screen N: REASON".
    std::vector<std::string> unshown = {};
    // Texts of windows and controls that do not fit their frame: "“TEXT” needs W×H, has W×H".
    std::vector<std::string> cutOff = {};

    // The main screen: the menu bar, Finder's desktop and the windows are on it.
    Box main() const { return screens.front().box; }
};

// Where the screens lie, side by side from the main one, top-aligned, as the simulated displays
// are arranged; never empty (a Mac without a display is drawn as one dark screen).
std::vector<ScreenArea> layOutScreens(Mac& mac);

// The layers, from the back.
void paintDesktops(Scene& scene);
void paintWidgets(Scene& scene);
void paintFinderWindows(Scene& scene);
void paintWindows(Scene& scene);
void paintMenuBar(Scene& scene);
void paintPopover(Scene& scene);
void paintNotifications(Scene& scene);
void paintOpenMenu(Scene& scene);
void paintModals(Scene& scene);

// Where Tidra's status item sits in the main screen's menu bar, and in the bar of `screen`.
Box statusItemBox(const Scene& scene);
Box statusItemBoxOn(const Scene& scene, Box screen);

}  // namespace tidra::sim::shot

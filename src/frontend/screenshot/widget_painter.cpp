// Desktop widgets (macOS 14 and later): frosted tiles down the main screen's left side, under
// the windows and above the picture; a widget the window manager hides is not drawn.
#include "frontend/screenshot/scene.h"
#include "sim/widgets.h"

namespace tidra::sim::shot {

void paintWidgets(Scene& scene) {
    if (!scene.mac.system().version().isAtLeast(14)) return;
    const Box screen = scene.main();
    const double size = 150, gap = 16;
    double y = screen.y + kMenuBarHeight + gap;
    for (const auto& widget : desktopWidgets(scene.mac.prefs())) {
        if (!widget.visible) continue;
        if (y + size > screen.bottom()) break;
        const Box tile{screen.x + gap, y, size, size};
        fillRounded(scene.cr, tile, 20, Rgba{0.93, 0.93, 0.95, 0.82});
        drawText(scene.cr, widget.name, tile.x + 14, tile.y + 14, size - 28,
                 TextStyle{13, true, Rgba{0.15, 0.15, 0.18, 1}, Align::Left, false, 3});
        y += size + gap;
    }
}

}  // namespace tidra::sim::shot

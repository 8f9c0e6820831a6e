#include "frontend/screenshot/screenshot.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

#include "frontend/screenshot/scene.h"
#include "prefs/keys.h"

namespace tidra::sim {

namespace shot {

std::vector<ScreenArea> layOutScreens(Mac& mac) {
    std::vector<ScreenArea> out;
    double x = 0;
    for (const auto& info : mac.simScreens().snapshot()) {
        // The built-in display is the window server's own frame; displays plugged in are
        // common external monitors.
        Size size = out.empty() ? mac.windows().screenFrame().size : Size{1920, 1080};
        out.push_back({info, Box{x, 0, size.width, size.height}});
        x += size.width;
    }
    if (out.empty()) {
        Size size = mac.windows().screenFrame().size;
        out.push_back({SimScreens::Info{}, Box{0, 0, size.width, size.height}});
    }
    return out;
}

}  // namespace shot

namespace {

cairo_status_t writeToStream(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::ofstream*>(closure);
    out->write(reinterpret_cast<const char*>(data), length);
    return *out ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

ScreenshotResult writeScreenshot(Mac& mac, const std::string& hostPath) {
    using namespace shot;
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    if (!out) return {std::nullopt, std::strerror(errno)};
    Scene scene{mac, nullptr, nullptr, layOutScreens(mac)};
    const bool noDisplay = mac.simScreens().snapshot().empty();
    double width = 0, height = 0;
    for (const auto& s : scene.screens) {
        width = std::max(width, s.box.right());
        height = std::max(height, s.box.bottom());
    }
    Value style = mac.prefs().domainSnapshot(kGlobalDomain)[Value(prefs::kAppleInterfaceStyle)];
    scene.dark = style.isString() && style.string() == "Dark";

    FontSession fonts;  // outlives every cairo object of the picture
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(std::ceil(width)),
                                               int(std::ceil(height))));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return {std::nullopt, cairo_status_to_string(cairo_surface_status(surface.get()))};
    scene.surface = surface.get();
    scene.cr = cairo_create(surface.get());
    cairo_set_source_rgb(scene.cr, 0.08, 0.08, 0.08);
    cairo_paint(scene.cr);
    if (!noDisplay) {
        paintDesktops(scene);
        paintWidgets(scene);
        paintFinderWindows(scene);
        paintWindows(scene);
        paintMenuBar(scene);
        paintPopover(scene);
        paintNotifications(scene);
        paintOpenMenu(scene);
        paintModals(scene);
    }
    cairo_destroy(scene.cr);
    cairo_status_t status = cairo_surface_write_to_png_stream(surface.get(), writeToStream, &out);
    out.close();
    if (status != CAIRO_STATUS_SUCCESS || !out)
        return {std::nullopt, "the picture could not be written"};
    return {ScreenshotSize{int(std::ceil(width)), int(std::ceil(height))}, ""};
}

}  // namespace tidra::sim

#include "frontend/screenshot/screenshot.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "frontend/screenshot/scene.h"
#include "prefs/keys.h"

namespace tidra::sim {

namespace fs = std::filesystem;

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

// Cairo's largest image surface is 32767 pixels on a side.
constexpr double kMaxSide = 32767;

struct FileSink {
    int fd = -1;
    bool failed = false;
};

cairo_status_t writeToFile(void* closure, const unsigned char* data, unsigned int length) {
    auto* sink = static_cast<FileSink*>(closure);
    while (length > 0 && !sink->failed) {
        const ssize_t n = ::write(sink->fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            sink->failed = true;
            break;
        }
        data += n;
        length -= unsigned(n);
    }
    return sink->failed ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}

// Writes the picture beside `hostPath` and renames it into place, so that a picture that fails
// half way leaves whatever file was there whole. Answers the reason it failed, or nothing.
std::optional<std::string> writePng(cairo_surface_t* surface, const std::string& hostPath) {
    const fs::path target(hostPath);
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".tmp-XXXXXX")).string();
    FileSink sink{::mkstemp(temporary.data())};
    if (sink.fd < 0) return std::string(std::strerror(errno));
    // As a file the ordinary way would be made: readable as the umask allows.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(sink.fd, 0666 & ~mask);
    const cairo_status_t status = cairo_surface_write_to_png_stream(surface, writeToFile, &sink);
    const int error = errno;
    const bool closed = ::close(sink.fd) == 0;
    if (status != CAIRO_STATUS_SUCCESS || sink.failed || !closed) {
        ::unlink(temporary.c_str());
        return sink.failed ? std::string(std::strerror(error))
                           : std::string(cairo_status_to_string(status));
    }
    if (::rename(temporary.c_str(), hostPath.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temporary.c_str());
        return reason;
    }
    return std::nullopt;
}

}  // namespace

ScreenshotResult writeScreenshot(Mac& mac, const std::string& hostPath) {
    using namespace shot;
    Scene scene{mac, nullptr, nullptr, layOutScreens(mac)};
    const bool noDisplay = mac.simScreens().snapshot().empty();
    double width = 0, height = 0;
    for (const auto& s : scene.screens) {
        width = std::max(width, s.box.right());
        height = std::max(height, s.box.bottom());
    }
    // Many displays side by side make a picture wider than cairo can draw: it is scaled down to
    // fit, and the size it tells says so.
    const double fit = std::min({1.0, kMaxSide / std::ceil(width), kMaxSide / std::ceil(height)});
    const int drawnWidth = std::max(1, int(std::floor(std::ceil(width) * fit + 1e-6)));
    const int drawnHeight = std::max(1, int(std::floor(std::ceil(height) * fit + 1e-6)));
    Value style = mac.prefs().domainSnapshot(kGlobalDomain)[Value(prefs::kAppleInterfaceStyle)];
    scene.dark = style.isString() && style.string() == "Dark";

    FontSession fonts;  // outlives every cairo object of the picture
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, drawnWidth, drawnHeight));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return {std::nullopt, cairo_status_to_string(cairo_surface_status(surface.get()))};
    scene.surface = surface.get();
    scene.cr = cairo_create(surface.get());
    cairo_scale(scene.cr, fit, fit);
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
    if (auto failure = writePng(surface.get(), hostPath)) return {std::nullopt, *failure};
    ScreenshotSize size{drawnWidth, drawnHeight, std::nullopt};
    if (fit < 1)
        size.scaledFrom = ScreenshotSize::Full{int(std::ceil(width)), int(std::ceil(height))};
    return {size, "", scene.unshown, scene.cutOff};
}

}  // namespace tidra::sim

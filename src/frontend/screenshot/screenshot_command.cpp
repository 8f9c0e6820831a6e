#include "frontend/screenshot/screenshot_command.h"

#include <filesystem>

#include "frontend/frontend.h"
#include "frontend/screenshot/screenshot.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

// "tidra-screenshot-N.png" in the current folder, with the first N not taken.
fs::path nextFreeName() {
    for (int n = 1;; ++n) {
        fs::path candidate =
            fs::current_path() / ("tidra-screenshot-" + std::to_string(n) + ".png");
        std::error_code ec;
        if (!fs::exists(candidate, ec) && !ec) return candidate;
    }
}

}  // namespace

void addScreenshotCommand(Frontend& f) {
    f.add("screenshot", "screenshot [FILE.png]", [&f](const CommandLine& cl) {
        std::error_code ec;
        // A file on the host, not on the simulated disk: relative to the current folder.
        fs::path file = cl.words.size() > 1 ? fs::absolute(titleFrom(cl, 1), ec) : nextFreeName();
        if (ec) throw CommandError{"cannot use " + titleFrom(cl, 1) + ": " + ec.message()};
        ScreenshotResult r = writeScreenshot(f.mac(), file.string());
        if (!r.size) throw CommandError{"cannot write " + file.string() + ": " + r.error};
        f.out() << file.string() << " (" << r.size->width << "x" << r.size->height << ")\n";
    });
}

}  // namespace tidra::sim

#include "frontend/screenshot/screenshot_command.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "frontend/frontend.h"
#include "frontend/screenshot/screenshot.h"
#include "text/ascii.h"

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

// The host file a typed name stands for, as a shell would take it: "~" and "~/…" in the host's
// home folder, anything else from the current folder. A name without ".png" (in any case) gets
// it, since the file is a PNG whatever it is called.
fs::path screenshotFile(const std::string& typed) {
    if (typed.empty())
        throw CommandError{
            "the file name is empty: give one (FILE.png), or none for "
            "tidra-screenshot-N.png in the current folder"};
    std::string name = typed;
    if (name == "~" || name.starts_with("~/")) {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* user = ::getpwuid(::getuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home || !*home) throw CommandError{"cannot expand ~: the home folder is not known"};
        name = std::string(home) + name.substr(1);
    }
    std::error_code ec;
    fs::path file = fs::absolute(name, ec);
    if (ec) throw CommandError{"cannot use " + typed + ": " + ec.message()};
    if (fs::is_directory(file, ec)) throw CommandError{typed + " is a folder; give a file name"};
    if (asciiLower(file.extension().string()) != ".png") file += ".png";
    return file;
}

}  // namespace

void addScreenshotCommand(Frontend& f) {
    f.add("screenshot", "screenshot [FILE.png]", [&f](const CommandLine& cl) {
        // A file on the host, not on the simulated disk.
        fs::path file = cl.words.size() > 1 ? screenshotFile(titleFrom(cl, 1)) : nextFreeName();
        ScreenshotResult r = writeScreenshot(f.mac(), file.string());
        if (!r.size) throw CommandError{"cannot write " + file.string() + ": " + r.error};
        f.out() << file.string() << " (" << r.size->width << "x" << r.size->height;
        if (r.size->scaledFrom)
            f.out() << ", scaled down from " << r.size->scaledFrom->width << "x"
                    << r.size->scaledFrom->height << " to fit";
        f.out() << ")\n";
        for (const std::string& picture : r.unshown) f.out() << "  not shown: " << picture << "\n";
        for (const std::string& text : r.cutOff) f.out() << "  cut off: " << text << "\n";
    });
}

}  // namespace tidra::sim

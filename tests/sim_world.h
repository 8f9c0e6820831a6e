// A simulated Mac in a fresh folder, driven through the front end as a script would drive it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "about/companion_store.h"
#include "app/class_registry.h"
#include "frontend/frontend.h"
#include "menu/status_menu_controller.h"
#include "sim/interface/views.h"
#include "sim/mac.h"
#include "test_files.h"
#include "test_folder.h"

namespace tidra::testing {

class SimWorld {
  public:
    // Tidra lies in /Applications unless the options say otherwise, so no move offer shows; it
    // is launched at once unless `launched` is false (then `launch` starts it). Unless
    // `automationAsked`, the user allowed Tidra to control System Events before, so that no
    // automation prompt holds up a launch that is not about it.
    explicit SimWorld(sim::MacOptions options = {}, bool launched = true,
                      bool automationAsked = false) {
        if (!automationAsked) options.automationAllowedBefore = true;
        if (options.bundleIn.empty()) options.bundleIn = "applications";
        if (options.root.empty()) options.root = freshTestFolder("mac").string();
        // Tidra.app runs Tidra, with the stand-in for its feedback framework.
        if (!options.tidraProgram) options.tidraProgram = makeTidraClasses;
        if (options.feedbackAddress.empty()) options.feedbackAddress = kFeedbackAddressPlaceholder;
        options_ = options;
        start(launched);
    }

    // Launches Tidra with `script` waiting, so that what the launch asks (the move offer's alerts)
    // is answered by its first lines as a user at the front end would, then runs the rest.
    // Answers what the front end printed.
    std::string launch(const std::string& script) {
        feed(script);
        frontend_->attach(in_, false);
        frontend_->launch();
        status_ = frontend_->runScript(in_);
        return out_.str();
    }
    // Runs script lines; answers what the front end printed. A rejected line stops the script.
    std::string run(const std::string& lines) {
        feed(lines);
        status_ = frontend_->runScript(in_);
        return out_.str();
    }
    // Runs lines as a person types them at the prompt (on the virtual clock); answers everything
    // shown, pictures included.
    std::string type(const std::string& lines) {
        feed(lines);
        frontend_->attach(in_, true);
        status_ = frontend_->runInteractive(in_);
        const std::string shown = out_.str();
        feed("");
        frontend_->attach(in_, false);
        return shown;
    }
    int lastStatus() const { return status_; }
    nlohmann::json status() { return frontend_->statusJson(); }
    // Shuts the simulated Mac down and starts it again on the same disk, Tidra's bundle where the
    // last run left it.
    void restartMac(bool launched = true) {
        frontend_.reset();
        mac_.reset();
        options_.bundleIn.clear();
        start(launched);
    }

    sim::Mac& mac() { return *mac_; }
    sim::Frontend& frontend() { return *frontend_; }
    // Tidra's controller while it runs: the tests may know Tidra's classes, the Mac does not.
    StatusMenuController* controller() {
        sim::SimApplication* app = mac_->application();
        return app ? dynamic_cast<StatusMenuController*>(app->object("controller")) : nullptr;
    }
    nlohmann::json defaults(const std::string& domain) { return status()["defaults"][domain]; }
    bool exists(const std::string& macPath) const {
        return std::filesystem::exists(mac_->disk().real(macPath));
    }

  private:
    void start(bool launched) {
        mac_ = std::make_unique<sim::Mac>(options_);
        frontend_ = std::make_unique<sim::Frontend>(*mac_, out_);
        feed("");
        frontend_->attach(in_, false);
        if (launched) frontend_->launch();
    }
    // The front end reads from one stream that lives as long as the world, so that a launch
    // started outside a script still finds its input.
    void feed(const std::string& lines) {
        in_.str(lines);
        in_.clear();
        out_.str("");
    }

    sim::MacOptions options_;
    std::istringstream in_;
    std::ostringstream out_;
    std::unique_ptr<sim::Mac> mac_;
    std::unique_ptr<sim::Frontend> frontend_;
    int status_ = 0;
};

// Pictures Tidra, the simulated Mac and its user's folders come with, and where Tidra keeps the
// pictures it imports.
inline constexpr const char* kGrey = "/Applications/Tidra.app/Contents/Resources/wallpaper.png";
// The default picture of the Mac the tests make (10.15).
inline constexpr const char* kSystemPicture = "/Library/Desktop Pictures/Catalina.heic";
inline constexpr const char* kMountains = "/Users/me/Pictures/Mountains.jpg";
inline constexpr const char* kSunset = "/Users/me/Pictures/Sunset.heic";
inline constexpr const char* kSupport = "/Users/me/Library/Application Support/Tidra";

// What every connected screen shows, in the order the status lists them.
inline std::vector<std::string> pictures(SimWorld& w) {
    std::vector<std::string> out;
    const nlohmann::json status = w.status();
    for (const auto& s : status["screens"]) out.push_back(s["wallpaper"]);
    return out;
}

// What screen `number` shows, or "(not connected)".
inline std::string picture(SimWorld& w, std::uint32_t number) {
    const nlohmann::json status = w.status();
    for (const auto& s : status["screens"])
        if (s["number"] == number) return s["wallpaper"];
    return "(not connected)";
}

// The state of the status menu's item of that title, in a submenu or not (1 ticked, 0 not), as
// the user sees it.
inline int menuState(SimWorld& w, const std::string& title) {
    const nlohmann::json status = w.status();
    std::function<const nlohmann::json*(const nlohmann::json&)> find =
        [&](const nlohmann::json& items) -> const nlohmann::json* {
        for (const auto& entry : items) {
            if (entry.value("title", "") == title) return &entry;
            if (entry.contains("submenu"))
                if (const auto* found = find(entry["submenu"])) return found;
        }
        return nullptr;
    };
    if (const auto* entry = find(status["menu"])) return (*entry)["state"];
    ADD_FAILURE() << "no menu item " << title;
    return -1;
}

// A Mac running the system `major`.`minor`, everything else as SimWorld sets it.
inline sim::MacOptions onSystem(int major, int minor = 0) {
    sim::MacOptions options;
    options.systemVersion = OperatingSystemVersion{major, minor, 0};
    return options;
}

// The text of a label in the open window loaded from `nib`, or "(closed)".
inline std::string windowText(SimWorld& w, const std::string& nib, const std::string& id) {
    for (sim::SimWindow* window : w.mac().windows().onScreen()) {
        if (window->nibName() != nib) continue;
        auto* label = dynamic_cast<TextField*>(sim::viewWithIdentifier(window->contentView(), id));
        return label ? label->stringValue() : "(no label)";
    }
    return "(closed)";
}

// A file of the simulated disk, read whole.
inline std::string contents(SimWorld& w, const std::string& macPath) {
    return readBytes(w.mac().disk().real(macPath));
}
// Puts a file on the simulated disk, as the user might have it there.
inline void putFile(SimWorld& w, const std::string& macPath, const std::string& bytes) {
    writeBytes(w.mac().disk().real(macPath), bytes);
}

}  // namespace tidra::testing

// Runs script lines and fails the test, with what was printed and the state, on a rejected one.
#define RUN_OK(w, script)                                       \
    do {                                                        \
        const std::string out_ = (w).run(script);               \
        ASSERT_EQ((w).lastStatus(), 0) << out_ << (w).status(); \
    } while (false)

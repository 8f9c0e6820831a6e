// A simulated Mac in a fresh folder, driven through the front end as a script would drive it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "frontend/frontend.h"
#include "menu/status_menu_controller.h"
#include "sim/mac.h"
#include "test_folder.h"

namespace tidra::testing {

class SimWorld {
  public:
    // Tidra lies in /Applications unless the options say otherwise, so no move offer shows.
    explicit SimWorld(sim::MacOptions options = {}) {
        if (options.bundleIn.empty()) options.bundleIn = "applications";
        if (options.root.empty()) {
            options.root = freshTestFolder("mac").string();
        }
        options_ = options;
        start();
    }

    // Runs script lines; answers what the front end printed. A rejected line stops the script.
    std::string run(const std::string& lines) {
        std::istringstream in(lines);
        out_.str("");
        status_ = frontend_->runScript(in);
        return out_.str();
    }
    // Runs lines as a person types them at the prompt (on the virtual clock); answers everything
    // shown, pictures included.
    std::string type(const std::string& lines) {
        std::istringstream in(lines);
        out_.str("");
        frontend_->attach(in, true);
        status_ = frontend_->runInteractive(in);
        std::istringstream none;
        frontend_->attach(none, false);
        return out_.str();
    }
    int lastStatus() const { return status_; }
    nlohmann::json status() { return frontend_->statusJson(); }
    // Shuts the simulated Mac down and starts it again on the same disk.
    void restartMac(bool launch = true) {
        frontend_.reset();
        mac_.reset();
        options_.bundleIn.clear();
        start(launch);
    }

    sim::Mac& mac() { return *mac_; }
    sim::Frontend& frontend() { return *frontend_; }
    StatusMenuController* controller() { return mac_->controller(); }
    nlohmann::json defaults(const std::string& domain) { return status()["defaults"][domain]; }

  private:
    void start(bool launch = true) {
        mac_ = std::make_unique<sim::Mac>(options_);
        frontend_ = std::make_unique<sim::Frontend>(*mac_, out_);
        std::istringstream none;
        frontend_->attach(none, false);
        if (launch) frontend_->launch();
    }

    sim::MacOptions options_;
    std::ostringstream out_;
    std::unique_ptr<sim::Mac> mac_;
    std::unique_ptr<sim::Frontend> frontend_;
    int status_ = 0;
};

// What screen `number` shows, or "(not connected)".
inline std::string picture(SimWorld& w, std::uint32_t number) {
    const nlohmann::json status = w.status();
    for (const auto& s : status["screens"])
        if (s["number"] == number) return s["wallpaper"];
    return "(not connected)";
}

// A file of the simulated disk, read whole.
inline std::string contents(SimWorld& w, const std::string& macPath) {
    std::ifstream in(w.mac().disk().real(macPath), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tidra::testing

// Runs script lines and fails the test, with what was printed and the state, on a rejected one.
#define RUN_OK(w, script)                                       \
    do {                                                        \
        const std::string out_ = (w).run(script);               \
        ASSERT_EQ((w).lastStatus(), 0) << out_ << (w).status(); \
    } while (false)

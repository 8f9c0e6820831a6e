#include "frontend/install_commands.h"

#include "frontend/frontend.h"
#include "sim/file_manager.h"

namespace tidra::sim {

namespace {

nlohmann::json alertJson(const SimAlert& alert) {
    nlohmann::json buttons = nlohmann::json::array();
    for (const auto& b : alert.buttons()) {
        std::string key = b->keyEquivalent();
        if (key == "\r") key = "return";
        if (key == "\x1b") key = "escape";
        buttons.push_back({{"title", b->title()}, {"key", key}});
    }
    nlohmann::json j = {{"kind", "alert"},
                        {"message", alert.messageText()},
                        {"informative", alert.informativeText()},
                        {"buttons", buttons}};
    if (alert.showsSuppressionButton())
        j["checkbox"] = {{"title", alert.suppression().title()},
                         {"checked", alert.suppression().state() == 1}};
    return j;
}

// The answers to the alerts and the password dialog, and what can make a move fail.
void addMoveCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("alert", "alert BUTTON-TITLE [--suppress]", [&f, &mac](const CommandLine& cl) {
        std::vector<std::string> words(cl.words.begin() + 1, cl.words.end());
        const bool suppress = !words.empty() && words.back() == "--suppress";
        if (suppress) words.pop_back();
        if (words.empty()) f.usageError();
        std::string title;
        for (const auto& w : words) title += (title.empty() ? "" : " ") + w;
        if (auto problem = mac.alerts().answer(title, suppress)) throw CommandError{*problem};
    });
    f.add("password", "password ok|cancel", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2 || (cl.words[1] != "ok" && cl.words[1] != "cancel"))
            f.usageError();
        if (!mac.simAuthorization().answerPassword(cl.words[1] == "ok"))
            throw CommandError{"no password dialog is open"};
    });
    f.add("authorization", "authorization fail COMMAND-PREFIX on|off",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() != 4 || cl.words[1] != "fail" || cl.words[2].empty())
                  f.usageError();
              mac.simAuthorization().setCommandFailing(cl.words[2], f.onOff(cl.words[3]));
          });
    // `full on`: Applications stays writable but has no room for a copy of Tidra.
    f.add("applications", "applications writable|full on|off", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 3 || (cl.words[1] != "writable" && cl.words[1] != "full"))
            f.usageError();
        const bool on = f.onOff(cl.words[2]);
        auto* files = dynamic_cast<SimFileManager*>(&mac.fileManager());
        if (!files) throw CommandError{"the file manager is not the simulated one"};
        if (cl.words[1] == "writable") {
            files->setLocalApplicationsWritable(on);
        } else {
            files->setCopiesFailing("/Applications", on);
        }
    });
    f.add("trash", "trash on|off", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2) f.usageError();
        mac.disk().setTrashAvailable(f.onOff(cl.words[1]));
    });
}

// While an alert or the password dialog is open, only its answer goes on.
void addMoveModals(Frontend& f) {
    Mac& mac = f.mac();
    f.addModal(
        [&mac] {
            const auto& open = mac.alerts().open();
            if (open.empty()) return std::string();
            return "the alert \"" + open.back()->messageText() + "\" (`alert BUTTON-TITLE`)";
        },
        {"alert"});
    f.addModal(
        [&mac] {
            return mac.simAuthorization().passwordDialogOpen()
                       ? std::string("the administrator password dialog (`password ok|cancel`)")
                       : std::string();
        },
        {"password"});
}

void addMoveStatus(Frontend& f) {
    Mac& mac = f.mac();
    f.addStatus([&mac](nlohmann::json& s) {
        nlohmann::json alerts = nlohmann::json::array();
        for (const SimAlert* a : mac.alerts().open()) alerts.push_back(alertJson(*a));
        if (mac.simAuthorization().passwordDialogOpen())
            alerts.push_back(
                {{"kind", "password"},
                 {"message", mac.simAuthorization().passwordDialogText()},
                 {"buttons", nlohmann::json::array({{{"title", "OK"}, {"key", "return"}},
                                                    {{"title", "Cancel"}, {"key", "escape"}}})}});
        if (const auto prompt = mac.automationConsent().prompt())
            alerts.push_back(
                {{"kind", "automation"},
                 {"message", *prompt},
                 {"informative", mac.automationConsent().promptPurpose()},
                 {"buttons", nlohmann::json::array({{{"title", "Don’t Allow"}, {"key", "escape"}},
                                                    {{"title", "OK"}, {"key", "return"}}})}});
        s["alerts"] = alerts;
        nlohmann::json volumes = nlohmann::json::array();
        for (const auto& v : mac.diskImages().mounted())
            volumes.push_back(
                {{"image", v.imagePath}, {"device", v.device}, {"mountPoint", v.mountPoint}});
        s["volumes"] = volumes;
    });
}

}  // namespace

void addInstallCommands(Frontend& f) {
    addMoveCommands(f);
    addMoveModals(f);
    addMoveStatus(f);
}

}  // namespace tidra::sim

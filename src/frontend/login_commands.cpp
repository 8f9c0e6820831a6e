#include "frontend/login_commands.h"

#include <optional>

#include "frontend/frontend.h"

namespace tidra::sim {

bool hasAppService(Mac& mac) {
    return mac.system().version().isAtLeast(13);
}

namespace {

// Whether Tidra may control System Events: kept answer, or nothing before it asked.
std::optional<bool> systemEventsConsent(Mac& mac) {
    return mac.automationConsent().answer(kTidraBundleIdentifier, kSystemEventsIdentifier);
}

// `system-events consent allow|deny`: the answer to the prompt showing, or else the switch under
// Tidra in the Automation pane, which lists Tidra once it has asked.
void answerConsent(Mac& mac, bool allow) {
    SimAutomationConsent& consent = mac.automationConsent();
    if (!consent.asks())
        throw CommandError{"macOS " + systemVersionText(mac.system().version()) +
                           " asks no consent for automation and has no Automation pane; both "
                           "come with macOS 10.14"};
    if (consent.answerPrompt(allow)) return;
    if (!systemEventsConsent(mac))
        throw CommandError{
            "Tidra has not asked to control System Events yet; the Automation pane of Privacy & "
            "Security lists it once it has"};
    if (!consent.changeAnswer(kTidraBundleIdentifier, kSystemEventsIdentifier, allow))
        throw CommandError{"could not store the answer on the disk"};
}

}  // namespace

std::string automationStatusText(Mac& mac) {
    if (!mac.automationConsent().asks()) return "";
    const auto answer = systemEventsConsent(mac);
    return std::string("Automation of System Events: ") +
           (answer ? (*answer ? "allowed" : "denied") : "not asked yet") +
           " (`system-events consent allow|deny`)\n";
}

std::string appServiceStatusText(Mac& mac) {
    if (!hasAppService(mac)) return "";
    // That Tidra opened its pane in System Settings is told with what else it opened.
    return std::string("Login item service: ") + appServiceStatusName(mac.appService().status()) +
           " (`app-service enable|disable`)\n";
}

void addLoginCommands(Frontend& f) {
    Mac& mac = f.mac();
    f.add("system-events", "system-events on|off | system-events consent deny|allow",
          [&f, &mac](const CommandLine& cl) {
              if (cl.words.size() == 3 && cl.words[1] == "consent") {
                  if (cl.words[2] != "allow" && cl.words[2] != "deny")
                      f.usageError("consent is deny or allow");
                  answerConsent(mac, cl.words[2] == "allow");
                  return;
              }
              if (cl.words.size() != 2) f.usageError();
              mac.systemEvents().setAvailable(f.onOff(cl.words[1]));
          });
    f.add("login-items", "login-items add NAME PATH", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 4 || cl.words[1] != "add") f.usageError();
        if (cl.words[2].empty() || cl.words[3].empty()) f.usageError("NAME and PATH are needed");
        if (!mac.systemEvents().addLoginItem({cl.words[2], cl.words[3], false}))
            throw CommandError{"could not store the login items on the disk"};
    });
    f.add("app-service", "app-service enable|disable", [&f, &mac](const CommandLine& cl) {
        if (cl.words.size() != 2 || (cl.words[1] != "enable" && cl.words[1] != "disable"))
            f.usageError();
        if (!hasAppService(mac))
            throw CommandError{"Login Items switches for background items come with macOS 13"};
        mac.appService().setAllowed(cl.words[1] == "enable");
    });
    f.addStatus([&mac](nlohmann::json& s) {
        s["appService"] =
            hasAppService(mac)
                ? nlohmann::json{{"status", appServiceStatusName(mac.appService().status())}}
                : nlohmann::json(nullptr);
        nlohmann::json items = nlohmann::json::array();
        for (const auto& item : mac.systemEvents().loginItems())
            items.push_back({{"name", item.name}, {"path", item.path}, {"hidden", item.hidden}});
        s["loginItems"] = items;
        nlohmann::json automation = nullptr;
        if (mac.automationConsent().asks()) {
            nlohmann::json answers = nlohmann::json::array();
            for (const auto& [key, allowed] : mac.automationConsent().answers()) {
                const auto arrow = key.find(" → ");
                answers.push_back(
                    {{"client", key.substr(0, arrow)},
                     {"target", arrow == std::string::npos ? "" : key.substr(arrow + 5)},
                     {"allowed", allowed}});
            }
            const auto prompt = mac.automationConsent().prompt();
            automation = {{"answers", answers},
                          {"prompt", prompt ? nlohmann::json(*prompt) : nlohmann::json(nullptr)}};
        }
        s["automation"] = automation;
    });
    // The system's automation prompt: only its answer goes on while Tidra waits for it.
    f.addModal(
        [&mac] {
            const auto prompt = mac.automationConsent().prompt();
            return prompt ? "the automation prompt \"" + *prompt +
                                "\" (`system-events consent allow|deny`)"
                          : std::string();
        },
        {"system-events"});
}

}  // namespace tidra::sim

#include "frontend/login_commands.h"

#include "frontend/frontend.h"

namespace tidra::sim {

bool hasAppService(Mac& mac) {
    return mac.system().version().isAtLeast(13);
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
                  mac.systemEvents().setAutomationAllowed(cl.words[2] == "allow");
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
    });
}

}  // namespace tidra::sim

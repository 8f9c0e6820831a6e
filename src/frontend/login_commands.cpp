#include "frontend/login_commands.h"

#include "frontend/frontend.h"

namespace tidra::sim {

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
    f.addStatus([&mac](nlohmann::json& s) {
        nlohmann::json items = nlohmann::json::array();
        for (const auto& item : mac.systemEvents().loginItems())
            items.push_back({{"name", item.name}, {"path", item.path}, {"hidden", item.hidden}});
        s["loginItems"] = items;
    });
}

}  // namespace tidra::sim

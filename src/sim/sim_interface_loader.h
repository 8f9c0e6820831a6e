// Loads window and view descriptions (resources/<name>.json) into simulated windows and views,
// connecting outlets and actions to the description's owner by name. The main menu's
// description is read elsewhere.
#pragma once

#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "platform/console.h"
#include "platform/interface_loader.h"
#include "sim/sim_windows.h"

namespace tidra::sim {

class SimInterfaceLoader : public InterfaceLoader {
  public:
    SimInterfaceLoader(std::string resourcesDir, SimWindowList& windows, Console& console)
        : dir_(std::move(resourcesDir)), windows_(windows), console_(console) {}

    std::shared_ptr<Window> loadWindow(const std::string& nibName, Object& owner) override;
    std::shared_ptr<View> loadView(const std::string& nibName, Object& owner) override;

  private:
    std::optional<nlohmann::json> read(const std::string& nibName);

    std::string dir_;
    SimWindowList& windows_;
    Console& console_;
};

}  // namespace tidra::sim

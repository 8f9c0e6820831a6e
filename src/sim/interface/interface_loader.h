// Loads window and view descriptions (<name>.json among the main bundle's resources) into
// simulated windows and views, connecting outlets and actions to the description's owner by
// name. The main menu's description is read elsewhere.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/interface_loader.h"
#include "platform/interface_walk.h"
#include "platform/value.h"
#include "sim/interface/windows.h"

namespace tidra::sim {

class SimInterfaceLoader : public InterfaceLoader {
  public:
    // The real path of a description file by its name, or nothing when the bundle lacks it.
    using ResourceLookup = std::function<std::optional<std::string>(const std::string& nibName)>;

    // A description's text in the user's language, from the bundle's table named after it.
    using TextLookup =
        std::function<std::string(const std::string& text, const std::string& table)>;

    // Bound checkboxes show and write `bindings`, the application's preferences; without a store
    // they stay unbound. Without `texts` the descriptions show their own (English) texts.
    SimInterfaceLoader(ResourceLookup lookup, SimWindowList& windows, Console& console,
                       UserDefaults* bindings = nullptr, TextLookup texts = {})
        : lookup_(std::move(lookup)),
          windows_(windows),
          console_(console),
          bindings_(bindings),
          texts_(std::move(texts)) {}
    // Descriptions from a folder of <name>.json files.
    static ResourceLookup inFolder(std::string dir);

    std::shared_ptr<Window> loadWindow(const std::string& nibName, Object& owner) override;
    std::shared_ptr<View> loadView(const std::string& nibName, Object& owner) override;

  private:
    std::optional<Value> read(const std::string& nibName);
    InterfaceTexts textsOf(const std::string& nibName) const;

    ResourceLookup lookup_;
    SimWindowList& windows_;
    Console& console_;
    UserDefaults* bindings_;
    TextLookup texts_;
};

}  // namespace tidra::sim

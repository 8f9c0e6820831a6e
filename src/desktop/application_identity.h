// Which application a bundle the user picked is: its bundle identifier, read from its Info.plist
// as Launch Services reads it, and the name Finder shows for it.
#pragma once

#include <string>
#include <variant>

#include "platform/defaults.h"
#include "platform/file_manager.h"

namespace tidra {

struct ApplicationIdentity {
    std::string bundleIdentifier;
    std::string name;  // the bundle's name without ".app"
};

// What keeps Tidra from telling an application: `reason` is an English text whose %@ stands for
// `name` (the bundle's file name), and the key of its translation.
struct ApplicationRefusal {
    std::string reason;
    std::string name;
};

// The identity of the application at `bundlePath`, or what keeps Tidra from telling it.
std::variant<ApplicationIdentity, ApplicationRefusal> identifyApplication(
    FileManager& files, Archiver& propertyLists, const std::string& bundlePath);

// The name Finder shows for an application bundle: its file name without ".app".
std::string applicationName(const std::string& bundlePath);

}  // namespace tidra

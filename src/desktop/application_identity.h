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

// The identity of the application at `bundlePath`, or what keeps Tidra from telling it, in
// words for the user.
std::variant<ApplicationIdentity, std::string> identifyApplication(FileManager& files,
                                                                   Archiver& propertyLists,
                                                                   const std::string& bundlePath);

// The name Finder shows for an application bundle: its file name without ".app".
std::string applicationName(const std::string& bundlePath);

}  // namespace tidra

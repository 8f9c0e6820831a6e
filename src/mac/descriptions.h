// Interface descriptions (resources/<name>.json in the main bundle), read with
// NSJSONSerialization into Tidra's values. The simulated Mac reads the same files, and both
// backends build them through the same walk (platform/interface_walk.h), so both show one
// interface.
#pragma once

#import <Foundation/Foundation.h>

#include <optional>
#include <string>

#include "platform/interface_walk.h"
#include "platform/value.h"

namespace tidra::mac {

// The description's top-level object; nothing when the bundle lacks it or it is not a JSON
// object.
std::optional<Value> readDescription(const std::string& name);
// The same from the file's bytes.
std::optional<Value> descriptionFromData(NSData* bytes);
// The description's texts in the user's language, from the main bundle's strings table named
// after the description (Resources/<language>.lproj/<name>.strings).
InterfaceTexts interfaceTexts(const std::string& name);

}  // namespace tidra::mac

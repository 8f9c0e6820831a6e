// The classes Tidra's interface descriptions name, bound to the platform they run on.
#pragma once

#include "platform/platform.h"

namespace tidra {

ClassRegistry makeTidraClasses(const Platform& platform);

}  // namespace tidra

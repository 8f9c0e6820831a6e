// Screens over NSScreen.
#pragma once

#import <AppKit/AppKit.h>

#include "platform/screens.h"

namespace tidra::mac {

NSScreen* nativeScreenOf(const Screen& screen);

}  // namespace tidra::mac

// Images by name over NSImage.
#pragma once

#import <AppKit/AppKit.h>

#include "platform/images.h"

namespace tidra::mac {

NSImage* nativeImageOf(const Image* image);

}  // namespace tidra::mac

// The view of a shortcut recorder: it takes the key combinations typed while it has the focus,
// ⌘ ones included, and hands each to its forwarder.
#pragma once

#import <AppKit/AppKit.h>

#include "mac/forwarder.h"

@interface TidraShortcutRecorderView : NSView {
    TidraForwarder* _forwarder;
    unsigned short _keyCode;
    NSUInteger _modifierFlags;
    BOOL _hasKeyPress;
}
- (void)setForwarder:(TidraForwarder*)forwarder;
- (BOOL)hasKeyPress;
- (unsigned short)lastKeyCode;
- (NSUInteger)lastModifierFlags;
@end

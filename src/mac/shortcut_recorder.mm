#include "mac/shortcut_recorder.h"

@implementation TidraShortcutRecorderView

- (void)setForwarder:(TidraForwarder*)forwarder {
    _forwarder = forwarder;
}

- (BOOL)hasKeyPress {
    return _hasKeyPress;
}

- (unsigned short)lastKeyCode {
    return _keyCode;
}

- (NSUInteger)lastModifierFlags {
    return _modifierFlags;
}

- (BOOL)acceptsFirstResponder {
    return YES;
}

- (void)keyDown:(NSEvent*)event {
    _keyCode = [event keyCode];
    _modifierFlags = [event modifierFlags];
    _hasKeyPress = YES;
    [_forwarder send:self];
}

// ⌘ combinations reach key equivalents before keyDown: while the recorder has the focus they
// are its to record, not the menus' to perform.
- (BOOL)performKeyEquivalent:(NSEvent*)event {
    if ([[self window] firstResponder] != self || [event type] != NSEventTypeKeyDown)
        return [super performKeyEquivalent:event];
    [self keyDown:event];
    return YES;
}

- (void)drawRect:(NSRect)dirtyRect {
    (void)dirtyRect;
    [[NSColor textBackgroundColor] set];
    NSRectFill([self bounds]);
    [[NSColor gridColor] set];
    NSFrameRect([self bounds]);
}

@end

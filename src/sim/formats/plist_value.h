// Property lists on disk and in archives: conversion between Value and libplist nodes, and the
// byte forms. Every reader answers nothing (nil) for input it cannot take, whatever the bytes.
#pragma once

#include <plist/plist.h>

#include <memory>
#include <optional>

#include "platform/value.h"

namespace tidra::sim {

struct PlistFree {
    void operator()(void* node) const {
        if (node) plist_free(static_cast<plist_t>(node));
    }
};
using PlistNode = std::unique_ptr<void, PlistFree>;

// Whether a property list can hold the value: no nil or null, only string keys, anywhere in the
// tree, and no deeper than the readers take.
bool isPropertyList(const Value& value, int depth = 0);

// Nothing for values a property list cannot hold: nil, null, or a dictionary whose keys are
// not all strings (anywhere in the tree), and for a date libplist cannot hold (whole seconds
// past 32 bits). A URL is written as its absolute string. A string ends at its first NUL here:
// libplist takes C strings.
PlistNode toPlist(const Value& value);
// Nothing (nil) for nodes holding text that is not UTF-8 anywhere in the tree.
Value fromPlist(plist_t node);

// Whether a property-list string can be held and written back unchanged: well-formed UTF-8 (NUL
// included). A list holding other text is damaged; reading it on would change the text at the
// next write.
bool isStorableText(const std::string& text);

// Binary property-list bytes, or nothing when the value cannot be written.
std::optional<Data> toBinaryPlist(const Value& value);
// Parses binary or XML bytes into a node tree; null for malformed input.
PlistNode parsePlistNode(const Data& bytes);
// Parses binary or XML bytes; nil for malformed input. The binary form is read without libplist,
// so that every value it can hold comes back as it was written.
Value parsePlist(const Data& bytes);

}  // namespace tidra::sim

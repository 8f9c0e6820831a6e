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

// Nothing for values a property list cannot hold: nil, null, or a dictionary whose keys are
// not all strings (anywhere in the tree). A URL is written as its absolute string.
PlistNode toPlist(const Value& value);
// Nothing (nil) for nodes with no Value counterpart (UIDs) anywhere in the tree. Dates become the
// seconds since 2001 as a real.
Value fromPlist(plist_t node);

// Whether a property-list string can be held and written back unchanged: well-formed UTF-8
// without NUL bytes (the writer ends a string at its first NUL). A list holding other text is
// damaged; reading it on would change the text at the next write.
bool isStorableText(const std::string& text);

// Binary property-list bytes, or nothing when the value cannot be written.
std::optional<Data> toBinaryPlist(const Value& value);
// Parses binary or XML bytes into a node tree; null for malformed input.
PlistNode parsePlistNode(const Data& bytes);
// Parses binary or XML bytes; nil for malformed input.
Value parsePlist(const Data& bytes);

}  // namespace tidra::sim

// Interface descriptions as Tidra's bundle carries them (resources/<name>.json), read from the
// platform's values into plain descriptions before anything is made from them. A description is
// taken whole or not at all: one misshapen entry refuses it, so no interface is ever half-built.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/geometry.h"
#include "platform/value.h"
#include "platform/views.h"

namespace tidra {

// Where a description is misshapen and how, e.g. "menus[0].items[2].tag" "is not a whole number".
struct DescriptionFault {
    std::string where;
    std::string problem;
    std::string text() const { return where + " " + problem; }
};

template <class Description>
using DescriptionRead = std::variant<Description, DescriptionFault>;

// An outlet: `object`'s property `name` points at `destination`, all by identifier.
struct OutletDescription {
    std::string object;
    std::string name;
    std::string destination;
};

struct MenuDescription;

struct MenuItemDescription {
    std::string identifier;  // empty when nothing refers to the item
    bool separator = false;
    std::string title;
    int tag = 0;
    std::string action;         // empty for none
    std::string target;         // the identifier of an object of the description
    std::string bindKey;        // a Boolean of the preferences store the item shows and writes
    std::string keyEquivalent;  // with ⌘; empty for none
    std::unique_ptr<MenuDescription> submenu;
};

struct MenuDescription {
    std::string identifier;
    std::vector<MenuItemDescription> items;
};

struct ObjectDescription {
    std::string identifier;
    std::string className;
};

// The main interface: the objects the application is made of, its menus and their outlets.
struct MainDescription {
    std::string applicationDelegate;
    std::vector<ObjectDescription> objects;
    std::vector<MenuDescription> menus;
    std::vector<OutletDescription> outlets;
};

struct ViewDescription {
    std::string className = "NSView";
    std::string identifier;
    std::optional<Rect> frame;
    std::string stringValue;                           // a text field's text
    std::string title;                                 // a button's title
    std::string action;                                // a control's action, empty for none
    bool targetsOwner = true;                          // the action goes to the description's owner
    std::optional<int> material, blendingMode, state;  // a visual-effect view's
    bool wantsLayer = false;
    bool hidden = false;
    std::optional<std::string> appearance;
    ButtonKind buttonKind = ButtonKind::Push;  // an NSButton's
    int tag = 0;                               // a button's
    bool bordered = true;                      // a push button's bezel
    std::string bindKey;                       // a checkbox's Boolean of the preferences store
    std::vector<ViewDescription> subviews;
};

struct WindowDescription {
    std::string title;
    Rect frame;
    ViewDescription contentView;
};

// A window's or a view's description with the outlets of its owner.
struct WindowFileDescription {
    WindowDescription window;
    std::vector<OutletDescription> outlets;
};
struct ViewFileDescription {
    ViewDescription view;
    std::vector<OutletDescription> outlets;
};

// The identifier a description uses for the object that loads it (its "File's Owner").
inline constexpr const char* kDescriptionOwner = "owner";

DescriptionRead<MainDescription> readMainDescription(const Value& description);
// Both read the description's "window" (or "view") entry, which the caller found present.
DescriptionRead<WindowFileDescription> readWindowDescription(const Value& description);
DescriptionRead<ViewFileDescription> readViewDescription(const Value& description);

}  // namespace tidra

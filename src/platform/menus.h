// Menus and menu items (NSMenu, NSMenuItem).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/object.h"

namespace tidra {

class Menu;

inline constexpr int kControlStateOff = 0;
inline constexpr int kControlStateOn = 1;

class MenuItem : public Object {
  public:
    virtual std::string title() const = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual int state() const = 0;
    virtual void setState(int state) = 0;
    virtual int tag() const = 0;
    virtual Menu* submenu() const = 0;
};

class Menu : public Object {
  public:
    // The first item with the tag among the menu's own items (not its submenus).
    virtual MenuItem* itemWithTag(int tag) const = 0;
    virtual std::vector<MenuItem*> items() const = 0;
    // Takes an item of this menu out of it, for a feature the running system lacks. The item
    // itself stays valid.
    virtual void removeItem(MenuItem* item) = 0;
};

}  // namespace tidra

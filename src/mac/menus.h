// Menus and menu items over NSMenu and NSMenuItem, built from an interface description.
#pragma once

#import <AppKit/AppKit.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/menus.h"

namespace tidra::mac {

class MacMenu;

class MacMenuItem final : public MenuItem {
  public:
    explicit MacMenuItem(NSMenuItem* item) : item_(item) {}
    NSMenuItem* native() const { return item_; }
    // The item sends `selector` to `target` (a Tidra object) with itself as the sender.
    void setAction(Object* target, const std::string& selector);
    void setSubmenu(std::shared_ptr<MacMenu> submenu);

    std::string title() const override;
    void setTitle(const std::string& title) override;
    int state() const override { return static_cast<int>([item_ state]); }
    void setState(int state) override { [item_ setState:state]; }
    int tag() const override { return static_cast<int>([item_ tag]); }
    Menu* submenu() const override;

  private:
    NSMenuItem* item_;
    id forwarder_ = nil;
    std::shared_ptr<MacMenu> submenu_;
};

class MacMenu final : public Menu {
  public:
    MacMenu();
    NSMenu* native() const { return menu_; }
    void add(std::shared_ptr<MacMenuItem> item);

    MenuItem* itemWithTag(int tag) const override;
    std::vector<MenuItem*> items() const override;
    void removeItem(MenuItem* item) override;

  private:
    NSMenu* menu_;
    std::vector<std::shared_ptr<MacMenuItem>> items_;
    std::vector<std::shared_ptr<MacMenuItem>> removed_;
};

NSMenu* nativeMenuOf(const Menu* menu);

}  // namespace tidra::mac

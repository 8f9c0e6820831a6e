#include "mac/menus.h"

#include "mac/forwarder.h"
#include "mac/value_bridge.h"

namespace tidra::mac {

void MacMenuItem::setAction(Object* target, const std::string& selector) {
    TidraForwarder* forwarder = [[TidraForwarder alloc] initWithTarget:target
                                                              selector:selector
                                                                sender:this];
    forwarder_ = forwarder;  // a menu item does not keep its target
    [item_ setTarget:forwarder];
    [item_ setAction:[TidraForwarder action]];
}

void MacMenuItem::setSubmenu(std::shared_ptr<MacMenu> submenu) {
    submenu_ = std::move(submenu);
    [item_ setSubmenu:(submenu_ ? submenu_->native() : nil)];
}

std::string MacMenuItem::title() const {
    return fromNSString([item_ title]);
}

void MacMenuItem::setTitle(const std::string& title) {
    [item_ setTitle:toNSString(title)];
}

Menu* MacMenuItem::submenu() const {
    return submenu_.get();
}

MacMenu::MacMenu() : menu_([[NSMenu alloc] initWithTitle:@""]) {
    // Items are enabled by the description, not by AppKit's validation of their targets.
    [menu_ setAutoenablesItems:NO];
}

void MacMenu::add(std::shared_ptr<MacMenuItem> item) {
    [menu_ addItem:item->native()];
    items_.push_back(std::move(item));
}

MenuItem* MacMenu::itemWithTag(int tag) const {
    for (const auto& item : items_)
        if (![item->native() isSeparatorItem] && item->tag() == tag) return item.get();
    return nullptr;
}

std::vector<MenuItem*> MacMenu::items() const {
    std::vector<MenuItem*> all;
    for (const auto& item : items_) all.push_back(item.get());
    return all;
}

void MacMenu::removeItem(MenuItem* item) {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->get() != item) continue;
        [menu_ removeItem:(*it)->native()];
        // Kept alive: an outlet may still point at it.
        removed_.push_back(*it);
        items_.erase(it);
        return;
    }
}

NSMenu* nativeMenuOf(const Menu* menu) {
    const auto* native = dynamic_cast<const MacMenu*>(menu);
    return native != nullptr ? native->native() : nil;
}

}  // namespace tidra::mac

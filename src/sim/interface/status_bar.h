// The menu bar of the simulated Mac: status items with their buttons, and menus whose tracking
// runs a nested loop that the front end answers (choose an item, or dismiss).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/defaults.h"
#include "platform/status_bar.h"
#include "platform/views.h"
#include "sim/interface/views.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimMenuItem;

class SimMenu : public Menu {
  public:
    MenuItem* itemWithTag(int tag) const override;
    std::vector<MenuItem*> items() const override;
    void removeItem(MenuItem* item) override;
    std::vector<std::shared_ptr<SimMenuItem>> entries;

  private:
    std::vector<std::shared_ptr<SimMenuItem>> removed_;  // outlets may still point at them
};

class SimMenuItem : public MenuItem {
  public:
    explicit SimMenuItem(std::string title = "", int tag = 0)
        : title_(std::move(title)), tag_(tag) {}
    static std::shared_ptr<SimMenuItem> separatorItem();

    std::string title() const override { return title_; }
    void setTitle(const std::string& title) override { title_ = title; }
    // A bound item's check mark follows the store, as a binding does.
    int state() const override;
    void setState(int state) override { state_ = state; }
    int tag() const override { return tag_; }
    SimMenu* submenu() const override { return submenu_.get(); }

    bool isSeparator() const { return separator_; }
    const std::string& action() const { return action_; }
    void setAction(Object* target, std::string selector);
    // The item shows and writes a Boolean of the store.
    void bind(UserDefaults& store, std::string key);
    void setSubmenu(std::shared_ptr<SimMenu> submenu) { submenu_ = std::move(submenu); }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }
    // "⌘," for an item with the key equivalent ","; empty for none.
    std::string keyEquivalentText() const {
        return keyEquivalent_.empty() ? "" : "⌘" + keyEquivalent_;
    }
    // The user chose the item: a bound item flips its Boolean, any other sends its action.
    void choose();

  private:
    std::string title_;
    int tag_ = 0;
    int state_ = kControlStateOff;
    bool separator_ = false;
    std::string action_;
    Object* target_ = nullptr;  // weak, as on the platform
    std::string boundKey_;
    UserDefaults* store_ = nullptr;
    std::shared_ptr<SimMenu> submenu_;
    std::string keyEquivalent_;
};

class SimStatusItem;

class SimStatusBarButton : public StatusBarButton {
  public:
    explicit SimStatusBarButton(SimStatusItem& item) : item_(item) {}
    void setTarget(Object* target) override { target_ = target; }
    void setAction(const std::string& selector) override { action_ = selector; }
    void sendActionOn(unsigned mask) override { mask_ = mask; }
    Rect bounds() const override;
    Rect frameOnScreen() const override;
    void performClick(Object* sender) override;
    View* view() override { return view_.get(); }

    Object* target() const { return target_; }
    const std::string& action() const { return action_; }
    unsigned mask() const { return mask_; }

  private:
    SimStatusItem& item_;
    // What a popover is shown relative to.
    std::shared_ptr<SimView> view_ = std::make_shared<SimView>("NSStatusBarButton", "", Rect{});
    Object* target_ = nullptr;
    std::string action_;
    unsigned mask_ = 0;
};

class SimStatusItem : public StatusItem {
  public:
    SimStatusItem(RunLoop& loop, double length, bool hasButton);
    StatusBarButton* button() override { return button_.get(); }
    void setImage(std::shared_ptr<Image> image) override { image_ = std::move(image); }
    void setLength(double length) override { length_ = length; }
    double length() const override { return length_; }
    void setTitle(const std::string& title) override { title_ = title; }
    void setMenu(Menu* menu) override { menu_ = menu; }
    Menu* menu() const override { return menu_; }
    void popUpStatusItemMenu(Menu* menu) override;
    void setAutosaveName(const std::string& name) override { autosaveName_ = name; }
    bool isShownInMenuBar() const override { return !shown_ || shown_(); }

    std::shared_ptr<Image> image() const { return image_; }
    const std::string& autosaveName() const { return autosaveName_; }
    // How many times a menu of the item has opened.
    int menuOpenings() const { return menuOpenings_; }
    const std::string& title() const { return title_; }
    // The menu being tracked, if any.
    SimMenu* openMenu() const { return open_; }
    // Answers the open menu: the item chosen (its action is sent once tracking ends), or none to
    // dismiss it.
    void closeMenu(SimMenuItem* chosen);

  private:
    friend class SimStatusBar;
    RunLoop& loop_;
    std::function<bool()> shown_;
    std::string autosaveName_;
    int menuOpenings_ = 0;
    std::unique_ptr<SimStatusBarButton> button_;
    std::shared_ptr<Image> image_;
    double length_;
    std::string title_;
    Menu* menu_ = nullptr;
    SimMenu* open_ = nullptr;
    SimMenuItem* chosen_ = nullptr;
    bool closed_ = false;
};

class SimStatusBar : public StatusBar {
  public:
    explicit SimStatusBar(RunLoop& loop) : loop_(loop) {}
    std::shared_ptr<StatusItem> statusItemWithLength(double length) override;
    std::vector<std::shared_ptr<SimStatusItem>> items() const;
    void removeAll() { items_.clear(); }
    // A status item without a button, as the platform can hand out.
    void setButtonsAvailable(bool available) { buttons_ = available; }
    // Whether the system draws the status items (the user's "Allow in the Menu Bar", macOS 26).
    void setShownInMenuBar(std::function<bool()> shown) { shown_ = std::move(shown); }

    // Where the menu bar puts the first status item, on a main screen of this size: left of the
    // clock and the system's own items.
    static constexpr double kMainScreenWidth = 1440, kMainScreenHeight = 900;
    static constexpr double kMenuBarHeight = 24, kRightOfItems = 180;

  private:
    RunLoop& loop_;
    std::function<bool()> shown_;
    std::vector<std::weak_ptr<SimStatusItem>> items_;
    bool buttons_ = true;
};

// Finds an item by title in a menu; "Parent > Child" descends into a submenu.
SimMenuItem* findMenuItem(const SimMenu& menu, const std::string& path);

}  // namespace tidra::sim

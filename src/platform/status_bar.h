// The status bar, its items and their buttons (NSStatusBar, NSStatusItem, NSStatusBarButton).
#pragma once

#include <memory>
#include <string>

#include "platform/geometry.h"
#include "platform/images.h"
#include "platform/menus.h"
#include "platform/object.h"

namespace tidra {

inline constexpr double kVariableStatusItemLength = -1;
// Event masks for sendActionOn:.
inline constexpr unsigned kEventMaskLeftMouseUp = 1u << 2;
inline constexpr unsigned kEventMaskRightMouseUp = 1u << 4;

class View;

class StatusBarButton : public Object {
  public:
    virtual void setTarget(Object* target) = 0;
    virtual void setAction(const std::string& selector) = 0;
    virtual void sendActionOn(unsigned mask) = 0;
    virtual Rect bounds() const = 0;
    // Where the button is on the screen, to tell whether a click fell on it.
    virtual Rect frameOnScreen() const = 0;
    // As a click of the user's: with a menu attached to the item, opens it and returns when it
    // has closed; otherwise sends the action.
    virtual void performClick(Object* sender) = 0;
    // The button as a view, to show a popover relative to it.
    virtual View* view() = 0;
};

class StatusItem : public Object {
  public:
    // Nothing when the item has no button.
    virtual StatusBarButton* button() = 0;
    virtual void setImage(std::shared_ptr<Image> image) = 0;
    virtual void setLength(double length) = 0;
    virtual double length() const = 0;
    virtual void setTitle(const std::string& title) = 0;
    virtual void setMenu(Menu* menu) = 0;
    virtual Menu* menu() const = 0;
    // Tracks the menu; returns when it has closed (the chosen item's action has been sent).
    // Deprecated since 10.14: only where the item has no button to click.
    virtual void popUpStatusItemMenu(Menu* menu) = 0;
    // The name under which the system keeps the item's place and visibility.
    virtual void setAutosaveName(const std::string& name) = 0;
    // Whether the item is in the menu bar: the user may have taken it out, and from macOS 26 may
    // not allow Tidra there (System Settings › Menu Bar).
    virtual bool isShownInMenuBar() const = 0;
};

class StatusBar {
  public:
    virtual ~StatusBar() = default;
    virtual std::shared_ptr<StatusItem> statusItemWithLength(double length) = 0;
};

}  // namespace tidra

// Builds interfaces from their descriptions. The walk over a description (what is made, in which
// order, what is connected to what) is the same on every platform; each platform only makes its
// own objects through the factories below. A misshapen description is refused with one line in
// the console naming the entry, before anything of it is made.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/console.h"
#include "platform/interface_description.h"
#include "platform/interface_loader.h"
#include "platform/menus.h"
#include "platform/value.h"
#include "platform/views.h"

namespace tidra {

class MenuFactory {
  public:
    virtual ~MenuFactory() = default;
    virtual std::shared_ptr<MenuItem> makeItem(const std::string& title, int tag) = 0;
    virtual std::shared_ptr<MenuItem> makeSeparator() = 0;
    // The item sends `selector` to `target` with itself as the sender; without a target it sends
    // nothing.
    virtual void setAction(MenuItem& item, Object* target, const std::string& selector) = 0;
    // The item shows and writes a Boolean of the preferences store, as a binding does.
    virtual void bind(MenuItem& item, const std::string& key) = 0;
    // The key that chooses the item with ⌘ while its menu is open.
    virtual void setKeyEquivalent(MenuItem& item, const std::string& key) = 0;
    virtual void setSubmenu(MenuItem& item, std::shared_ptr<Menu> submenu) = 0;
    virtual std::shared_ptr<Menu> makeMenu(const std::vector<std::shared_ptr<MenuItem>>& items) = 0;
};

// Controls send their action to `target`; without a target (or an action) they send nothing.
class ViewFactory {
  public:
    virtual ~ViewFactory() = default;
    // A plain view, for any class the platform has no control of its own for.
    virtual std::shared_ptr<View> makeView(const std::string& className,
                                           const std::string& identifier, Rect frame) = 0;
    // A label: not editable, wrapping its text inside the frame.
    virtual std::shared_ptr<View> makeLabel(const std::string& identifier, Rect frame,
                                            const std::string& text) = 0;
    virtual std::shared_ptr<Button> makeButton(const std::string& identifier, Rect frame,
                                               const std::string& title, const std::string& action,
                                               Object* target) = 0;
    // A checkbox or a radio button as `d` describes it (kind, title, tag, action, bound key): a
    // checkbox with a bound key shows and writes that Boolean of the preferences store, as a
    // binding does, before its action is sent.
    virtual std::shared_ptr<Button> makeToggle(const ViewDescription& d, Rect frame,
                                               Object* target) = 0;
    // The width a button of `kind` needs to show `title` whole (a push button's bezel, a checkbox's
    // box included), as sizeToFit makes it.
    virtual double fittingWidth(ButtonKind kind, const std::string& title) = 0;
    virtual std::shared_ptr<ImageView> makeImageView(const std::string& identifier, Rect frame) = 0;
    virtual std::shared_ptr<ListView> makeList(const std::string& identifier, Rect frame,
                                               const std::string& action, Object* target) = 0;
    virtual std::shared_ptr<View> makeShortcutRecorder(const std::string& identifier, Rect frame,
                                                       const std::string& action,
                                                       Object* target) = 0;
    virtual std::shared_ptr<VisualEffectView> makeVisualEffectView(const std::string& identifier,
                                                                   Rect frame) = 0;
    virtual std::shared_ptr<Window> makeWindow(const std::string& title, Rect frame,
                                               std::shared_ptr<View> contentView) = 0;
};

// What the main interface description made. Its objects live as long as it does.
class MainInterface {
  public:
    MainInterface() = default;
    MainInterface(MainInterface&&) = default;
    MainInterface& operator=(MainInterface&& other);
    ~MainInterface() { release(); }

    // An object the description made through the class registry.
    Object* object(const std::string& identifier) const;
    std::shared_ptr<Menu> menu(const std::string& identifier) const;
    // An object, a menu or a menu item, as outlets name them.
    Object* named(const std::string& identifier) const;
    Object* applicationDelegate() const { return object(delegateId_); }
    // The objects in the order the description lists them.
    std::vector<Object*> objects() const;
    // Lets everything go: the menus first, then the objects in reverse order of creation, so the
    // controller goes before the delegate that refers to it.
    void release();

  private:
    friend class MainInterfaceWalk;
    std::string delegateId_;
    std::vector<std::pair<std::string, std::shared_ptr<Object>>> objects_;
    std::vector<std::pair<std::string, std::shared_ptr<Menu>>> menus_;
    std::vector<std::pair<std::string, std::shared_ptr<MenuItem>>> items_;
};

// Why the main interface was not built. A misshapen description is already in the console; a
// class the registry lacks is the caller's to tell, in its own words.
struct MainInterfaceRefusal {
    enum class Reason { Misshapen, UnknownClass };
    Reason reason = Reason::Misshapen;
    std::string detail;  // the misshapen entry, or the unknown class's name
};

// A description's texts (titles, labels) in the user's language: the bundle's strings table of
// the description's name, with the English text as key.
using InterfaceTexts = std::function<std::string(const std::string& text)>;

// `name` names the description in the console ("MainMenu").
std::variant<MainInterface, MainInterfaceRefusal> buildMainInterface(
    const Value& description, const std::string& name, const ClassRegistry& classes,
    MenuFactory& menus, Console& console, const InterfaceTexts& texts);

// A window's (a view's) description's "window" ("view") entry, with `owner`'s outlets and actions
// connected. Nothing when the description has no such entry (said nowhere: the caller tells that
// the way its platform does) or is misshapen (said in the console).
std::shared_ptr<Window> buildWindow(const Value& description, const std::string& name,
                                    Object& owner, ViewFactory& views, Console& console,
                                    const InterfaceTexts& texts);
std::shared_ptr<View> buildView(const Value& description, const std::string& name, Object& owner,
                                ViewFactory& views, Console& console, const InterfaceTexts& texts);

// The line a misshapen description leaves in the console.
std::string misshapenDescriptionLine(const std::string& name, const DescriptionFault& fault);

}  // namespace tidra

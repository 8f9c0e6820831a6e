// Interface descriptions (nib files) and the controllers whose content comes from one.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/object.h"
#include "platform/views.h"

namespace tidra {

class InterfaceLoader {
  public:
    virtual ~InterfaceLoader() = default;
    // Loads the window of the named description, connecting `owner`'s outlets and actions.
    // Nothing when the bundle has no such description.
    virtual std::shared_ptr<Window> loadWindow(const std::string& nibName, Object& owner) = 0;
    virtual std::shared_ptr<View> loadView(const std::string& nibName, Object& owner) = 0;
};

// A window or view that comes from an interface description at the first access, and only then:
// a description the bundle lacks is not looked for again, and the controller's did-load step
// runs once either way. NSWindowController's window and NSViewController's view.
template <class Content>
class LoadedOnFirstAccess {
  public:
    template <class Load, class DidLoad>
    Content* get(Load&& load, DidLoad&& didLoad) {
        if (!loaded_) {
            loaded_ = true;
            content_ = load();
            didLoad();
        }
        return content_.get();
    }
    bool isLoaded() const { return loaded_; }

  private:
    std::shared_ptr<Content> content_;
    bool loaded_ = false;
};

// NSWindowController: the window is loaded from its description at the first access.
class WindowController : public Object {
  public:
    WindowController(InterfaceLoader& loader, std::string windowNibName)
        : loader_(loader), nibName_(std::move(windowNibName)) {}
    const std::string& windowNibName() const { return nibName_; }
    Window* window();
    bool isWindowLoaded() const { return window_.isLoaded(); }
    virtual void windowDidLoad() {}
    virtual void showWindow(Object* sender);

  private:
    InterfaceLoader& loader_;
    std::string nibName_;
    LoadedOnFirstAccess<Window> window_;
};

// Creates objects by class name, as the platform's runtime does for an interface description.
class ClassRegistry {
  public:
    using Factory = std::function<std::shared_ptr<Object>()>;
    void add(const std::string& className, Factory factory) { factories_[className] = factory; }
    bool knows(const std::string& className) const { return factories_.count(className) != 0; }
    std::shared_ptr<Object> make(const std::string& className) const {
        auto it = factories_.find(className);
        return it == factories_.end() ? nullptr : it->second();
    }

  private:
    std::map<std::string, Factory> factories_;
};

}  // namespace tidra

// The welcome popover's content: a view from its own interface description with one control
// that closes the popover again.
#pragma once

#include <memory>
#include <string>

#include "platform/interface_loader.h"
#include "platform/views.h"

namespace tidra {

class StatusMenuController;

class PopoverViewController : public ViewController {
  public:
    PopoverViewController(InterfaceLoader& loader, std::string nibName)
        : loader_(loader), nibName_(std::move(nibName)) {}

    const std::string& nibName() const { return nibName_; }
    // Loaded from the description at the first access; nothing when the bundle lacks it.
    View* view() override;

    // The status controller owns the popover that owns this view controller, so the way back
    // is not an owning one.
    StatusMenuController* mainController() const { return mainController_; }
    void setMainController(StatusMenuController* controller) { mainController_ = controller; }
    Object* button() const { return button_; }

    void closePopover(Object* sender);

    bool performAction(const std::string& selector, Object* sender) override;
    bool setOutlet(const std::string& name, Object* value) override;

  private:
    InterfaceLoader& loader_;
    std::string nibName_;
    LoadedOnFirstAccess<View> view_;
    StatusMenuController* mainController_ = nullptr;
    Object* button_ = nullptr;  // outlet
};

}  // namespace tidra

// The About window: a dark, translucent panel above every other window with the version and a
// link to the companion application's store page.
#pragma once

#include "platform/bundle.h"
#include "platform/interface_loader.h"
#include "platform/system_info.h"
#include "platform/ui.h"
#include "platform/workspace.h"

namespace tidra {

class TransluscentWindow : public WindowController {
  public:
    TransluscentWindow(InterfaceLoader& loader, Ui& ui, Bundle& mainBundle, Workspace& workspace,
                       SystemInfo& system)
        : WindowController(loader, "TransluscentWindow"),
          ui_(ui),
          bundle_(mainBundle),
          workspace_(workspace),
          system_(system) {}

    // Outlets, filled by the interface description.
    TextField* versionLabel() const { return versionLabel_; }
    void setVersionLabel(TextField* label) { versionLabel_ = label; }
    View* mainView() const { return mainView_; }
    void setMainView(View* view) { mainView_ = view; }

    void windowDidLoad() override;
    void brimleClicked(Object* sender);

    bool performAction(const std::string& selector, Object* sender) override;
    bool setOutlet(const std::string& name, Object* value) override;

  private:
    int materialForRunningSystem();
    void showVersion();
    void fillWithMainView(VisualEffectView& background);

    Ui& ui_;
    Bundle& bundle_;
    Workspace& workspace_;
    SystemInfo& system_;
    // Outlets: the window's view hierarchy owns both.
    TextField* versionLabel_ = nullptr;
    View* mainView_ = nullptr;
};

}  // namespace tidra

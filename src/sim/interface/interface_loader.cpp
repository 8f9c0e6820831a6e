#include "sim/interface/interface_loader.h"

#include "platform/interface_walk.h"
#include "sim/interface/description_file.h"
#include "sim/interface/shortcut_recorder.h"
#include "sim/interface/views.h"

namespace tidra::sim {
namespace {

// The simulated Mac's views and windows for the descriptions' entries.
class SimViewFactory final : public ViewFactory {
  public:
    SimViewFactory(SimWindowList& windows, std::string nibName, UserDefaults* bindings)
        : windows_(windows), nibName_(std::move(nibName)), bindings_(bindings) {}

    std::shared_ptr<View> makeView(const std::string& className, const std::string& identifier,
                                   Rect frame) override {
        return std::make_shared<SimView>(className, identifier, frame);
    }
    std::shared_ptr<View> makeLabel(const std::string& identifier, Rect frame,
                                    const std::string& text) override {
        return std::make_shared<SimTextField>(identifier, frame, text);
    }
    std::shared_ptr<Button> makeButton(const std::string& identifier, Rect frame,
                                       const std::string& title, const std::string& action,
                                       Object* target) override {
        auto button = std::make_shared<SimButton>(identifier, frame, title);
        if (!action.empty()) {
            button->setAction(action);
            button->setTarget(target);
        }
        return button;
    }
    double fittingWidth(ButtonKind kind, const std::string& title) override {
        return kind == ButtonKind::Push ? estimatedTextWidth(title, 13) + 20
                                        : 22 + estimatedTextWidth(title, 12);
    }
    std::shared_ptr<Button> makeToggle(const ViewDescription& d, Rect frame,
                                       Object* target) override {
        auto button =
            std::make_shared<SimButton>(d.identifier, frame, d.title, d.buttonKind, d.tag);
        if (!d.action.empty()) {
            button->setAction(d.action);
            button->setTarget(target);
        }
        if (!d.bindKey.empty() && d.buttonKind == ButtonKind::Switch && bindings_)
            button->bind(*bindings_, d.bindKey);
        return button;
    }
    std::shared_ptr<ImageView> makeImageView(const std::string& identifier, Rect frame) override {
        return std::make_shared<SimImageView>(identifier, frame);
    }
    std::shared_ptr<ListView> makeList(const std::string& identifier, Rect frame,
                                       const std::string& action, Object* target) override {
        auto list = std::make_shared<SimListView>(identifier, frame);
        list->setAction(action);
        list->setTarget(target);
        return list;
    }
    std::shared_ptr<View> makeShortcutRecorder(const std::string& identifier, Rect frame,
                                               const std::string& action, Object* target) override {
        auto recorder = std::make_shared<SimShortcutRecorder>(identifier, frame);
        recorder->setAction(action);
        recorder->setTarget(target);
        return recorder;
    }
    std::shared_ptr<VisualEffectView> makeVisualEffectView(const std::string& identifier,
                                                           Rect frame) override {
        return std::make_shared<SimVisualEffectView>(frame, identifier);
    }
    std::shared_ptr<Window> makeWindow(const std::string& title, Rect frame,
                                       std::shared_ptr<View> contentView) override {
        auto window = std::make_shared<SimWindow>(windows_, nibName_, frame, title);
        window->setContentView(std::move(contentView));
        return window;
    }

  private:
    SimWindowList& windows_;
    std::string nibName_;
    UserDefaults* bindings_;
};

}  // namespace

SimInterfaceLoader::ResourceLookup SimInterfaceLoader::inFolder(std::string dir) {
    return [dir = std::move(dir)](const std::string& nibName) -> std::optional<std::string> {
        return dir + "/" + nibName + ".json";
    };
}

std::optional<Value> SimInterfaceLoader::read(const std::string& nibName) {
    auto file = lookup_ ? lookup_(nibName) : std::nullopt;
    if (!file) return std::nullopt;
    return readDescriptionFile(*file);
}

InterfaceTexts SimInterfaceLoader::textsOf(const std::string& nibName) const {
    if (!texts_) return {};
    return [this, nibName](const std::string& text) { return texts_(text, nibName); };
}

std::shared_ptr<Window> SimInterfaceLoader::loadWindow(const std::string& nibName, Object& owner) {
    std::shared_ptr<Window> window;
    if (auto description = read(nibName)) {
        SimViewFactory factory(windows_, nibName, bindings_);
        window = buildWindow(*description, nibName, owner, factory, console_, textsOf(nibName));
    }
    if (!window)
        console_.log("-[NSWindowController loadWindow]: failed to load window nib file '" +
                     nibName + "'.");
    return window;
}

std::shared_ptr<View> SimInterfaceLoader::loadView(const std::string& nibName, Object& owner) {
    std::shared_ptr<View> view;
    if (auto description = read(nibName)) {
        SimViewFactory factory(windows_, nibName, bindings_);
        view = buildView(*description, nibName, owner, factory, console_, textsOf(nibName));
    }
    if (!view)
        console_.log("-[NSViewController loadView] could not load the \"" + nibName + "\" nib.");
    return view;
}

}  // namespace tidra::sim

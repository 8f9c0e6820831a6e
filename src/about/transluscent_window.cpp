#include "about/transluscent_window.h"

#include <optional>
#include <string>

#include "about/companion_store.h"

namespace tidra {

void TransluscentWindow::windowDidLoad() {
    WindowController::windowDidLoad();
    Window* w = window();
    if (!w) return;
    if (View* content = w->contentView()) content->setWantsLayer(true);
    w->setBackgroundColor(Color{0.0, 0.2});
    w->setOpaque(false);
    w->makeKeyAndOrderFront(nullptr);
    w->setTitlebarAppearsTransparent(true);
    w->center();
    w->setTitle("");

    View* content = w->contentView();
    if (!content) return;
    const Rect visible = content->visibleRect();
    auto background = ui_.makeVisualEffectView(Rect{{0, 0}, visible.size});
    background->setMaterial(materialForRunningSystem());
    // Blur what lies behind the window, and stay translucent when the window is not key.
    background->setBlendingMode(kVisualEffectBlendingModeBehindWindow);
    background->setState(kVisualEffectStateActive);
    if (mainView_) mainView_->setAppearance(std::string(kAppearanceNameVibrantDark));
    showVersion();
    fillWithMainView(*background);
    if (View* stillContent = w->contentView()) stillContent->addSubview(background);
    w->setLevel(ui_.windowLevelForKey(kMaximumWindowLevelKey));
}

int TransluscentWindow::materialForRunningSystem() {
    // The ultra-dark material exists from 10.11 on.
    return system_.operatingSystemVersion().isAtLeast(10, 11) ? kVisualEffectMaterialUltraDark
                                                              : kVisualEffectMaterialDark;
}

namespace {

// A version given as a string with something in it.
std::optional<std::string> versionString(const Value& value) {
    if (!value.isString() || value.string().empty()) return std::nullopt;
    return value.string();
}

// The version from the bundle's CFBundleShortVersionString and CFBundleVersion, without the word
// "Version"; nothing when the bundle gives neither.
std::optional<std::string> versionText(const Value& shortVersion, const Value& build) {
    const auto marketing = versionString(shortVersion);
    const auto number = versionString(build);
    // As a Mac's own About panels write it: "1.0.0 (100)", the build alone when there is no
    // marketing version, and one number once when both are the same.
    if (marketing && number && *marketing != *number) return *marketing + " (" + *number + ")";
    if (marketing) return marketing;
    return number;
}

}  // namespace

void TransluscentWindow::showVersion() {
    if (!versionLabel_) return;
    const auto text = versionText(bundle_.objectForInfoDictionaryKey("CFBundleShortVersionString"),
                                  bundle_.objectForInfoDictionaryKey("CFBundleVersion"));
    // Without any version there is no version line: "Version" alone would read as a fault.
    versionLabel_->setStringValue(
        text ? localizedString(bundle_, "Version", "This text is followed by the version number") +
                   " " + *text
             : "");
}

void TransluscentWindow::fillWithMainView(VisualEffectView& background) {
    if (!mainView_) return;
    background.addSubview(mainView_->retained());
    const std::map<std::string, View*> views{{"mainView", mainView_}};
    for (const char* format : {"|[mainView]|", "V:|[mainView]|"})
        if (auto constraints = constraintsWithVisualFormat(format, views))
            background.addConstraints(*constraints);
}

void TransluscentWindow::brimleClicked(Object*) {
    if (auto url = Url::fromString(kBrimleStoreAddressPlaceholder)) workspace_.openURL(*url);
}

bool TransluscentWindow::performAction(const std::string& selector, Object* sender) {
    if (selector != "brimleClicked:") return WindowController::performAction(selector, sender);
    brimleClicked(sender);
    return true;
}

bool TransluscentWindow::setOutlet(const std::string& name, Object* value) {
    if (name == "versionLabel") {
        versionLabel_ = dynamic_cast<TextField*>(value);
    } else if (name == "mainView") {
        mainView_ = dynamic_cast<View*>(value);
    } else {
        return WindowController::setOutlet(name, value);
    }
    return true;
}

}  // namespace tidra

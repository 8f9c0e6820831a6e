// The Settings window's keyboard shortcut and its list of presenting applications.
#include "desktop/application_identity.h"
#include "menu/settings_window.h"

namespace tidra {

void SettingsWindow::shortcutChanged() {
    if (isWindowLoaded()) showShortcut("");
    showMenuBarHint();
}

void SettingsWindow::showShortcut(const std::string& message) {
    if (!isWindowLoaded()) return;
    if (shortcutLabel_) shortcutLabel_->setStringValue(f_.shortcut.currentText());
    if (!shortcutMessage_) return;
    // A stored shortcut that is not in force says why, until the user records another.
    std::string shown = message;
    if (shown.empty()) shown = f_.shortcut.unusedReason();
    if (shown.empty()) shown = shortcutExplanation_;
    shortcutMessage_->setStringValue(shown);
}

void SettingsWindow::shortcutTyped(Object* sender) {
    auto* recorder = dynamic_cast<ShortcutRecorderView*>(sender);
    const auto press = recorder ? recorder->lastKeyPress() : std::nullopt;
    if (!press) return;
    const KeyboardShortcut::Outcome outcome = f_.shortcut.record(*press);
    showShortcut(outcome.cancelled ? "" : outcome.message);
    showMenuBarHint();
}

void SettingsWindow::showPresenting(const std::string& message) {
    if (!isWindowLoaded()) return;
    if (presentingList_) {
        std::vector<ListRow> rows;
        for (const std::string& id : f_.presenting.apps().list()) {
            const auto app = s_.workspace.URLForApplicationWithBundleIdentifier(id);
            const auto path = app ? app->path() : std::nullopt;
            rows.push_back(path ? ListRow{applicationName(*path), id, path}
                                : ListRow{id, "Not installed", std::nullopt});
        }
        presentingList_->setRows(rows);
    }
    if (removePresenting_)
        removePresenting_->setEnabled(presentingList_ && presentingList_->selectedRow());
    if (presentingMessage_) presentingMessage_->setStringValue(message);
}

void SettingsWindow::presentingListEdited(const std::string& message) {
    showPresenting(message);
    // What counts has changed: a running application may now hide, or no longer keep hidden.
    f_.presenting.listChanged();
}

void SettingsWindow::addPresentingApp() {
    auto panel = s_.ui.makeOpenPanel();
    if (!panel) return;
    panel->setDirectoryURL(Url::fileURLWithPath("/Applications"));
    panel->setCanChooseFiles(true);
    panel->setResolvesAliases(true);
    panel->setAllowedFileTypes({"app"});
    panel->setPrompt("Add");
    panel->setTitle("Add a Presenting Application");
    panel->setMessage("Choose an application that hides the desktop while it runs.");
    std::weak_ptr<int> alive = alive_;
    panel->beginWithCompletionHandler([this, alive, panel](long response) {
        if (alive.expired()) return;
        presentingAppChosen(response, response == kModalResponseOK ? panel->URL() : std::nullopt);
    });
}

void SettingsWindow::presentingAppChosen(long response, const std::optional<Url>& chosen) {
    if (response != kModalResponseOK) return;
    const auto path = chosen ? chosen->path() : std::nullopt;
    if (!path) return;
    const auto identity = identifyApplication(s_.files, s_.propertyLists, *path);
    if (const auto* why = std::get_if<std::string>(&identity)) {
        s_.console.log("Tidra: not added to the presenting applications: " + *why);
        showPresenting(*why);
        return;
    }
    const ApplicationIdentity& app = std::get<ApplicationIdentity>(identity);
    switch (f_.presenting.apps().add(app.bundleIdentifier)) {
        case PresentingApps::Added::Added: {
            presentingListEdited("");
            if (presentingList_) {
                const size_t count = presentingList_->rows().size();
                if (count) presentingList_->selectRow(count - 1);
                if (removePresenting_) removePresenting_->setEnabled(count != 0);
            }
            break;
        }
        case PresentingApps::Added::AlreadyThere:
            showPresenting("“" + app.name + "” is already in the list.");
            break;
        case PresentingApps::Added::Full:
            showPresenting("The list holds " + std::to_string(PresentingApps::kMostApps) +
                           " applications, the most Tidra keeps. Remove one to add another.");
            break;
    }
}

void SettingsWindow::removePresentingApp() {
    const auto row = presentingList_ ? presentingList_->selectedRow() : std::nullopt;
    if (!row) {
        showPresenting("Select an application in the list to remove it.");
        return;
    }
    if (!f_.presenting.apps().remove(*row)) {
        showPresenting("");
        return;
    }
    presentingListEdited("");
}

void SettingsWindow::restorePresentingApps() {
    f_.presenting.apps().restoreDefaults();
    if (presentingList_) presentingList_->selectRow(std::nullopt);
    presentingListEdited("");
}

}  // namespace tidra

// The Settings window's keyboard shortcut and its list of presenting applications.
#include "desktop/application_identity.h"
#include "menu/settings_window.h"
#include "text/format.h"

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
                                : ListRow{id,
                                          localizedString(s_.bundle, "Not installed",
                                                          "Settings window, presenting list: a "
                                                          "row whose application is not on this "
                                                          "Mac"),
                                          std::nullopt});
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
    panel->setPrompt(localizedString(s_.bundle, "Add",
                                     "Submit button of the window to add a presenting "
                                     "application"));
    panel->setTitle(localizedString(s_.bundle, "Add a Presenting Application",
                                    "Title of the window to add a presenting application"));
    panel->setMessage(localizedString(s_.bundle,
                                      "Choose an application that hides the desktop while it runs.",
                                      "Message inside the window to add a presenting application"));
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
    if (const auto* refused = std::get_if<ApplicationRefusal>(&identity)) {
        s_.console.log("Tidra: not added to the presenting applications: " +
                       formatText(refused->reason, {refused->name}));
        showPresenting(formatText(
            localizedString(s_.bundle, refused->reason,
                            "Settings window, presenting list; %@ is the application's file name"),
            {refused->name}));
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
            showPresenting(formatText(
                localizedString(s_.bundle, "“%@” is already in the list.",
                                "Settings window, presenting list; %@ is the application's name"),
                {app.name}));
            break;
        case PresentingApps::Added::Full:
            showPresenting(formatText(
                localizedString(s_.bundle,
                                "The list holds %@ applications, the most Tidra keeps. Remove "
                                "one to add another.",
                                "Settings window, presenting list; %@ is the number of "
                                "applications the list can hold"),
                {std::to_string(PresentingApps::kMostApps)}));
            break;
    }
}

void SettingsWindow::removePresentingApp() {
    const auto row = presentingList_ ? presentingList_->selectedRow() : std::nullopt;
    if (!row) {
        showPresenting(localizedString(s_.bundle, "Select an application in the list to remove it.",
                                       "Settings window, presenting list: − was clicked with no "
                                       "row selected"));
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

// What drives Tidra besides its status item: URLs of its scheme.
#include "desktop/url_commands.h"
#include "menu/status_menu_controller.h"
#include "prefs/keys.h"

namespace tidra {

void StatusMenuController::registerTriggers() {
    platform_.urlEvents.setGetURLHandler([this](const std::string& url) { openURL(url); });
    triggersRegistered_ = true;
}

void StatusMenuController::unregisterTriggers() {
    if (!triggersRegistered_) return;
    triggersRegistered_ = false;
    platform_.urlEvents.setGetURLHandler(nullptr);
}

void StatusMenuController::openURL(const std::string& url) {
    const auto command = urlCommand(url);
    if (!command) {
        platform_.console.log("Ignored the URL " + loggableUrl(url) +
                              ": Tidra takes tidra://hide, tidra://show and tidra://toggle");
        return;
    }
    switch (*command) {
        case UrlCommand::Toggle:
            hideMessClicked(nullptr);
            break;
        case UrlCommand::Hide:
            if (!clean_) cleanDesktop(false);
            break;
        case UrlCommand::Show:
            if (clean_) cleanDesktop(true);
            break;
    }
}

}  // namespace tidra

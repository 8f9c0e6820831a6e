#include "sim/interface/alert.h"

#include <algorithm>

namespace tidra::sim {

AlertButton& SimAlert::addButtonWithTitle(const std::string& title) {
    auto button = std::make_unique<SimAlertButton>(title);
    // As the platform does: the first button answers Return, one titled Cancel answers Escape.
    if (buttons_.empty())
        button->setKeyEquivalent("\r");
    else if (title == "Cancel")
        button->setKeyEquivalent("\x1b");
    buttons_.push_back(std::move(button));
    return *buttons_.back();
}

long SimAlert::runModal() {
    if (buttons_.empty()) addButtonWithTitle("OK");
    response_.reset();
    alerts_.opened(this);
    loop_.runUntil([this] { return response_.has_value(); });
    alerts_.closed(this);
    if (!response_) {
        // Nobody is left to answer: take it as the Escape key, or Return when nothing answers
        // Escape.
        long r = kAlertFirstButtonReturn;
        for (size_t i = 0; i < buttons_.size(); ++i)
            if (buttons_[i]->keyEquivalent() == "\x1b") r = kAlertFirstButtonReturn + long(i);
        response_ = r;
    }
    return *response_;
}

std::optional<std::string> SimAlert::answer(const std::string& buttonTitle, bool suppress) {
    if (response_) return "the alert is already answered";
    if (suppress && !showsSuppression_) return "this alert has no suppression checkbox";
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i]->title() != buttonTitle) continue;
        if (showsSuppression_) suppression_.setState(suppress ? 1 : 0);
        response_ = kAlertFirstButtonReturn + long(i);
        return std::nullopt;
    }
    std::string titles;
    for (const auto& b : buttons_) titles += (titles.empty() ? "\"" : ", \"") + b->title() + "\"";
    return "no button \"" + buttonTitle + "\"; the buttons are " + titles;
}

std::shared_ptr<Alert> SimAlerts::makeAlert() {
    auto alert = std::make_shared<SimAlert>(loop_, *this);
    made_.push_back(alert);
    return alert;
}

void SimAlerts::opened(SimAlert* alert) {
    open_.push_back(alert);
    for (const auto& weak : made_)
        if (auto strong = weak.lock(); strong && strong.get() == alert) shown_.push_back(strong);
    made_.erase(std::remove_if(made_.begin(), made_.end(),
                               [](const std::weak_ptr<SimAlert>& w) { return w.expired(); }),
                made_.end());
}

void SimAlerts::closed(SimAlert* alert) {
    open_.erase(std::remove(open_.begin(), open_.end(), alert), open_.end());
}

std::optional<std::string> SimAlerts::answer(const std::string& buttonTitle, bool suppress) {
    if (open_.empty()) return "no alert is open";
    return open_.back()->answer(buttonTitle, suppress);
}

}  // namespace tidra::sim

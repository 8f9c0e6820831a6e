#include "sim/interface/status_bar.h"

namespace tidra::sim {

std::shared_ptr<SimMenuItem> SimMenuItem::separatorItem() {
    auto item = std::make_shared<SimMenuItem>();
    item->separator_ = true;
    return item;
}

int SimMenuItem::state() const {
    if (!boundKey_.empty() && store_)
        return store_->boolForKey(boundKey_) ? kControlStateOn : kControlStateOff;
    return state_;
}

void SimMenuItem::setAction(Object* target, std::string selector) {
    target_ = target;
    action_ = std::move(selector);
}

void SimMenuItem::bind(UserDefaults& store, std::string key) {
    store_ = &store;
    boundKey_ = std::move(key);
}

void SimMenuItem::choose() {
    if (!boundKey_.empty() && store_) {
        store_->setBool(!store_->boolForKey(boundKey_), boundKey_);
        store_->synchronize();
    } else if (target_ && !action_.empty()) {
        target_->performAction(action_, this);
    }
}

MenuItem* SimMenu::itemWithTag(int tag) const {
    for (const auto& e : entries)
        if (!e->isSeparator() && e->tag() == tag) return e.get();
    return nullptr;
}

std::vector<MenuItem*> SimMenu::items() const {
    std::vector<MenuItem*> out;
    for (const auto& e : entries) out.push_back(e.get());
    return out;
}

void SimMenu::removeItem(MenuItem* item) {
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        if (it->get() != item) continue;
        removed_.push_back(*it);
        entries.erase(it);
        return;
    }
}

Rect SimStatusBarButton::bounds() const {
    double w = item_.length() > 0 ? item_.length() : 22;
    return Rect{{0, 0}, {w, 22}};
}

Rect SimStatusBarButton::frameOnScreen() const {
    const Size size = bounds().size;
    return Rect{{SimStatusBar::kMainScreenWidth - SimStatusBar::kRightOfItems - size.width,
                 SimStatusBar::kMainScreenHeight - SimStatusBar::kMenuBarHeight},
                {size.width, SimStatusBar::kMenuBarHeight}};
}

void SimStatusBarButton::performClick(Object* sender) {
    (void)sender;
    // With a menu attached the button opens it, as a click of the user's does.
    if (Menu* attached = item_.menu()) {
        item_.popUpStatusItemMenu(attached);
        return;
    }
    if (target_ && !action_.empty()) target_->performAction(action_, this);
}

SimStatusItem::SimStatusItem(RunLoop& loop, double length, bool hasButton)
    : loop_(loop), length_(length) {
    if (hasButton) button_ = std::make_unique<SimStatusBarButton>(*this);
}

void SimStatusItem::popUpStatusItemMenu(Menu* menu) {
    auto* m = dynamic_cast<SimMenu*>(menu);
    // One menu at a time, as the menu bar tracks one.
    if (!m || open_) return;
    open_ = m;
    ++menuOpenings_;
    chosen_ = nullptr;
    closed_ = false;
    loop_.runUntil([this] { return closed_; });
    SimMenuItem* chosen = closed_ ? chosen_ : nullptr;
    open_ = nullptr;
    chosen_ = nullptr;
    if (chosen) chosen->choose();
}

void SimStatusItem::closeMenu(SimMenuItem* chosen) {
    chosen_ = chosen;
    closed_ = true;
}

std::shared_ptr<StatusItem> SimStatusBar::statusItemWithLength(double length) {
    auto item = std::make_shared<SimStatusItem>(loop_, length, buttons_);
    item->shown_ = shown_;
    items_.push_back(item);
    return item;
}

std::vector<std::shared_ptr<SimStatusItem>> SimStatusBar::items() const {
    std::vector<std::shared_ptr<SimStatusItem>> out;
    for (const auto& w : items_)
        if (auto s = w.lock()) out.push_back(s);
    return out;
}

namespace {
std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}
}  // namespace

SimMenuItem* findMenuItem(const SimMenu& menu, const std::string& path) {
    size_t sep = path.find(" > ");
    std::string head = trim(sep == std::string::npos ? path : path.substr(0, sep));
    for (const auto& e : menu.entries) {
        if (e->isSeparator() || e->title() != head) continue;
        if (sep == std::string::npos) return e.get();
        if (e->submenu()) return findMenuItem(*e->submenu(), path.substr(sep + 3));
    }
    return nullptr;
}

}  // namespace tidra::sim

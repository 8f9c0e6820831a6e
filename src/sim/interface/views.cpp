#include "sim/interface/views.h"

#include "platform/menus.h"

namespace tidra::sim {

nlohmann::json describeRect(Rect rect) {
    return {{"x", rect.origin.x},
            {"y", rect.origin.y},
            {"width", rect.size.width},
            {"height", rect.size.height}};
}

std::vector<View*> viewsIn(View* root) {
    std::vector<View*> out;
    if (!root) return out;
    out.push_back(root);
    for (const auto& child : root->subviews()) {
        auto below = viewsIn(child.get());
        out.insert(out.end(), below.begin(), below.end());
    }
    return out;
}

std::vector<View*> shownViewsIn(View* root) {
    std::vector<View*> out;
    if (!root || root->isHidden()) return out;
    out.push_back(root);
    for (const auto& child : root->subviews()) {
        auto below = shownViewsIn(child.get());
        out.insert(out.end(), below.begin(), below.end());
    }
    return out;
}

int SimButton::state() const {
    if (store_ && !boundKey_.empty())
        return store_->boolForKey(boundKey_) ? kControlStateOn : kControlStateOff;
    return state_;
}

void SimButton::bind(UserDefaults& store, std::string key) {
    store_ = &store;
    boundKey_ = std::move(key);
}

bool SimButton::performClick() {
    // A disabled control takes no click, as on the platform.
    if (!enabled_) return false;
    bool taken = false;
    if (kind_ == ButtonKind::Switch) {
        const bool on = state() != kControlStateOn;
        if (store_ && !boundKey_.empty()) {
            store_->setBool(on, boundKey_);
            store_->synchronize();
            taken = true;
        } else {
            state_ = on ? kControlStateOn : kControlStateOff;
        }
    } else if (kind_ == ButtonKind::Radio) {
        state_ = kControlStateOn;
    }
    if (target_ && !action_.empty()) taken = target_->performAction(action_, this) || taken;
    return taken;
}

void SimButton::describeOwn(nlohmann::json& out) const {
    out["title"] = title_;
    out["action"] = action_;
    if (kind_ == ButtonKind::Push) return;
    out["buttonType"] = kind_ == ButtonKind::Switch ? "switch" : "radio";
    out["state"] = state();
    out["tag"] = tag_;
    out["enabled"] = enabled_;
    if (!bordered_) out["bordered"] = false;
    if (!boundKey_.empty()) out["bind"] = boundKey_;
}

void SimListView::setRows(const std::vector<ListRow>& rows) {
    rows_ = rows;
    if (selected_ && *selected_ >= rows_.size()) selected_.reset();
}

void SimListView::selectRow(std::optional<size_t> row) {
    selected_ = row && *row < rows_.size() ? row : std::nullopt;
}

void SimListView::click(size_t row) {
    selectRow(row);
    if (target_ && !action_.empty()) target_->performAction(action_, this);
}

void SimListView::describeOwn(nlohmann::json& out) const {
    auto rows = nlohmann::json::array();
    for (const ListRow& r : rows_) rows.push_back({{"title", r.title}, {"detail", r.detail}});
    out["rows"] = rows;
    out["selectedRow"] = selected_ ? nlohmann::json(*selected_) : nlohmann::json();
}

SimButton* buttonWithAction(View* root, const std::string& selector) {
    for (View* v : viewsIn(root))
        if (auto* button = dynamic_cast<SimButton*>(v); button && button->action() == selector)
            return button;
    return nullptr;
}

View* viewWithIdentifier(View* root, const std::string& identifier) {
    for (View* v : viewsIn(root))
        if (v->identifier() == identifier) return v;
    return nullptr;
}

}  // namespace tidra::sim

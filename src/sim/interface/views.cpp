#include "sim/interface/views.h"

#include <cstdint>

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

double estimatedTextWidth(const std::string& text, double points) {
    // Advances of a wide sans-serif face at 13 points, each class at its widest common letter.
    double width = 0;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        std::uint32_t c = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        i += static_cast<size_t>(length);
        const bool wide = (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0xA4CF) ||
                          (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                          (c >= 0xFF00 && c <= 0xFF60);
        width += wide                                               ? 13.0
                 : c == ' ' || c == 0xA0                            ? 4.2
                 : c >= 'A' && c <= 'Z'                             ? 9.5
                 : (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ? 8.3
                 : c >= 0xC0 && c < 0x2000 ? 8.6  // accented Latin, Greek, Cyrillic
                 : c < 0x80                ? 5.0  // punctuation
                                           : 10.0;
    }
    return width * points / 13.0;
}

}  // namespace tidra::sim

#include "sim/interface/views.h"

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

#include "sim/interface/windows.h"

#include <algorithm>

#include "sim/interface/views.h"

namespace tidra::sim {

SimWindow::SimWindow(SimWindowList& list, std::string nibName, Rect frame, std::string title)
    : list_(list), nibName_(std::move(nibName)), frame_(frame), title_(std::move(title)) {
    list_.add(this);
}

SimWindow::~SimWindow() {
    list_.remove(this);
}

void SimWindow::makeKeyAndOrderFront(Object*) {
    list_.orderFront(this, true);
}

void SimWindow::center() {
    // The platform puts the window a little above the middle; the middle is close enough here.
    Rect screen = list_.screenFrame();
    frame_.origin.x = screen.origin.x + (screen.size.width - frame_.size.width) / 2;
    frame_.origin.y = screen.origin.y + (screen.size.height - frame_.size.height) / 2;
    centered_ = true;
}

void SimWindow::setContentView(std::shared_ptr<View> view) {
    contentView_ = std::move(view);
}

void SimWindow::close() {
    list_.orderOut(this);
}

bool SimWindow::isVisible() const {
    return list_.isVisible(this);
}

bool SimWindow::isKey() const {
    return list_.keyWindow() == this;
}

nlohmann::json SimWindow::describe() const {
    nlohmann::json out{{"nib", nibName_},
                       {"title", title_},
                       {"frame", describeRect(frame_)},
                       {"visible", isVisible()},
                       {"key", isKey()},
                       {"level", level_},
                       {"opaque", opaque_},
                       {"titlebarAppearsTransparent", titlebarTransparent_},
                       {"centered", centered_}};
    out["backgroundColor"] =
        background_ ? nlohmann::json{{"white", background_->white}, {"alpha", background_->alpha}}
                    : nlohmann::json();
    auto* node = dynamic_cast<const ViewNode*>(contentView_.get());
    out["contentView"] = node ? node->describe() : nlohmann::json();
    return out;
}

std::vector<SimWindow*> SimWindowList::onScreen() const {
    std::vector<SimWindow*> out = order_;
    std::stable_sort(out.begin(), out.end(),
                     [](SimWindow* a, SimWindow* b) { return a->level() > b->level(); });
    return out;
}

SimWindow* SimWindowList::find(const std::string& titleOrIndex) const {
    for (SimWindow* w : windows_)
        if (w->title() == titleOrIndex) return w;
    if (titleOrIndex.empty() ||
        !std::all_of(titleOrIndex.begin(), titleOrIndex.end(),
                     [](char c) { return c >= '0' && c <= '9'; }) ||
        titleOrIndex.size() > 6)
        return nullptr;
    size_t index = std::stoul(titleOrIndex);
    return index < windows_.size() ? windows_[index] : nullptr;
}

nlohmann::json SimWindowList::describe() const {
    auto out = nlohmann::json::array();
    for (size_t i = 0; i < windows_.size(); ++i) {
        auto w = windows_[i]->describe();
        w["index"] = i;
        out.push_back(std::move(w));
    }
    return out;
}

void SimWindowList::remove(SimWindow* window) {
    orderOut(window);
    std::erase(windows_, window);
}

void SimWindowList::orderFront(SimWindow* window, bool makeKey) {
    std::erase(order_, window);
    order_.insert(order_.begin(), window);
    if (makeKey) key_ = window;
}

void SimWindowList::orderOut(SimWindow* window) {
    std::erase(order_, window);
    if (key_ == window) key_ = order_.empty() ? nullptr : order_.front();
}

bool SimWindowList::isVisible(const SimWindow* window) const {
    return std::find(order_.begin(), order_.end(), window) != order_.end();
}

}  // namespace tidra::sim

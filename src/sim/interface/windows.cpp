#include "sim/interface/windows.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

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

namespace {

std::string frameKey(const std::string& name) {
    return "NSWindow Frame " + name;
}

std::string frameText(Rect frame, Rect screen) {
    char text[160];
    std::snprintf(text, sizeof text, "%.0f %.0f %.0f %.0f %.0f %.0f %.0f %.0f ", frame.origin.x,
                  frame.origin.y, frame.size.width, frame.size.height, screen.origin.x,
                  screen.origin.y, screen.size.width, screen.size.height);
    return text;
}

bool overlaps(Rect a, Rect b) {
    return a.origin.x < b.origin.x + b.size.width && b.origin.x < a.origin.x + a.size.width &&
           a.origin.y < b.origin.y + b.size.height && b.origin.y < a.origin.y + a.size.height;
}

}  // namespace

void SimWindow::setFrameAutosaveName(const std::string& name) {
    autosaveName_ = name;
    const WindowFrameStore& store = list_.frameStore();
    if (name.empty() || !store.read) return;
    // A saved frame is taken only when it reads whole and still lies on the screen: a display
    // gone since must not leave the window out of reach. Its size stays the window's own.
    auto saved = store.read(frameKey(name));
    if (!saved) return;
    std::istringstream in(*saved);
    double x, y, w, h;
    if (!(in >> x >> y >> w >> h)) return;
    Rect restored{{x, y}, frame_.size};
    if (!overlaps(restored, list_.screenFrame())) return;
    frame_ = restored;
}

void SimWindow::moveTo(Point origin) {
    frame_.origin = origin;
    const WindowFrameStore& store = list_.frameStore();
    if (!autosaveName_.empty() && store.write)
        store.write(frameKey(autosaveName_), frameText(frame_, list_.screenFrame()));
}

bool SimWindow::isVisible() const {
    return list_.isVisible(this);
}

bool SimWindow::isKey() const {
    return list_.keyWindow() == this;
}

nlohmann::json SimWindow::describe() const {
    nlohmann::json out{{"nib", nibName_},
                       {"frameAutosaveName", autosaveName_},
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

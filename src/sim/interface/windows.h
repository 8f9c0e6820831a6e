// Windows of the simulated Mac and the window server's list of them: order, key window,
// visibility, and what the front end shows of each.
#pragma once

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/views.h"

namespace tidra::sim {

class SimWindowList;

class SimWindow : public Window {
  public:
    SimWindow(SimWindowList& list, std::string nibName, Rect frame, std::string title);
    ~SimWindow() override;
    SimWindow(const SimWindow&) = delete;
    SimWindow& operator=(const SimWindow&) = delete;

    // Window.
    View* contentView() override { return contentView_.get(); }
    void setBackgroundColor(Color color) override { background_ = color; }
    void setOpaque(bool opaque) override { opaque_ = opaque; }
    void makeKeyAndOrderFront(Object* sender) override;
    void setTitlebarAppearsTransparent(bool transparent) override {
        titlebarTransparent_ = transparent;
    }
    void center() override;
    void setTitle(const std::string& title) override { title_ = title; }
    void setLevel(long level) override { level_ = level; }

    void setContentView(std::shared_ptr<View> view);
    // The close button: the window leaves the screen but stays loaded for its next showing.
    void close() override;
    bool isVisible() const override;
    bool isKeyWindow() const override { return isKey(); }
    void setFrameAutosaveName(const std::string& name) override;
    // The user drags the window so that its bottom-left corner lies at `origin`.
    void moveTo(Point origin);

    const std::string& nibName() const { return nibName_; }
    const std::string& title() const { return title_; }
    Rect frame() const { return frame_; }
    // Nothing until set: the platform's own window background.
    std::optional<Color> backgroundColor() const { return background_; }
    bool isOpaque() const { return opaque_; }
    bool titlebarAppearsTransparent() const { return titlebarTransparent_; }
    bool isCentered() const { return centered_; }
    long level() const { return level_; }
    bool isKey() const;
    const std::string& frameAutosaveName() const { return autosaveName_; }

    nlohmann::json describe() const;

  private:
    SimWindowList& list_;
    std::string nibName_;
    Rect frame_;
    std::string title_;
    std::shared_ptr<View> contentView_;
    std::optional<Color> background_;
    bool opaque_ = true;
    bool titlebarTransparent_ = false;
    bool centered_ = false;
    long level_ = 0;
    std::string autosaveName_;
};

// Where windows keep their frames by autosave name: the application's preferences, under
// "NSWindow Frame NAME", as AppKit writes them ("x y width height" and the screen's frame).
struct WindowFrameStore {
    std::function<std::optional<std::string>(const std::string& key)> read;
    std::function<void(const std::string& key, const std::string& value)> write;
};

class SimWindowList {
  public:
    explicit SimWindowList(Rect screenFrame = Rect{{0, 0}, {1440, 900}}) : screen_(screenFrame) {}

    Rect screenFrame() const { return screen_; }
    void setFrameStore(WindowFrameStore store) { frames_ = std::move(store); }
    const WindowFrameStore& frameStore() const { return frames_; }

    // Every window that exists, in creation order; the front end numbers them so.
    std::vector<SimWindow*> windows() const { return windows_; }
    // On-screen windows, front to back: higher levels first, then the most recently ordered.
    std::vector<SimWindow*> onScreen() const;
    SimWindow* keyWindow() const { return key_; }
    // A window by its title, or by its number in `windows()` (from 0). Titles win.
    SimWindow* find(const std::string& titleOrIndex) const;
    nlohmann::json describe() const;

    // For the windows themselves.
    void add(SimWindow* window) { windows_.push_back(window); }
    void remove(SimWindow* window);
    void orderFront(SimWindow* window, bool makeKey);
    void orderOut(SimWindow* window);
    bool isVisible(const SimWindow* window) const;

  private:
    Rect screen_;
    WindowFrameStore frames_;
    std::vector<SimWindow*> windows_;
    std::vector<SimWindow*> order_;  // on screen, most recently ordered front first
    SimWindow* key_ = nullptr;
};

}  // namespace tidra::sim

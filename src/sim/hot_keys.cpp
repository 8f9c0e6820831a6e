#include "sim/hot_keys.h"

#include <algorithm>

namespace tidra::sim {

class SimHotKeys::Registration : public HotKey {
  public:
    Registration(std::weak_ptr<SimHotKeys*> registry, std::uint64_t id)
        : registry_(std::move(registry)), id_(id) {}
    ~Registration() override {
        if (auto registry = registry_.lock(); registry && *registry) (*registry)->unregister(id_);
    }

  private:
    std::weak_ptr<SimHotKeys*> registry_;
    std::uint64_t id_;
};

SimHotKeys::~SimHotKeys() {
    *self_ = nullptr;
}

std::unique_ptr<HotKey> SimHotKeys::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                   std::function<void()> pressed, int& status) {
    // macOS 15.0 refused hot keys of ⌥ or ⌥⇧ alone to sandboxed applications only, and 15.2
    // withdrew that; Tidra is not sandboxed, so nothing refuses them here.
    const bool held = std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.keyCode == keyCode && e.modifiers == modifiers;
    });
    if (held) {
        status = kEventHotKeyExistsErr;
        return nullptr;
    }
    status = kNoErr;
    const std::uint64_t id = nextId_++;
    entries_.push_back({id, keyCode, modifiers, owner_, std::move(pressed)});
    return std::make_unique<Registration>(self_, id);
}

void SimHotKeys::unregister(std::uint64_t id) {
    std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

void SimHotKeys::dropOwner(int pid) {
    std::erase_if(entries_, [pid](const Entry& e) { return e.owner == pid; });
}

void SimHotKeys::takeByOtherApplication(std::uint32_t keyCode, std::uint32_t modifiers) {
    entries_.push_back({nextId_++, keyCode, modifiers, kOtherApplication, nullptr});
}

int SimHotKeys::press(std::uint32_t keyCode, std::uint32_t modifiers) {
    for (const Entry& e : entries_) {
        if (e.keyCode != keyCode || e.modifiers != modifiers) continue;
        if (e.pressed) {
            // Looked up again when the event is handled: a registration gone by then hears
            // nothing.
            const std::uint64_t id = e.id;
            loop_.post(
                [this, id] {
                    for (const Entry& now : entries_)
                        if (now.id == id && now.pressed) {
                            auto pressed = now.pressed;
                            pressed();
                            return;
                        }
                },
                e.owner);
        }
        return e.owner;
    }
    return 0;
}

int SimHotKeys::registeredBy(int pid) const {
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [pid](const Entry& e) { return e.owner == pid; }));
}

std::vector<std::pair<std::uint32_t, std::uint32_t>> SimHotKeys::heldBy(int pid) const {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> out;
    for (const Entry& e : entries_)
        if (e.owner == pid) out.emplace_back(e.keyCode, e.modifiers);
    return out;
}

}  // namespace tidra::sim

#include "sim/distributed_center.h"

#include <algorithm>

namespace tidra::sim {

void SimDistributedCenter::addObserver(Object* observer, const std::string& selector,
                                       const std::optional<std::string>& name, Object*,
                                       NotificationSuspensionBehavior suspensionBehavior) {
    if (!observer) return;
    observers_.push_back({nextId_++, observer, selector, name, suspensionBehavior, {}});
}

void SimDistributedCenter::removeObserver(Object* observer, const std::optional<std::string>& name,
                                          Object*) {
    std::erase_if(observers_, [&](const Entry& e) {
        return e.observer == observer && (!name || e.name == name);
    });
}

void SimDistributedCenter::post(const std::string& name) {
    loop_.post([this, name] {
        const bool active = !active_ || active_();
        // Observers are looked up at delivery time: one removed meanwhile hears nothing.
        std::vector<std::uint64_t> now;
        for (Entry& e : observers_) {
            if (e.name && *e.name != name) continue;
            if (active || e.behavior == NotificationSuspensionBehavior::DeliverImmediately) {
                now.push_back(e.id);
            } else if (e.behavior == NotificationSuspensionBehavior::Hold ||
                       (e.behavior == NotificationSuspensionBehavior::Coalesce &&
                        std::find(e.held.begin(), e.held.end(), name) == e.held.end())) {
                e.held.push_back(name);
            }
        }
        for (std::uint64_t id : now) deliver(id, name);
    });
}

void SimDistributedCenter::applicationDidBecomeActive() {
    loop_.post([this] {
        std::vector<std::pair<std::uint64_t, std::string>> due;
        for (Entry& e : observers_) {
            for (const auto& name : e.held) due.emplace_back(e.id, name);
            e.held.clear();
        }
        for (const auto& [id, name] : due) deliver(id, name);
    });
}

void SimDistributedCenter::deliver(std::uint64_t id, const std::string& name) {
    auto it = std::find_if(observers_.begin(), observers_.end(),
                           [&](const Entry& e) { return e.id == id; });
    if (it == observers_.end()) return;
    Notification note{name, nullptr, Value()};
    Object* observer = it->observer;
    std::string selector = it->selector;
    auto call = [&] { observer->performNotification(selector, note); };
    if (wrap_)
        wrap_(call);
    else
        call();
}

}  // namespace tidra::sim

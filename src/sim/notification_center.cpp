#include "sim/notification_center.h"

#include <algorithm>

namespace tidra::sim {

void SimNotificationCenter::addObserver(Object* observer, const std::string& selector,
                                        const std::optional<std::string>& name, Object* object) {
    addObserver(observer, selector, name, object,
                NotificationSuspensionBehavior::DeliverImmediately);
}

void SimNotificationCenter::addObserver(Object* observer, const std::string& selector,
                                        const std::optional<std::string>& name, Object* object,
                                        NotificationSuspensionBehavior suspensionBehavior) {
    if (!observer) return;
    observers_.push_back({nextId_++, observer, selector, name, object, suspensionBehavior, {}});
}

void SimNotificationCenter::removeObserver(Object* observer, const std::optional<std::string>& name,
                                           Object* object) {
    std::erase_if(observers_, [&](const Entry& e) {
        return e.observer == observer && (!name || e.name == name) &&
               (!object || e.object == object);
    });
}

void SimNotificationCenter::post(const std::string& name, Value userInfo) {
    loop_.post([this, name, userInfo] {
        const bool active = !active_ || active_();
        // Observers are looked up at delivery time: one removed meanwhile hears nothing.
        std::vector<std::uint64_t> now;
        for (Entry& e : observers_) {
            if (e.name && *e.name != name) continue;
            const bool heldAlready = std::any_of(e.held.begin(), e.held.end(),
                                                 [&](const Held& h) { return h.name == name; });
            if (active || e.behavior == NotificationSuspensionBehavior::DeliverImmediately)
                now.push_back(e.id);
            else if (e.behavior == NotificationSuspensionBehavior::Hold ||
                     (e.behavior == NotificationSuspensionBehavior::Coalesce && !heldAlready))
                e.held.push_back({name, userInfo});
        }
        for (std::uint64_t id : now) deliver(id, name, userInfo);
    });
}

void SimNotificationCenter::applicationDidBecomeActive() {
    loop_.post([this] {
        std::vector<std::pair<std::uint64_t, Held>> due;
        for (Entry& e : observers_) {
            for (Held& h : e.held) due.emplace_back(e.id, std::move(h));
            e.held.clear();
        }
        for (const auto& [id, held] : due) deliver(id, held.name, held.userInfo);
    });
}

void SimNotificationCenter::deliver(std::uint64_t id, const std::string& name,
                                    const Value& userInfo) {
    auto it = std::find_if(observers_.begin(), observers_.end(),
                           [&](const Entry& e) { return e.id == id; });
    if (it == observers_.end()) return;
    Notification note{name, nullptr, userInfo};
    Object* observer = it->observer;
    std::string selector = it->selector;
    auto call = [&] { observer->performNotification(selector, note); };
    if (wrap_)
        wrap_(call);
    else
        call();
}

}  // namespace tidra::sim

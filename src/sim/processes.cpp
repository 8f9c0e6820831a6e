#include "sim/processes.h"

#include <algorithm>

namespace tidra::sim {

void SimNotificationCenter::addObserver(Object* observer, const std::string& selector,
                                        const std::optional<std::string>& name, Object* object) {
    if (!observer) return;
    observers_.push_back({nextId_++, observer, selector, name, object});
}

void SimNotificationCenter::removeObserver(Object* observer, const std::optional<std::string>& name,
                                           Object* object) {
    std::erase_if(observers_, [&](const Entry& e) {
        return e.observer == observer && (!name || e.name == name) &&
               (!object || e.object == object);
    });
}

void SimNotificationCenter::post(const std::string& name, Value userInfo, int owner) {
    loop_.post(
        [this, name, userInfo] {
            // Observers are looked up at delivery time: one removed meanwhile hears nothing.
            std::vector<std::uint64_t> ids;
            for (const Entry& e : observers_)
                if (!e.name || *e.name == name) ids.push_back(e.id);
            for (std::uint64_t id : ids) {
                auto it = std::find_if(observers_.begin(), observers_.end(),
                                       [&](const Entry& e) { return e.id == id; });
                if (it == observers_.end()) continue;
                Notification note{name, nullptr, userInfo};
                Object* observer = it->observer;
                std::string selector = it->selector;
                auto deliver = [&] { observer->performNotification(selector, note); };
                if (wrap_)
                    wrap_(deliver);
                else
                    deliver();
            }
        },
        owner);
}

AppBehaviour& Processes::behaviourOf(const std::string& id) {
    auto it = behaviours_.find(id);
    return it == behaviours_.end() ? plain_ : *it->second;
}

int Processes::spawn(const std::string& bundleIdentifier, const std::string& name,
                     const std::string& bundlePath) {
    int pid = nextPid_++;
    list_.push_back({pid, bundleIdentifier, name, bundlePath, false});
    behaviourOf(bundleIdentifier).started(list_.back());
    Dictionary info{{Value(kApplicationBundleIdentifierKey), Value(bundleIdentifier)},
                    {Value("NSApplicationName"), Value(name)},
                    {Value("NSApplicationProcessIdentifier"), Value(pid)}};
    center_.post(kWorkspaceDidLaunchApplicationNotification, Value(info));
    return pid;
}

ProcessInfo* Processes::find(int pid) {
    auto it = std::find_if(list_.begin(), list_.end(), [&](auto& p) { return p.pid == pid; });
    return it == list_.end() ? nullptr : &*it;
}

bool Processes::isRunning(int pid) const {
    return std::any_of(list_.begin(), list_.end(), [&](auto& p) { return p.pid == pid; });
}

std::vector<ProcessInfo> Processes::withBundleIdentifier(const std::string& id) const {
    std::vector<ProcessInfo> out;
    for (const auto& p : list_)
        if (p.bundleIdentifier == id) out.push_back(p);
    return out;
}

bool Processes::requestQuit(int pid) {
    ProcessInfo* p = find(pid);
    if (!p) return false;
    p->quitRequested = true;
    behaviourOf(p->bundleIdentifier).quitRequested(*p, [this, pid] { end(pid, false); });
    return true;
}

void Processes::end(int pid, bool crashed) {
    ProcessInfo* p = find(pid);
    if (!p) return;
    ProcessInfo gone = *p;
    std::erase_if(list_, [&](auto& q) { return q.pid == pid; });
    loop_.cancelOwner(pid);
    behaviourOf(gone.bundleIdentifier).ended(gone, crashed);
    Dictionary info{{Value(kApplicationBundleIdentifierKey), Value(gone.bundleIdentifier)},
                    {Value("NSApplicationName"), Value(gone.name)},
                    {Value("NSApplicationProcessIdentifier"), Value(gone.pid)}};
    center_.post(kWorkspaceDidTerminateApplicationNotification, Value(info));
}

}  // namespace tidra::sim

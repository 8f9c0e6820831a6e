#include "sim/processes.h"

#include <algorithm>

namespace tidra::sim {

AppBehaviour& Processes::behaviourOf(const std::string& id) {
    auto it = behaviours_.find(id);
    return it == behaviours_.end() ? plain_ : *it->second;
}

int Processes::spawn(const std::string& bundleIdentifier, const std::string& name,
                     const std::string& bundlePath) {
    int pid = nextPid_++;
    list_.push_back({pid, bundleIdentifier, name, bundlePath, false, false});
    AppBehaviour& behaviour = behaviourOf(bundleIdentifier);
    behaviour.started(list_.back());
    if (!behaviour.finishesLaunchingLater()) finishedLaunching(pid);
    return pid;
}

namespace {
Value applicationInfo(const ProcessInfo& p) {
    return Value(Dictionary{{Value(kApplicationBundleIdentifierKey), Value(p.bundleIdentifier)},
                            {Value("NSApplicationName"), Value(p.name)},
                            {Value("NSApplicationProcessIdentifier"), Value(p.pid)}});
}
}  // namespace

void Processes::finishedLaunching(int pid) {
    ProcessInfo* p = find(pid);
    if (!p || p->finishedLaunching) return;
    p->finishedLaunching = true;
    center_.post(kWorkspaceDidLaunchApplicationNotification, applicationInfo(*p));
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
    center_.post(kWorkspaceDidTerminateApplicationNotification, applicationInfo(gone));
}

}  // namespace tidra::sim

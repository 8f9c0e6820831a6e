#include "sim/apps/finder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "prefs/keys.h"
#include "sim/formats/plist_value.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {
std::vector<std::string> strings(const Value& v) {
    std::vector<std::string> out;
    for (const Value& s : v.array())
        if (s.isString()) out.push_back(s.string());
    return out;
}
Array toArray(const std::vector<std::string>& v) {
    Array out;
    for (const auto& s : v) out.emplace_back(s);
    return out;
}
}  // namespace

SimFinder::SimFinder(RunLoop& loop, SimPreferences& prefs, const Disk& disk)
    : loop_(loop), prefs_(prefs), disk_(disk) {
    std::ifstream in(disk_.real(stateFile()), std::ios::binary);
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Value state = parsePlist(bytes);
    if (state.isDictionary()) {
        lastOpen_ = strings(state["open"]);
        saved_ = strings(state["saved"]);
    } else {
        lastOpen_ = {"Documents", "Downloads"};  // a new Mac's Finder
    }
}

std::string SimFinder::stateFile() const {
    return disk_.home() +
           "/Library/Saved Application State/com.apple.finder.savedState/windows.plist";
}

void SimFinder::persist() const {
    std::vector<std::string> open;
    for (const auto& [pid, inst] : instances_)
        open.insert(open.end(), inst.windows.begin(), inst.windows.end());
    Dictionary state{{Value("open"), Value(toArray(open))},
                     {Value("saved"), Value(toArray(saved_))}};
    auto bytes = toBinaryPlist(Value(state));
    if (!bytes) return;
    disk_.writeFile(stateFile(),
                    std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

void SimFinder::started(ProcessInfo& p) {
    ++launches_;
    Instance inst;
    inst.pid = p.pid;
    instances_[p.pid] = inst;
    int pid = p.pid;
    // The Finder that is up when the simulated Mac starts has long finished starting.
    const double delay = booted_ ? kStartDelay : 0;
    booted_ = true;
    loop_.after(
        delay,
        [this, pid] {
            auto it = instances_.find(pid);
            if (it == instances_.end()) return;
            Instance& in = it->second;
            Value createDesktop =
                prefs_.domainSnapshot(kFinderBundleId)[Value(prefs::kCreateDesktop)];
            in.drawsDesktop = createDesktop.isNil() || createDesktop.boolValue();
            in.desktopIcons.clear();
            if (in.drawsDesktop) {
                std::error_code ec;
                for (const auto& e :
                     fs::directory_iterator(disk_.real(disk_.home() + "/Desktop"), ec))
                    if (e.path().filename().string()[0] != '.')
                        in.desktopIcons.push_back(e.path().filename().string());
                std::sort(in.desktopIcons.begin(), in.desktopIcons.end());
            }
            // Only the first Finder reopens windows: kept ones, or those open when the Mac stopped.
            if (instances_.begin()->first == pid) {
                in.windows = !saved_.empty() ? saved_ : lastOpen_;
                saved_.clear();
                lastOpen_.clear();
            }
            in.ready = true;
            persist();
            if (launchFinished_) launchFinished_(pid);
        },
        pid);
}

bool SimFinder::quitRequested(ProcessInfo& p, std::function<void()> quit) {
    if (refuses_) return false;
    int pid = p.pid;
    loop_.after(
        kQuitDelay,
        [this, pid, quit] {
            auto it = instances_.find(pid);
            if (it != instances_.end()) {
                bool keep =
                    prefs_.domainSnapshot(kFinderBundleId)[Value(prefs::kQuitAlwaysKeepsWindows)]
                        .boolValue();
                if (keep)
                    saved_ = it->second.windows;
                else
                    saved_.clear();
            }
            quit();
        },
        pid);
    return true;
}

void SimFinder::ended(ProcessInfo& p, bool crashed) {
    if (crashed) saved_.clear();
    instances_.erase(p.pid);
    persist();
}

std::vector<SimFinder::Instance> SimFinder::instances() const {
    std::vector<Instance> out;
    for (const auto& [pid, inst] : instances_) out.push_back(inst);
    return out;
}

void SimFinder::openWindow(const std::string& title) {
    if (instances_.empty()) return;
    instances_.begin()->second.windows.push_back(title);
    persist();
}

}  // namespace tidra::sim

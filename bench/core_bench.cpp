// What the core of Tidra costs on the simulated Mac: a launch to an idle run loop, one
// preference write that reaches the disk, the controller's wake-up on its own, and one whole
// toggle (hide, then show) on the virtual clock. The benchmarks' main comes from
// wallpaper_bench.cpp.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/class_registry.h"
#include "frontend/frontend.h"
#include "menu/status_menu_controller.h"
#include "sim/mac.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;

// A simulated Mac folder of its own, removed when the benchmark is done with it.
class ScratchMac {
  public:
    explicit ScratchMac(const std::string& name)
        : root_(fs::temp_directory_path() /
                ("tidra-bench-" + std::to_string(::getpid()) + "-" + name)) {
        fs::remove_all(root_);
    }
    ~ScratchMac() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    ScratchMac(const ScratchMac&) = delete;
    ScratchMac& operator=(const ScratchMac&) = delete;

    sim::MacOptions options() const {
        sim::MacOptions o;
        o.root = root_.string();
        o.bundleIn = "applications";  // no move offer
        o.tidraProgram = makeTidraClasses;
        return o;
    }

  private:
    fs::path root_;
};

// Tidra's controller while it runs.
StatusMenuController* controllerOf(sim::Mac& mac) {
    sim::SimApplication* app = mac.application();
    return app ? dynamic_cast<StatusMenuController*>(app->object("controller")) : nullptr;
}

// A Mac with Tidra running and settled, driven by the front end as a script drives it.
struct RunningTidra {
    explicit RunningTidra(sim::MacOptions options) : mac(std::move(options)), frontend(mac, out) {
        frontend.attach(none, false);
        frontend.launch();
    }
    bool run(const std::string& line) {
        out.str("");
        return frontend.executeLine(line);
    }

    sim::Mac mac;
    std::ostringstream out;
    std::istringstream none;
    sim::Frontend frontend;
};

// From nothing to Tidra idle in its run loop, on a Mac that has been used before (the first
// launch's welcome and store set-up are done once, outside the measure).
void BM_LaunchToIdle(benchmark::State& state) {
    ScratchMac scratch("launch");
    {
        sim::Mac first(scratch.options());
        if (!first.launchTidra()) state.SkipWithError(first.launchError().c_str());
        first.settle();
    }
    auto options = scratch.options();
    options.bundleIn.clear();  // where the last run left it
    for (auto _ : state) {
        auto mac = std::make_unique<sim::Mac>(options);
        if (!mac->launchTidra()) {
            state.SkipWithError(mac->launchError().c_str());
            break;
        }
        mac->settle();
        benchmark::DoNotOptimize(mac->tidraRunning());
        state.PauseTiming();
        mac.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LaunchToIdle)->Unit(benchmark::kMillisecond);

// Quit, then launch again in the same Mac: the launch without the Mac's own start-up.
void BM_Relaunch(benchmark::State& state) {
    ScratchMac scratch("relaunch");
    RunningTidra t(scratch.options());
    for (auto _ : state) {
        state.PauseTiming();
        t.run("quit");
        state.ResumeTiming();
        if (!t.mac.launchTidra()) {
            state.SkipWithError(t.mac.launchError().c_str());
            break;
        }
        t.mac.settle();
    }
}
BENCHMARK(BM_Relaunch)->Unit(benchmark::kMillisecond);

// One Boolean written to Tidra's domain and synchronised: a binary property list written to a
// temporary file and renamed over the old one.
void BM_PreferenceWriteSynchronize(benchmark::State& state) {
    ScratchMac scratch("prefs");
    sim::Mac mac(scratch.options());
    UserDefaults& defaults = mac.prefs().standardUserDefaults();
    bool value = false;
    for (auto _ : state) {
        value = !value;  // a changed value, so that every round really writes
        defaults.setBool(value, "benchmarkFlag");
        benchmark::DoNotOptimize(defaults.synchronize());
    }
}
BENCHMARK(BM_PreferenceWriteSynchronize)->Unit(benchmark::kMicrosecond);

// The controller's wake-up alone: a second controller, wired to the running Tidra's menu as the
// interface description wires the first, wakes up and is torn down. Its construction and
// teardown are outside the measure. Its preference writes also reach the running controller's
// observers, which a launch's wake-up does not have yet: a small overstatement.
void BM_WakeUp(benchmark::State& state) {
    ScratchMac scratch("wake");
    RunningTidra t(scratch.options());
    StatusMenuController* running = controllerOf(t.mac);
    if (!running) {
        state.SkipWithError("Tidra has no controller");
        return;
    }
    const int tidraPid = t.mac.tidraPid();
    const int otherPid = tidraPid + 100000;  // keeps the display callback apart from Tidra's
    for (auto _ : state) {
        state.PauseTiming();
        t.mac.simScreens().setOwner(otherPid);
        auto controller = std::make_unique<StatusMenuController>(t.mac.platform());
        controller->setOutlet("statusMenu", running->statusMenu());
        controller->setOutlet("wallpaperNoReplaceMenuItem", running->wallpaperNoReplaceMenuItem());
        controller->setOutlet("wallpaperReplaceWithImageMenuItem",
                              running->wallpaperReplaceWithImageMenuItem());
        controller->setOutlet("wallpaperReplaceWithGreyMenuItem",
                              running->wallpaperReplaceWithGreyMenuItem());
        state.ResumeTiming();
        controller->awakeFromNib();
        state.PauseTiming();
        t.mac.settle();
        controller.reset();
        t.mac.simScreens().dropOwner(otherPid);
        t.mac.simScreens().setOwner(tidraPid);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_WakeUp)->Unit(benchmark::kMicrosecond);

// Click (Finder quits and comes back without icons), three seconds, click (all back), three
// seconds: the road of one toggle and its return, on the virtual clock.
void BM_ToggleCycle(benchmark::State& state) {
    ScratchMac scratch("toggle");
    RunningTidra t(scratch.options());
    for (auto _ : state) {
        bool ok = t.run("click") && t.run("wait 3");
        const bool hidden = controllerOf(t.mac) && controllerOf(t.mac)->clean();
        ok = ok && t.run("click") && t.run("wait 3");
        const bool shown = controllerOf(t.mac) && !controllerOf(t.mac)->clean();
        if (!ok || !hidden || !shown) {
            state.SkipWithError("the toggle did not go round");
            break;
        }
    }
}
BENCHMARK(BM_ToggleCycle)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tidra

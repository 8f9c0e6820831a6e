// Costs of the wallpaper work on the simulated Mac: replacement and restore by number of screens,
// the stored records' archives, and importing a large picture against a plain `cp`.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "../tests/wallpaper_rig.h"
#include "sim/interface/status_bar.h"

namespace tidra::sim {
namespace {

namespace fs = std::filesystem;

// One folder a process: several benchmark runs may share the machine.
std::string benchRoot(const std::string& name) {
    return (fs::temp_directory_path() / ("tidra-bench-" + name + "-" + std::to_string(::getpid())))
        .string();
}

void ReplaceAndRestore(benchmark::State& state) {
    const std::string root = benchRoot("screens");
    struct Cleanup {
        std::string root;
        ~Cleanup() { fs::remove_all(root); }
    } cleanup{root};
    WallpaperRig rig(root);
    for (int i = 1; i < state.range(0); ++i) rig.screens.addScreen("Display");
    rig.loop.runDue();
    rig.chooseGrey();
    for (auto _ : state) {
        rig.hide();
        rig.show();
        // The pending re-application and the screens' own bookkeeping, as the main loop runs them.
        rig.loop.advance(5);
    }
    state.SetComplexityN(state.range(0));
    if (rig.picture(1) != rig.screens.defaultPicture()) state.SkipWithError("not restored");
}
BENCHMARK(ReplaceAndRestore)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Arg(64)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

void EncodeDecodeTenEntryRecord(benchmark::State& state) {
    KeyedArchiver archiver;
    Dictionary wallpapers, options;
    for (int i = 1; i <= 10; ++i) {
        wallpapers[Value(69732928 + i)] =
            Value(Url::fileURLWithPath("/Users/me/Pictures/Holiday " + std::to_string(i) + ".jpg"));
        options[Value(69732928 + i)] =
            Value(Dictionary{{Value("NSWorkspaceDesktopImageScalingKey"), Value(3)},
                             {Value("NSWorkspaceDesktopImageAllowClippingKey"), Value(true)}});
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        Data a = archiver.archivedDataWithRootObject(Value(wallpapers));
        Data b = archiver.archivedDataWithRootObject(Value(options));
        bytes = a.size() + b.size();
        benchmark::DoNotOptimize(archiver.unarchiveObjectWithData(a));
        benchmark::DoNotOptimize(archiver.unarchiveObjectWithData(b));
    }
    state.counters["archiveBytes"] = static_cast<double>(bytes);
}
BENCHMARK(EncodeDecodeTenEntryRecord)->Unit(benchmark::kMicrosecond);

constexpr std::size_t kLargePicture = 50u << 20;

void writeLargePicture(const std::string& realPath) {
    std::ofstream out(realPath, std::ios::binary);
    std::string block(1 << 20, '\0');
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 131 + 7);
    for (std::size_t done = 0; done < kLargePicture; done += block.size()) out << block;
}

void ImportLargePicture(benchmark::State& state) {
    const std::string root = benchRoot("import");
    struct Cleanup {
        std::string root;
        ~Cleanup() { fs::remove_all(root); }
    } cleanup{root};
    WallpaperRig rig(root);
    writeLargePicture(rig.disk.real("/Users/me/Pictures/large.jpg"));
    SimMenuItem custom("", kWallpaperCustomImageTag);
    for (auto _ : state) {
        rig.chooser->choose(custom.tag());
        if (rig.panels.choose("/Users/me/Pictures/large.jpg")) state.SkipWithError("refused");
        rig.loop.runDue();
    }
    if (!rig.exists("/Users/me/Library/Application Support/Tidra/large.jpg"))
        state.SkipWithError("not imported");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLargePicture));
}
BENCHMARK(ImportLargePicture)->Unit(benchmark::kMillisecond);

void CpLargePicture(benchmark::State& state) {
    const std::string root = benchRoot("cp");
    fs::remove_all(root);
    fs::create_directories(root + "/src");
    fs::create_directories(root + "/dst");
    writeLargePicture(root + "/src/large.jpg");
    const std::string command = "cp '" + root + "/src/large.jpg' '" + root + "/dst/large.jpg'";
    for (auto _ : state) {
        // The import removes the earlier copy too.
        fs::remove(root + "/dst/large.jpg");
        if (std::system(command.c_str()) != 0) state.SkipWithError("cp failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLargePicture));
    fs::remove_all(root);
}
BENCHMARK(CpLargePicture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tidra::sim

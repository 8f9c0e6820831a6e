// A preference file far beyond what Tidra writes itself: 200,000 keys (about 5.5 MB) in Tidra's
// domain, and five commands on it, from the Mac's start (the file read) to its end (the file
// written back). Every write of the domain writes the whole file, so the writer's cost per key
// decides this figure.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/class_registry.h"
#include "frontend/frontend.h"
#include "sim/formats/plist_value.h"
#include "sim/mac.h"

namespace tidra {
namespace {

namespace fs = std::filesystem;

void BM_LargePreferenceFile(benchmark::State& state) {
    const fs::path root =
        fs::temp_directory_path() / ("tidra-bench-" + std::to_string(::getpid()) + "-large");
    fs::remove_all(root);
    sim::MacOptions options;
    options.root = root.string();
    options.bundleIn = "applications";
    options.tidraProgram = makeTidraClasses;
    // The file is laid in place once; each round starts a Mac on it.
    Dictionary keys;
    for (int i = 0; i < state.range(0); ++i)
        keys[Value("preference.key." + std::to_string(i))] = Value("value " + std::to_string(i));
    const auto bytes = sim::toBinaryPlist(Value(std::move(keys)));
    const fs::path file = root / "Users/me/Library/Preferences/xq.morv.Tidra.plist";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(root);
        fs::create_directories(file.parent_path());
        {
            std::ofstream out(file, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes->data()), std::streamsize(bytes->size()));
        }
        state.ResumeTiming();
        {
            sim::Mac mac(options);
            std::ostringstream out;
            sim::Frontend frontend(mac, out);
            std::istringstream none;
            frontend.attach(none, false);
            frontend.launch();
            for (const char* line :
                 {"defaults write xq.morv.Tidra benchmark -int 1",
                  "defaults read xq.morv.Tidra benchmark", "status", "menu Grey", "wait 1"})
                if (!frontend.executeLine(line)) state.SkipWithError(out.str().c_str());
        }
    }
    state.SetLabel(std::to_string(bytes->size() / 1000) + " kB");
    fs::remove_all(root);
}
BENCHMARK(BM_LargePreferenceFile)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace tidra

// A preference file of any content: opening the store, reading a key and writing one never
// crash; a file that is not a dictionary is reported and moved aside with its bytes intact, and
// a good one keeps every value it held.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz_folder.h"
#include "sim/console_log.h"
#include "sim/formats/plist_value.h"
#include "sim/preferences.h"
#include "sim/run_loop.h"

using namespace tidra;

namespace {

constexpr const char* kDomain = "xq.morv.Tidra";

Data readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzFolder folder;
    folder.clear();
    const Data bytes(data, data + size);
    const sim::Disk disk(folder.path());
    const std::string file =
        disk.real(std::string("/Users/me/Library/Preferences/") + kDomain + ".plist");
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), std::streamsize(size));

    const Value parsed = sim::parsePlist(bytes);
    const bool good = parsed.isStringKeyedDictionary();

    sim::RunLoop loop(false);
    sim::ConsoleLog console(loop, "");
    sim::SimPreferences prefs(disk, kDomain, console);
    UserDefaults& defaults = prefs.standardUserDefaults();
    (void)defaults.objectForKey("hideIcons");
    (void)defaults.boolForKey("hideIcons");
    (void)defaults.URLForKey("replaceWallpaper");

    std::error_code ec;
    if (good) {
        fuzz::check(console.lines().empty());
        fuzz::check(!std::filesystem::exists(file + ".corrupt-1", ec));
    } else {
        fuzz::check(console.lines().size() == 1);
        fuzz::check(!std::filesystem::exists(file, ec));
        fuzz::check(readFile(file + ".corrupt-1") == bytes);
    }

    defaults.setBool(true, "fuzzWrite");
    fuzz::check(defaults.synchronize());
    const Value written = sim::parsePlist(readFile(file));
    fuzz::check(written.isStringKeyedDictionary());
    Dictionary expected = good ? parsed.dictionary() : Dictionary{};
    expected[Value("fuzzWrite")] = Value(true);
    fuzz::check(Value(expected) == written);
    return 0;
}

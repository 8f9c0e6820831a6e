// The keyed-archive decoder and the loading of the two wallpaper records. The bytes are decoded
// on their own, then stored as both records in a real preference store on disk and loaded the
// way Tidra loads them at launch.
#include <cstddef>
#include <cstdint>

#include "fuzz_folder.h"
#include "prefs/keys.h"
#include "sim/console_log.h"
#include "sim/formats/keyed_archiver.h"
#include "sim/preferences.h"
#include "sim/run_loop.h"
#include "wallpaper/wallpaper_records.h"

using namespace tidra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::FuzzFolder folder;
    folder.clear();
    const Data bytes(data, data + size);

    sim::KeyedArchiver archiver;
    const Value decoded = archiver.unarchiveObjectWithData(bytes);
    if (!decoded.isNil()) {
        // What was read can be written again, and reads back the same.
        const Data again = archiver.archivedDataWithRootObject(decoded);
        if (!again.empty()) fuzz::check(archiver.unarchiveObjectWithData(again) == decoded);
    }

    sim::RunLoop loop(false);
    sim::ConsoleLog console(loop, "");
    const sim::Disk disk(folder.path());
    {
        sim::SimPreferences prefs(disk, prefs::kAppDomain, console);
        UserDefaults& defaults = prefs.standardUserDefaults();
        defaults.setObject(Value(bytes), prefs::kWallpapers);
        defaults.setObject(Value(bytes), prefs::kWallpapersOptions);
        fuzz::check(defaults.synchronize());
    }
    sim::SimPreferences prefs(disk, prefs::kAppDomain, console);
    UserDefaults& defaults = prefs.standardUserDefaults();
    WallpaperRecordStore store(defaults, archiver);
    const WallpaperRecords records = store.load();
    fuzz::check(records.wallpapers.size() <= kMaxWallpaperRecordEntries);
    fuzz::check(records.options.size() <= kMaxWallpaperRecordEntries);
    fuzz::check(records.wallpapers.empty() || isWallpapersRecord(Value(records.wallpapers)));
    fuzz::check(records.options.empty() || isWallpapersOptionsRecord(Value(records.options)));

    // Records that were taken in are stored again as they are, and read back unchanged.
    store.store(records);
    const WallpaperRecords reloaded = store.load();
    fuzz::check(reloaded.wallpapers == records.wallpapers);
    fuzz::check(reloaded.options == records.options);
    return 0;
}

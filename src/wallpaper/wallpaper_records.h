// The two per-screen records of the wallpapers Tidra replaced, and their stored form: one keyed
// archive each in the preferences store, so that a restore still works after a relaunch.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/defaults.h"
#include "platform/value.h"

namespace tidra {

// A stored record larger than this is taken for damage, not for a real set of screens.
inline constexpr std::size_t kMaxWallpaperRecordEntries = 10;

struct WallpaperRecords {
    Dictionary wallpapers;  // screen number -> the wallpaper's file URL before replacement
    Dictionary options;     // screen number -> that screen's desktop-image options, untouched
    // screen number -> the picture Tidra put on that screen and has not taken back yet.
    Dictionary applied;
    // Whether `applied` was read from the store: records written before Tidra kept it say
    // nothing of what it put on the screens.
    bool appliedKnown = false;
};

// Screen numbers to file URLs.
bool isWallpapersRecord(const Value& v);
// Screen numbers to dictionaries with string keys.
bool isWallpapersOptionsRecord(const Value& v);

// Cuts `record` down to `limit` entries: first the entries of screens not in `connected`, in the
// record's order, then, should the connected screens alone be too many, the entries of those
// listed last.
void trimRecord(Dictionary& record, const std::vector<Value>& connected, std::size_t limit);

class WallpaperRecordStore {
  public:
    WallpaperRecordStore(UserDefaults& defaults, Archiver& archiver)
        : defaults_(defaults), archiver_(archiver) {}

    // Each record is judged by itself: a missing or malformed value leaves that record empty
    // and the stored bytes in place; an oversized one is dropped from the store as well.
    WallpaperRecords load();
    // Writes the records, then synchronises once.
    void store(const WallpaperRecords& records);
    // Writes only what Tidra has on the screens.
    void storeApplied(const WallpaperRecords& records);

  private:
    Dictionary loadOne(const char* key, bool (*shape)(const Value&), bool* found = nullptr);

    UserDefaults& defaults_;
    Archiver& archiver_;
};

}  // namespace tidra

#include "wallpaper/wallpaper_records.h"

#include <algorithm>
#include <iterator>

#include "prefs/keys.h"

namespace tidra {

namespace {

bool numberKeysAnd(const Value& v, bool (*valueOk)(const Value&)) {
    if (!v.isDictionary()) return false;
    for (const auto& [key, item] : v.dictionary())
        if (!key.isNumber() || !valueOk(item)) return false;
    return true;
}

}  // namespace

bool isWallpapersRecord(const Value& v) {
    return numberKeysAnd(v, [](const Value& item) { return item.isUrl(); });
}

bool isWallpapersOptionsRecord(const Value& v) {
    return numberKeysAnd(v, [](const Value& item) { return item.isStringKeyedDictionary(); });
}

void trimRecord(Dictionary& record, const std::vector<Value>& connected, std::size_t limit) {
    auto isConnected = [&](const Value& key) {
        return std::find(connected.begin(), connected.end(), key) != connected.end();
    };
    for (auto it = record.begin(); it != record.end() && record.size() > limit;)
        it = isConnected(it->first) ? std::next(it) : record.erase(it);
    for (auto it = connected.rbegin(); it != connected.rend() && record.size() > limit; ++it)
        record.erase(*it);
}

Dictionary WallpaperRecordStore::loadOne(const char* key, bool (*shape)(const Value&),
                                         bool* found) {
    Value stored = defaults_.objectForKey(key);
    if (!stored.isData()) return {};
    Value record = archiver_.unarchiveObjectWithData(stored.data());
    if (!shape(record)) return {};
    if (record.dictionary().size() > kMaxWallpaperRecordEntries) {
        // No synchronise: the next write of the store carries the removal.
        defaults_.removeObjectForKey(key);
        return {};
    }
    if (found) *found = true;
    return record.dictionary();
}

WallpaperRecords WallpaperRecordStore::load() {
    WallpaperRecords records;
    records.wallpapers = loadOne(prefs::kWallpapers, &isWallpapersRecord);
    records.options = loadOne(prefs::kWallpapersOptions, &isWallpapersOptionsRecord);
    records.applied =
        loadOne(prefs::kWallpapersApplied, &isWallpapersRecord, &records.appliedKnown);
    return records;
}

void WallpaperRecordStore::store(const WallpaperRecords& records) {
    defaults_.setObject(Value(archiver_.archivedDataWithRootObject(Value(records.wallpapers))),
                        prefs::kWallpapers);
    defaults_.setObject(Value(archiver_.archivedDataWithRootObject(Value(records.options))),
                        prefs::kWallpapersOptions);
    storeApplied(records);
}

void WallpaperRecordStore::storeApplied(const WallpaperRecords& records) {
    defaults_.setObject(Value(archiver_.archivedDataWithRootObject(Value(records.applied))),
                        prefs::kWallpapersApplied);
    defaults_.synchronize();
}

}  // namespace tidra

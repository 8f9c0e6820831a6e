#include "sim/apps/system_events.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/formats/plist_value.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

// The file's layout follows the system's own login-items list.
constexpr const char* kSessionItems = "SessionItems";
constexpr const char* kCustomListItems = "CustomListItems";

}  // namespace

SimSystemEvents::SimSystemEvents(const Disk& disk, std::string file)
    : disk_(disk), file_(std::move(file)) {
    load();
}

bool SimSystemEvents::available() const {
    std::lock_guard lock(mutex_);
    return available_;
}

void SimSystemEvents::setAvailable(bool available) {
    std::lock_guard lock(mutex_);
    available_ = available;
}

std::vector<LoginItem> SimSystemEvents::loginItems() const {
    std::lock_guard lock(mutex_);
    return items_;
}

// A change that cannot be stored is not made: the list on disk and in memory stay as they were.
bool SimSystemEvents::addLoginItem(const LoginItem& item) {
    std::lock_guard lock(mutex_);
    items_.push_back(item);
    if (!save()) {
        items_.pop_back();
        return false;
    }
    return true;
}

SimSystemEvents::Deletion SimSystemEvents::deleteLoginItem(const std::string& name) {
    std::lock_guard lock(mutex_);
    for (auto it = items_.begin(); it != items_.end(); ++it) {
        if (it->name != name) continue;
        const LoginItem removed = *it;
        const auto at = items_.erase(it);
        if (!save()) {
            items_.insert(at, removed);
            return Deletion::NotStored;
        }
        return Deletion::Deleted;
    }
    return Deletion::NotFound;
}

void SimSystemEvents::load() {
    std::ifstream in(disk_.real(file_), std::ios::binary);
    if (!in) return;
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const Value list = parsePlist(bytes)[kSessionItems][kCustomListItems];
    for (const Value& entry : list.array()) {
        if (!entry["Name"].isString() || !entry["Path"].isString()) continue;
        items_.push_back(
            {entry["Name"].string(), entry["Path"].string(), entry["Hidden"].boolValue()});
    }
}

// Written whole or not at all: a crash or a full disk leaves the previous list.
bool SimSystemEvents::save() const {
    Array entries;
    for (const auto& item : items_) {
        Dictionary entry;
        entry[Value("Name")] = Value(item.name);
        entry[Value("Path")] = Value(item.path);
        entry[Value("Hidden")] = Value(item.hidden);
        entries.push_back(Value(std::move(entry)));
    }
    Dictionary session;
    session[Value("Controller")] = Value(kCustomListItems);
    session[Value(kCustomListItems)] = Value(std::move(entries));
    Dictionary root;
    root[Value(kSessionItems)] = Value(std::move(session));
    auto bytes = toBinaryPlist(Value(std::move(root)));
    if (!bytes) return false;
    return !disk_.writeFile(
        file_, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace tidra::sim

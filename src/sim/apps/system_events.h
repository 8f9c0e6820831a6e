// System Events on the simulated Mac: the process that keeps the user's login items. The items
// live in a property list on the simulated disk, so they survive a restart of the simulated Mac.
// Scripts reach it from the global queue while the front end reads it from the main thread,
// hence the lock.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "sim/disk.h"

namespace tidra::sim {

struct LoginItem {
    std::string name;
    std::string path;
    bool hidden = false;
    bool operator==(const LoginItem&) const = default;
};

class SimSystemEvents {
  public:
    // `file`: the Mac path of the file holding the login items (the user's
    // Library/Preferences/com.apple.loginitems.plist). A missing or unreadable file means none.
    SimSystemEvents(const Disk& disk, std::string file);

    // Whether the process can be reached; switched off, every request fails as if it had quit.
    bool available() const;
    void setAvailable(bool available);

    std::vector<LoginItem> loginItems() const;
    // Appends an entry, as "make login item at end" does; names need not be unique. False, with
    // nothing changed, when the list could not be stored.
    bool addLoginItem(const LoginItem& item);
    enum class Deletion { Deleted, NotFound, NotStored };
    // Removes the first entry with exactly this name.
    Deletion deleteLoginItem(const std::string& name);

  private:
    void load();
    bool save() const;

    const Disk& disk_;
    std::string file_;
    mutable std::mutex mutex_;
    bool available_ = true;
    std::vector<LoginItem> items_;
};

}  // namespace tidra::sim

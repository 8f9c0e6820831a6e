// The applications that count as presenting for "Hide While Presenting": the user's list under
// `presentingApps`, or Tidra's own while there is none, and the edits the Settings window makes.
// Only what the user asked is changed: entries Tidra cannot use (not text) stay where they are.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/defaults.h"

namespace tidra {

class PresentingApps {
  public:
    struct Services {
        UserDefaults& defaults;
        Console& console;
    };
    // More than a person keeps; every application's launch looks through the list.
    static constexpr std::size_t kMostApps = 200;

    explicit PresentingApps(Services services) : s_(services) {}

    static const std::vector<std::string>& builtIn();
    // The bundle identifiers that count, in the stored order: the stored list's text entries
    // (the first kMostApps of them), or the built-in list when none is stored or the stored one
    // is no list (told once in the log).
    std::vector<std::string> list();
    // Whether Launch Services would take `bundleIdentifier` for one of the list (any case).
    bool contains(const std::string& bundleIdentifier);
    bool isBuiltIn();

    enum class Added { Added, AlreadyThere, Full };
    Added add(const std::string& bundleIdentifier);
    // Removes the entry at `index` of list(); false when there is none.
    bool remove(std::size_t index);
    // Back to the built-in list: the stored list goes.
    void restoreDefaults();

  private:
    // The stored entries to edit: the stored list, or the built-in one in its place.
    Array editable();
    void store(const Array& entries);
    static bool counts(const Value& entry);

    Services s_;
    bool reportedBadList_ = false;
    bool reportedLongList_ = false;
};

}  // namespace tidra

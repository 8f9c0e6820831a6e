// One process per simulated Mac: two processes writing the same preference files would each
// overwrite the other's changes. The folder is claimed with a lock that the system releases when
// its holder ends, however it ends, so a killed process never blocks the next one.
#pragma once

#include <stdexcept>
#include <string>

namespace tidra::sim {

// Why the simulated Mac cannot start on a folder, in one line for the user.
struct MacFolderError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class DiskLock {
  public:
    // Claims `root` (made when missing) for this process, or throws MacFolderError, having
    // changed nothing, when it is no usable folder or another live process holds it.
    explicit DiskLock(const std::string& root);
    ~DiskLock();
    DiskLock(const DiskLock&) = delete;
    DiskLock& operator=(const DiskLock&) = delete;

    // Whether the folder held nothing before it was claimed: a brand-new Mac.
    bool folderWasEmpty() const { return wasEmpty_; }

    static constexpr const char* kFileName = ".simulated-mac.lock";

  private:
    int fd_ = -1;
    bool wasEmpty_ = false;
};

}  // namespace tidra::sim

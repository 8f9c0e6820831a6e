// One process per simulated Mac: two processes writing the same preference files would each
// overwrite the other's changes. The folder is claimed with a lock that the system releases when
// its holder ends, however it ends, so a killed process never blocks the next one.
#pragma once

#include <filesystem>
#include <optional>
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
    // Whether it held files but no simulated Mac: a new Mac is laid out among them.
    bool folderHeldOtherFiles() const { return otherFiles_; }

    // The Mac's own record (kStateFileName) as it lies in the folder, read without following a
    // link (a link is refused with MacFolderError); empty when there is none, nothing when it
    // cannot be read.
    std::optional<std::string> readState() const;

    static constexpr const char* kFileName = ".simulated-mac.lock";
    static constexpr const char* kStateFileName = ".simulated-mac.plist";

  private:
    // The folder `root` names as an absolute path, made when missing; refuses the machine's root
    // and anything that is not a folder.
    static std::filesystem::path usableFolder(const std::string& root);
    void openLockFile(const std::filesystem::path& folder);
    // Throws, naming the holder, when another live process holds the folder.
    void claim();
    void refuseStateThroughLink(const std::filesystem::path& folder);
    // Whether the folder was empty, or held other files but no simulated Mac.
    void lookAtFolder(const std::filesystem::path& folder);
    // Before throwing from the constructor, which runs no destructor.
    void closeLockFile();

    std::string folder_;
    std::string given_;  // as the user named it, for messages
    int fd_ = -1;
    bool wasEmpty_ = false;
    bool otherFiles_ = false;
};

}  // namespace tidra::sim

#include "sim/disk_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {
std::string reason(int error) {
    return std::strerror(error);
}
}  // namespace

DiskLock::DiskLock(const std::string& root) {
    // The empty path would become the current folder, and "/" the host's own disk.
    if (root.empty()) throw MacFolderError("--mac needs a folder; the empty path names none");
    std::error_code ec;
    const fs::path folder = fs::absolute(root, ec).lexically_normal();
    if (ec || folder == folder.root_path())
        throw MacFolderError("--mac " + root +
                             " is the root of this machine; give a folder of its own");
    const fs::file_status status = fs::status(folder, ec);
    if (fs::exists(status) && !fs::is_directory(status))
        throw MacFolderError("--mac " + root + " is not a folder");
    if (!fs::exists(status)) {
        fs::create_directories(folder, ec);
        if (ec) throw MacFolderError("cannot make the folder " + root + ": " + ec.message());
    }
    const std::string file = (folder / kFileName).string();
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) throw MacFolderError("cannot use the folder " + root + ": " + reason(errno));
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        char pid[32] = {};
        ssize_t n = ::pread(fd_, pid, sizeof pid - 1, 0);
        ::close(fd_);
        fd_ = -1;
        if (error != EWOULDBLOCK)
            throw MacFolderError("cannot lock the folder " + root + ": " + reason(error));
        std::string holder = n > 0 ? std::string(pid, size_t(n)) : "";
        while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' '))
            holder.pop_back();
        throw MacFolderError("the simulated Mac in " + root + " is in use by process " +
                             (holder.empty() ? "(unknown)" : holder));
    }
    wasEmpty_ = true;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().filename() != kFileName) {
            wasEmpty_ = false;
            break;
        }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, pid.data(), pid.size(), 0) < 0) {
        // The lock holds without the number; only the message of a second process loses it.
    }
}

DiskLock::~DiskLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tidra::sim

#include "sim/disk_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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

std::string refusedLink(const std::string& root, const char* name) {
    return "--mac " + root + ": " + name +
           " is a symbolic link; the simulated Mac does not open its files through links";
}
}  // namespace

DiskLock::DiskLock(const std::string& root) : given_(root) {
    const fs::path folder = usableFolder(root);
    folder_ = folder.string();
    openLockFile(folder);
    claim();
    refuseStateThroughLink(folder);
    lookAtFolder(folder);
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd_, 0) != 0 || ::pwrite(fd_, pid.data(), pid.size(), 0) < 0) {
        // The lock holds without the number; only the message of a second process loses it.
    }
}

std::filesystem::path DiskLock::usableFolder(const std::string& root) {
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
    return folder;
}

void DiskLock::openLockFile(const fs::path& folder) {
    const std::string& root = given_;
    const std::string file = (folder / kFileName).string();
    // Never through a link: the process id would land in whatever file the link names, and a
    // dangling link would make one wherever it points. Nor through a second name of another
    // file (a hard link), which the truncation below would empty.
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd_ < 0 && errno == ELOOP) throw MacFolderError(refusedLink(root, kFileName));
    if (fd_ < 0 && (errno == ENOENT || errno == EACCES || errno == EPERM || errno == EROFS))
        // The folder is there (it was checked): it is the making of a file in it that fails,
        // as in /proc or a read-only volume.
        throw MacFolderError("--mac " + root + ": no file can be made in that folder (" +
                             reason(errno) + "); give a folder you can write to");
    if (fd_ < 0) throw MacFolderError("cannot use the folder " + root + ": " + reason(errno));
    struct stat lockStat {};
    if (::fstat(fd_, &lockStat) != 0 || !S_ISREG(lockStat.st_mode) || lockStat.st_nlink != 1) {
        closeLockFile();
        throw MacFolderError("--mac " + root + ": " + kFileName +
                             " is not a plain file of its own; remove it and try again");
    }
}

void DiskLock::claim() {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
    const std::string& root = given_;
    const int error = errno;
    char pid[32] = {};
    ssize_t n = ::pread(fd_, pid, sizeof pid - 1, 0);
    closeLockFile();
    if (error != EWOULDBLOCK)
        throw MacFolderError("cannot lock the folder " + root + ": " + reason(error));
    std::string holder = n > 0 ? std::string(pid, size_t(n)) : "";
    while (!holder.empty() && (holder.back() == '\n' || holder.back() == ' ')) holder.pop_back();
    throw MacFolderError("the simulated Mac in " + root + " is in use by process " +
                         (holder.empty() ? "(unknown)" : holder));
}

void DiskLock::refuseStateThroughLink(const fs::path& folder) {
    // The Mac's own record is read and written in place of whatever lies there; a link would
    // lead those reads and writes elsewhere.
    const std::string& root = given_;
    struct stat stateStat {};
    if (::lstat((folder / kStateFileName).c_str(), &stateStat) == 0 &&
        !S_ISREG(stateStat.st_mode)) {
        closeLockFile();
        throw MacFolderError(S_ISLNK(stateStat.st_mode)
                                 ? refusedLink(root, kStateFileName)
                                 : "--mac " + root + ": " + kStateFileName +
                                       " is not a plain file; remove it and try again");
    }
}

void DiskLock::lookAtFolder(const fs::path& folder) {
    std::error_code ec;
    wasEmpty_ = true;
    bool hasState = false;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const auto name = entry.path().filename();
        if (name == kStateFileName) hasState = true;
        if (name != kFileName) wasEmpty_ = false;
    }
    otherFiles_ = !wasEmpty_ && !hasState;
}

void DiskLock::closeLockFile() {
    ::close(fd_);
    fd_ = -1;
}

std::optional<std::string> DiskLock::readState() const {
    const std::string file = folder_ + "/" + kStateFileName;
    const int fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::string();
        if (errno == ELOOP) throw MacFolderError(refusedLink(given_, kStateFileName));
        return std::nullopt;
    }
    std::string bytes;
    struct stat st {};
    // Only a plain file, and none larger than a record of this kind can be.
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= (1 << 20)) {
        char buffer[8192];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) break;
            bytes.append(buffer, size_t(n));
        }
    }
    ::close(fd);
    return bytes;
}

DiskLock::~DiskLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tidra::sim

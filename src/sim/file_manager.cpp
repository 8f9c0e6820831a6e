#include "sim/file_manager.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/paths.h"
#include "sim/case_fold.h"
#include "sim/folder_tree.h"
#include "sim/partial_copy.h"
#include "sim/user_trash.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

constexpr long kNoSuchFile = 4;
constexpr long kWriteUnknown = 512;
constexpr long kWriteNoPermission = 513;
constexpr long kWriteFileExists = 516;
constexpr long kWriteOutOfSpace = 640;
constexpr long kFeatureUnsupported = 3328;

Error cocoa(long code, std::string text) {
    return Error{"NSCocoaErrorDomain", code, std::move(text)};
}

bool fail(ErrorOut out, Error e) {
    if (out) *out = std::move(e);
    return false;
}

std::string quoted(const std::string& path) {
    return "“" + paths::lastPathComponent(path) + "”";
}

class SnapshotEnumerator : public DirectoryEnumerator {
  public:
    explicit SnapshotEnumerator(std::vector<std::string> entries) : entries_(std::move(entries)) {}
    std::optional<std::string> nextObject() override {
        if (next_ >= entries_.size()) return std::nullopt;
        return entries_[next_++];
    }

  private:
    std::vector<std::string> entries_;
    size_t next_ = 0;
};

}  // namespace

std::string SimFileManager::standardized(const std::string& macPath) const {
    return paths::standardize(macPath, disk_.home());
}

void SimFileManager::setReadOnly(const std::string& macPath, bool readOnly) {
    std::lock_guard lock(mutex_);
    if (readOnly) {
        readOnly_.insert(standardized(macPath));
    } else {
        readOnly_.erase(standardized(macPath));
    }
}

bool SimFileManager::isReadOnly(const std::string& macPath) const {
    std::lock_guard lock(mutex_);
    return withinAny(readOnly_, standardized(macPath));
}

bool SimFileManager::withinAny(const std::set<std::string>& folders, const std::string& path) {
    // "/applications" is "/Applications": a folder's case must not open a way around it.
    const std::string folded = foldCase(path);
    for (const auto& folder : folders) {
        const std::string root = foldCase(folder);
        if (folded == root || paths::hasPrefix(folded, root == "/" ? root : root + "/"))
            return true;
    }
    return false;
}

bool SimFileManager::copiesFailInto(const std::string& macPath) const {
    std::lock_guard lock(mutex_);
    return withinAny(copiesFailing_, standardized(macPath));
}

void SimFileManager::setCopiesFailing(const std::string& macFolder, bool failing) {
    std::lock_guard lock(mutex_);
    if (failing) {
        copiesFailing_.insert(standardized(macFolder));
    } else {
        copiesFailing_.erase(standardized(macFolder));
    }
}

bool SimFileManager::refuseChange(const std::string& macPath, ErrorOut error) const {
    if (!isReadOnly(macPath)) return false;
    const std::string folder = paths::deletingLastPathComponent(standardized(macPath));
    fail(error,
         cocoa(kWriteNoPermission, "You don’t have permission to save the file " + quoted(macPath) +
                                       " in the folder " + quoted(folder) + "."));
    return true;
}

std::string SimFileManager::directoryIn(SearchPathDirectory directory, unsigned domain) const {
    const std::string home = disk_.home();
    switch (directory) {
        case SearchPathDirectory::Applications:
            if (domain == kUserDomainMask) return home + "/Applications";
            if (domain == kLocalDomainMask) return "/Applications";
            if (domain == kNetworkDomainMask) return "/Network/Applications";
            if (domain == kSystemDomainMask) return "/System/Applications";
            return "";
        case SearchPathDirectory::ApplicationSupport:
            if (domain == kUserDomainMask) return home + "/Library/Application Support";
            if (domain == kLocalDomainMask) return "/Library/Application Support";
            if (domain == kNetworkDomainMask) return "/Network/Library/Application Support";
            if (domain == kSystemDomainMask) return "/System/Library/Application Support";
            return "";
        // Personal folders exist in the user's domain only.
        case SearchPathDirectory::Pictures:
            return domain == kUserDomainMask ? home + "/Pictures" : "";
        case SearchPathDirectory::Downloads:
            return domain == kUserDomainMask ? home + "/Downloads" : "";
    }
    return "";
}

std::vector<std::string> SimFileManager::searchPathForDirectoriesInDomains(
    SearchPathDirectory directory, unsigned domains, bool expandTilde) {
    std::vector<std::string> out;
    for (unsigned domain :
         {kUserDomainMask, kLocalDomainMask, kNetworkDomainMask, kSystemDomainMask}) {
        if (!(domains & domain)) continue;
        std::string path = directoryIn(directory, domain);
        if (path.empty()) continue;
        out.push_back(expandTilde ? path : paths::abbreviateWithTilde(path, disk_.home()));
    }
    return out;
}

std::optional<Url> SimFileManager::URLForDirectory(SearchPathDirectory directory,
                                                   SearchPathDomainMask domain, bool create,
                                                   ErrorOut error) {
    const std::string path = directoryIn(directory, domain);
    if (path.empty()) {
        fail(error, cocoa(kNoSuchFile,
                          "The requested operation couldn’t be completed because "
                          "the feature is not supported."));
        return std::nullopt;
    }
    if (create && !createDirectoryAtURL(Url::fileURLWithPath(path), true, error))
        return std::nullopt;
    return Url::fileURLWithPath(path);
}

bool SimFileManager::createDirectoryAtURL(const Url& url, bool withIntermediateDirectories,
                                          ErrorOut error) {
    auto path = url.isFileURL() ? url.path() : std::nullopt;
    if (!path) return fail(error, cocoa(kWriteUnknown, "The file couldn’t be saved."));
    const std::string mac = standardized(*path);
    const fs::path real = disk_.real(mac);
    std::error_code ec;
    if (fs::is_directory(real, ec)) {
        if (!withIntermediateDirectories)
            return fail(error, cocoa(kWriteFileExists, "The file " + quoted(mac) +
                                                           " couldn’t be saved because a file "
                                                           "with the same name already exists."));
        return true;
    }
    if (fs::exists(fs::symlink_status(real, ec)))
        return fail(error, cocoa(kWriteFileExists, "The file " + quoted(mac) +
                                                       " couldn’t be saved because a file with "
                                                       "the same name already exists."));
    if (refuseChange(mac, error)) return false;
    if (!withIntermediateDirectories && !fs::is_directory(real.parent_path(), ec))
        return fail(error, cocoa(kNoSuchFile, "The folder " + quoted(mac) + " doesn’t exist."));
    bool ok = withIntermediateDirectories ? (fs::create_directories(real, ec), !ec)
                                          : fs::create_directory(real, ec);
    if (!ok || !fs::is_directory(real, ec))
        return fail(error,
                    cocoa(kWriteUnknown, "The folder " + quoted(mac) + " couldn’t be saved."));
    return true;
}

std::unique_ptr<DirectoryEnumerator> SimFileManager::enumeratorAtPath(const std::string& path) {
    const fs::path real = disk_.real(standardized(path));
    std::error_code ec;
    if (!fs::is_directory(real, ec)) return nullptr;
    std::vector<std::string> entries;
    for (const auto& rel : folderTree(real)) entries.push_back(rel.generic_string());
    return std::make_unique<SnapshotEnumerator>(std::move(entries));
}

bool SimFileManager::removeItemAtPath(const std::string& path, ErrorOut error) {
    const std::string mac = standardized(path);
    const fs::path real = disk_.realOfLink(mac);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(real, ec)))
        return fail(error, cocoa(kNoSuchFile,
                                 quoted(mac) + " couldn’t be removed because it doesn’t exist."));
    if (mac == "/" || refuseChange(mac, error)) {
        if (mac == "/") fail(error, cocoa(kWriteNoPermission, "“/” couldn’t be removed."));
        return false;
    }
    fs::remove_all(real, ec);
    if (ec) return fail(error, cocoa(kWriteUnknown, quoted(mac) + " couldn’t be removed."));
    return true;
}

bool SimFileManager::removeItemAtURL(const Url& url, ErrorOut error) {
    auto path = url.isFileURL() ? url.path() : std::nullopt;
    if (!path) return fail(error, cocoa(kNoSuchFile, "The item couldn’t be removed."));
    return removeItemAtPath(*path, error);
}

bool SimFileManager::copyItemAtPath(const std::string& from, const std::string& to,
                                    ErrorOut error) {
    const std::string src = standardized(from), dst = standardized(to);
    const fs::path realSrc = disk_.realOfLink(src), realDst = disk_.realOfLink(dst);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(realSrc, ec)))
        return fail(error, cocoa(260, "The file " + quoted(src) +
                                          " couldn’t be opened because there is no such file."));
    if (fs::exists(fs::symlink_status(realDst, ec)))
        return fail(error, cocoa(kWriteFileExists,
                                 quoted(src) + " couldn’t be copied to " +
                                     quoted(paths::deletingLastPathComponent(dst)) +
                                     " because an item with the same name already exists."));
    if (refuseChange(dst, error)) return false;
    if (!fs::is_directory(realDst.parent_path(), ec))
        return fail(error, cocoa(kNoSuchFile, "The folder " +
                                                  quoted(paths::deletingLastPathComponent(dst)) +
                                                  " doesn’t exist."));
    if (copiesFailInto(dst)) {
        copyUntilFull(realSrc, realDst);
        return fail(error,
                    cocoa(kWriteOutOfSpace, quoted(src) + " couldn’t be copied to " +
                                                quoted(paths::deletingLastPathComponent(dst)) +
                                                " because there isn’t enough space."));
    }
    // What was copied before a failure stays, as the platform's copy leaves it.
    fs::copy(realSrc, realDst, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) {
        return fail(error,
                    cocoa(kWriteUnknown, quoted(src) + " couldn’t be copied to " +
                                             quoted(paths::deletingLastPathComponent(dst)) + "."));
    }
    return true;
}

bool SimFileManager::copyItemAtURL(const Url& from, const Url& to, ErrorOut error) {
    auto src = from.isFileURL() ? from.path() : std::nullopt;
    auto dst = to.isFileURL() ? to.path() : std::nullopt;
    if (!src || !dst) return fail(error, cocoa(kWriteUnknown, "The item couldn’t be copied."));
    return copyItemAtPath(*src, *dst, error);
}

bool SimFileManager::replaceItemAtURL(const Url& original, const Url& replacement, ErrorOut error) {
    auto from = replacement.isFileURL() ? replacement.path() : std::nullopt;
    auto to = original.isFileURL() ? original.path() : std::nullopt;
    if (!from || !to) return fail(error, cocoa(kWriteUnknown, "The item couldn’t be replaced."));
    const std::string src = standardized(*from), dst = standardized(*to);
    const fs::path realSrc = disk_.real(src), realDst = disk_.real(dst);
    std::error_code ec;
    for (const auto& [mac, real] : {std::pair{src, realSrc}, std::pair{dst, realDst}})
        if (!fs::exists(fs::symlink_status(real, ec)))
            return fail(error, cocoa(kNoSuchFile, "The file " + quoted(mac) +
                                                      " couldn’t be opened because there is "
                                                      "no such file."));
    if (refuseChange(dst, error) || refuseChange(src, error)) return false;
    // A rename within the volume: no room needed, and the original is never half replaced.
    fs::rename(realSrc, realDst, ec);
    if (ec)
        return fail(error,
                    cocoa(kWriteUnknown, "The file " + quoted(dst) + " couldn’t be replaced with " +
                                             quoted(src) + "."));
    return true;
}

bool SimFileManager::fileExistsAtPath(const std::string& path) {
    std::error_code ec;
    return fs::exists(disk_.real(standardized(path)), ec);
}

std::optional<Data> SimFileManager::contentsAtPath(const std::string& path) {
    std::error_code ec;
    const fs::path real = disk_.real(standardized(path));
    if (!fs::is_regular_file(real, ec)) return std::nullopt;
    std::ifstream in(real, std::ios::binary);
    if (!in) return std::nullopt;
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool SimFileManager::isWritableFileAtPath(const std::string& path) {
    const std::string mac = standardized(path);
    if (!fileExistsAtPath(mac) || isReadOnly(mac)) return false;
    return ::access(disk_.real(mac).c_str(), W_OK) == 0;
}

bool SimFileManager::trashItemAtURL(const Url& url, ErrorOut error) {
    auto path = url.isFileURL() ? url.path() : std::nullopt;
    if (!path) return fail(error, cocoa(kNoSuchFile, "The item couldn’t be moved to the Trash."));
    return moveToTrash(*path, error).has_value();
}

std::optional<std::string> SimFileManager::moveToTrash(const std::string& macPath, ErrorOut error) {
    const std::string mac = standardized(macPath);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(disk_.realOfLink(mac), ec))) {
        fail(error, cocoa(kNoSuchFile, quoted(mac) + " couldn’t be moved to the Trash "
                                                     "because it doesn’t exist."));
        return std::nullopt;
    }
    if (refuseChange(mac, error)) return std::nullopt;
    if (!disk_.trashAvailable()) {
        fail(error, cocoa(kFeatureUnsupported, quoted(mac) + " couldn’t be moved to the Trash "
                                                             "because the Trash is unavailable."));
        return std::nullopt;
    }
    auto trashed = moveToUserTrash(disk_, mac);
    if (!trashed)
        fail(error, cocoa(kWriteUnknown, quoted(mac) + " couldn’t be moved to the Trash."));
    return trashed;
}

bool SimFileManager::moveItemAtPath(const std::string& from, const std::string& to,
                                    ErrorOut error) {
    const std::string src = standardized(from), dst = standardized(to);
    const fs::path realSrc = disk_.realOfLink(src);
    // A new spelling of the item's own name is a rename, not a clash with itself.
    const fs::path realDst = disk_.renameTarget(realSrc, dst);
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(realSrc, ec)))
        return fail(error, cocoa(kNoSuchFile,
                                 quoted(src) + " couldn’t be moved because it doesn’t exist."));
    if (fs::exists(fs::symlink_status(realDst, ec)))
        return fail(error, cocoa(kWriteFileExists,
                                 quoted(src) + " couldn’t be moved to " +
                                     quoted(paths::deletingLastPathComponent(dst)) +
                                     " because an item with the same name already exists."));
    if (src == "/" || refuseChange(src, error) || refuseChange(dst, error)) {
        if (src == "/") fail(error, cocoa(kWriteNoPermission, "“/” couldn’t be moved."));
        return false;
    }
    if (!fs::is_directory(realDst.parent_path(), ec))
        return fail(error, cocoa(kNoSuchFile, "The folder " +
                                                  quoted(paths::deletingLastPathComponent(dst)) +
                                                  " doesn’t exist."));
    fs::rename(realSrc, realDst, ec);
    if (ec)
        return fail(error,
                    cocoa(kWriteUnknown, quoted(src) + " couldn’t be moved to " +
                                             quoted(paths::deletingLastPathComponent(dst)) + "."));
    return true;
}

std::string SimFileManager::resolvingSymlinksInPath(const std::string& path) {
    std::string mac = standardized(path);
    if (mac.empty() || mac[0] != '/') return mac;
    return disk_.resolve(mac);
}

}  // namespace tidra::sim

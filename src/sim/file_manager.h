// NSFileManager on the simulated Mac: every operation works on the real files behind the Mac
// paths of the simulated disk.
#pragma once

#include <mutex>
#include <set>
#include <string>

#include "platform/file_manager.h"
#include "sim/disk.h"

namespace tidra::sim {

class SimFileManager : public FileManager {
  public:
    explicit SimFileManager(const Disk& disk) : disk_(disk) {}

    std::string homeDirectory() override { return disk_.home(); }
    std::optional<Url> URLForDirectory(SearchPathDirectory directory, SearchPathDomainMask domain,
                                       bool create, ErrorOut error) override;
    std::vector<std::string> searchPathForDirectoriesInDomains(SearchPathDirectory directory,
                                                               unsigned domains,
                                                               bool expandTilde) override;
    bool createDirectoryAtURL(const Url& url, bool withIntermediateDirectories,
                              ErrorOut error) override;
    std::unique_ptr<DirectoryEnumerator> enumeratorAtPath(const std::string& path) override;
    bool removeItemAtURL(const Url& url, ErrorOut error) override;
    bool copyItemAtURL(const Url& from, const Url& to, ErrorOut error) override;
    bool replaceItemAtURL(const Url& original, const Url& replacement, ErrorOut error) override;
    bool fileExistsAtPath(const std::string& path) override;
    std::optional<Data> contentsAtPath(const std::string& path) override;
    bool isWritableFileAtPath(const std::string& path) override;
    bool copyItemAtPath(const std::string& from, const std::string& to, ErrorOut error) override;
    bool removeItemAtPath(const std::string& path, ErrorOut error) override;
    bool moveItemAtPath(const std::string& from, const std::string& to, ErrorOut error) override;
    bool trashItemAtURL(const Url& url, ErrorOut error) override;
    std::string resolvingSymlinksInPath(const std::string& path) override;

    // Front-end switches. A read-only folder refuses every change inside it (its items cannot
    // be created, removed, copied over or moved away); the real files' permissions are not
    // relied on, since the simulation may run with privileges that ignore them.
    void setReadOnly(const std::string& macPath, bool readOnly);
    void setLocalApplicationsWritable(bool writable) { setReadOnly("/Applications", !writable); }
    bool isReadOnly(const std::string& macPath) const;
    // Copies into the folder (or below it) fail as on a full volume, while the folder stays
    // writable: the copy stops part way and what it wrote stays behind, as on a Mac.
    void setCopiesFailing(const std::string& macFolder, bool failing);
    bool copiesFailInto(const std::string& macPath) const;
    // The one way into the user's Trash (the file manager's, the workspace's recycle and
    // Finder's): an item in a read-only place stays where it is. Answers the item's path in the
    // Trash, or the reason it could not go there.
    std::optional<std::string> moveToTrash(const std::string& macPath, ErrorOut error);

  private:
    std::string standardized(const std::string& macPath) const;
    // The Mac paths of a standard directory in one domain; empty when the domain has none.
    std::string directoryIn(SearchPathDirectory directory, unsigned domain) const;
    bool refuseChange(const std::string& macPath, ErrorOut error) const;
    static bool withinAny(const std::set<std::string>& folders, const std::string& path);

    const Disk& disk_;
    mutable std::mutex mutex_;
    std::set<std::string> readOnly_;
    std::set<std::string> copiesFailing_;
};

}  // namespace tidra::sim

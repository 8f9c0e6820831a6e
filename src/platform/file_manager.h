// The file manager (NSFileManager) and the standard directories.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/error.h"
#include "platform/url.h"
#include "platform/value.h"

namespace tidra {

enum class SearchPathDirectory { Applications, Downloads, Pictures, ApplicationSupport };

enum SearchPathDomainMask : unsigned {
    kUserDomainMask = 1,
    kLocalDomainMask = 2,
    kNetworkDomainMask = 4,
    kSystemDomainMask = 8,
    kAllDomainsMask = 0x0ffff,
};

class DirectoryEnumerator {
  public:
    virtual ~DirectoryEnumerator() = default;
    // Paths relative to the enumerated folder, descending into subfolders; nothing at the end.
    virtual std::optional<std::string> nextObject() = 0;
};

class FileManager {
  public:
    virtual ~FileManager() = default;
    virtual std::string homeDirectory() = 0;
    virtual std::optional<Url> URLForDirectory(SearchPathDirectory directory,
                                               SearchPathDomainMask domain, bool create,
                                               ErrorOut error) = 0;
    // NSSearchPathForDirectoriesInDomains.
    virtual std::vector<std::string> searchPathForDirectoriesInDomains(
        SearchPathDirectory directory, unsigned domains, bool expandTilde) = 0;
    virtual bool createDirectoryAtURL(const Url& url, bool withIntermediateDirectories,
                                      ErrorOut error) = 0;
    virtual std::unique_ptr<DirectoryEnumerator> enumeratorAtPath(const std::string& path) = 0;
    virtual bool removeItemAtURL(const Url& url, ErrorOut error) = 0;
    virtual bool copyItemAtURL(const Url& from, const Url& to, ErrorOut error) = 0;
    // replaceItemAtURL:withItemAtURL:backupItemName:options:resultingItemURL:error: without a
    // backup: `replacement` takes the place of `original` in one step and is gone afterwards.
    // When it fails, `original` is as it was.
    virtual bool replaceItemAtURL(const Url& original, const Url& replacement, ErrorOut error) = 0;
    virtual bool fileExistsAtPath(const std::string& path) = 0;
    // A file's bytes; nothing when it cannot be read (missing, a folder, no permission).
    virtual std::optional<Data> contentsAtPath(const std::string& path) = 0;
    virtual bool isWritableFileAtPath(const std::string& path) = 0;
    virtual bool copyItemAtPath(const std::string& from, const std::string& to, ErrorOut error) = 0;
    virtual bool removeItemAtPath(const std::string& path, ErrorOut error) = 0;
    // moveItemAtPath:toPath:error: fails when something already lies at `to`.
    virtual bool moveItemAtPath(const std::string& from, const std::string& to, ErrorOut error) = 0;
    virtual bool trashItemAtURL(const Url& url, ErrorOut error) = 0;
    virtual std::string resolvingSymlinksInPath(const std::string& path) = 0;
};

}  // namespace tidra

// NSFileManager and the standard directories.
#include "mac/objc_memory.h"
#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

NSSearchPathDirectory nativeDirectory(SearchPathDirectory directory) {
    switch (directory) {
        case SearchPathDirectory::Applications:
            return NSApplicationDirectory;
        case SearchPathDirectory::Downloads:
            return NSDownloadsDirectory;
        case SearchPathDirectory::Pictures:
            return NSPicturesDirectory;
        case SearchPathDirectory::ApplicationSupport:
            return NSApplicationSupportDirectory;
    }
    return NSApplicationSupportDirectory;
}

class MacDirectoryEnumerator final : public DirectoryEnumerator {
  public:
    explicit MacDirectoryEnumerator(NSDirectoryEnumerator* enumerator) : enumerator_(enumerator) {}
    std::optional<std::string> nextObject() override {
        NSString* next = [enumerator_.get() nextObject];
        if (next == nil) return std::nullopt;
        return fromNSString(next);
    }

  private:
    Retained<NSDirectoryEnumerator> enumerator_;
};

class MacFileManager final : public FileManager {
  public:
    std::string homeDirectory() override { return fromNSString(NSHomeDirectory()); }

    std::optional<Url> URLForDirectory(SearchPathDirectory directory, SearchPathDomainMask domain,
                                       bool create, ErrorOut error) override {
        NSError* failure = nil;
        NSURL* url = [files() URLForDirectory:nativeDirectory(directory)
                                     inDomain:static_cast<NSSearchPathDomainMask>(domain)
                            appropriateForURL:nil
                                       create:create ? YES : NO
                                        error:&failure];
        if (url == nil) report(error, failure);
        return fromNSURL(url);
    }

    std::vector<std::string> searchPathForDirectoriesInDomains(SearchPathDirectory directory,
                                                               unsigned domains,
                                                               bool expandTilde) override {
        std::vector<std::string> found;
        for (NSString* path in NSSearchPathForDirectoriesInDomains(
                 nativeDirectory(directory), static_cast<NSSearchPathDomainMask>(domains),
                 expandTilde ? YES : NO))
            found.push_back(fromNSString(path));
        return found;
    }

    bool createDirectoryAtURL(const Url& url, bool withIntermediateDirectories,
                              ErrorOut error) override {
        NSError* failure = nil;
        const BOOL made = [files() createDirectoryAtURL:toNSURL(url)
                            withIntermediateDirectories:withIntermediateDirectories ? YES : NO
                                             attributes:nil
                                                  error:&failure];
        if (!made) report(error, failure);
        return made;
    }

    std::unique_ptr<DirectoryEnumerator> enumeratorAtPath(const std::string& path) override {
        NSDirectoryEnumerator* enumerator = [files() enumeratorAtPath:toNSString(path)];
        if (enumerator == nil) return nullptr;
        return std::make_unique<MacDirectoryEnumerator>(enumerator);
    }

    bool removeItemAtURL(const Url& url, ErrorOut error) override {
        NSError* failure = nil;
        const BOOL removed = [files() removeItemAtURL:toNSURL(url) error:&failure];
        if (!removed) report(error, failure);
        return removed;
    }

    bool copyItemAtURL(const Url& from, const Url& to, ErrorOut error) override {
        NSError* failure = nil;
        const BOOL copied = [files() copyItemAtURL:toNSURL(from) toURL:toNSURL(to) error:&failure];
        if (!copied) report(error, failure);
        return copied;
    }

    bool replaceItemAtURL(const Url& original, const Url& replacement, ErrorOut error) override {
        NSError* failure = nil;
        const BOOL replaced = [files() replaceItemAtURL:toNSURL(original)
                                          withItemAtURL:toNSURL(replacement)
                                         backupItemName:nil
                                                options:0
                                       resultingItemURL:NULL
                                                  error:&failure];
        if (!replaced) report(error, failure);
        return replaced;
    }

    bool fileExistsAtPath(const std::string& path) override {
        return [files() fileExistsAtPath:toNSString(path)];
    }

    std::optional<Data> contentsAtPath(const std::string& path) override {
        NSData* contents = [files() contentsAtPath:toNSString(path)];
        if (contents == nil) return std::nullopt;
        return fromNSData(contents);
    }

    bool isWritableFileAtPath(const std::string& path) override {
        return [files() isWritableFileAtPath:toNSString(path)];
    }

    bool copyItemAtPath(const std::string& from, const std::string& to, ErrorOut error) override {
        NSError* failure = nil;
        const BOOL copied = [files() copyItemAtPath:toNSString(from)
                                             toPath:toNSString(to)
                                              error:&failure];
        if (!copied) report(error, failure);
        return copied;
    }

    bool removeItemAtPath(const std::string& path, ErrorOut error) override {
        NSError* failure = nil;
        const BOOL removed = [files() removeItemAtPath:toNSString(path) error:&failure];
        if (!removed) report(error, failure);
        return removed;
    }

    bool moveItemAtPath(const std::string& from, const std::string& to, ErrorOut error) override {
        NSError* failure = nil;
        const BOOL moved = [files() moveItemAtPath:toNSString(from)
                                            toPath:toNSString(to)
                                             error:&failure];
        if (!moved) report(error, failure);
        return moved;
    }

    bool trashItemAtURL(const Url& url, ErrorOut error) override {
        NSError* failure = nil;
        const BOOL trashed = [files() trashItemAtURL:toNSURL(url)
                                    resultingItemURL:NULL
                                               error:&failure];
        if (!trashed) report(error, failure);
        return trashed;
    }

    std::string resolvingSymlinksInPath(const std::string& path) override {
        return fromNSString([toNSString(path) stringByResolvingSymlinksInPath]);
    }

  private:
    static NSFileManager* files() { return [NSFileManager defaultManager]; }
};

}  // namespace

std::unique_ptr<FileManager> makeFileManager() {
    return std::make_unique<MacFileManager>();
}

}  // namespace tidra::mac

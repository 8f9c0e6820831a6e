// Services the simulated Mac does not model yet answer as an absent or refusing service would,
// so that Tidra's failure paths run instead of anything crashing.
#pragma once

#include "platform/platform.h"

namespace tidra::sim {

struct NoScreens : Screens {
    std::optional<std::vector<std::shared_ptr<Screen>>> screens() override { return std::nullopt; }
    void registerReconfigurationCallback(DisplayReconfigurationCallback, void*) override {}
};

struct NoInterfaces : InterfaceLoader {
    std::shared_ptr<Window> loadWindow(const std::string&, Object&) override { return nullptr; }
    std::shared_ptr<View> loadView(const std::string&, Object&) override { return nullptr; }
};

struct NoUserNotifications : UserNotificationCenter {
    void setDelegate(UserNotificationCenterDelegate*) override {}
    void deliverNotification(const UserNotification&) override {}
};

struct NoAppleScript : AppleScripting {
    std::unique_ptr<AppleScript> scriptWithSource(const std::string&) override { return nullptr; }
};

struct NoTasks : Tasks {
    std::unique_ptr<Task> makeTask(const std::string&, const std::vector<std::string>&) override {
        return nullptr;
    }
    bool launchedTask(const std::string&, const std::vector<std::string>&) override {
        return false;
    }
    std::optional<StatFs> statfs(const std::string&) override { return std::nullopt; }
};

struct NoAuthorization : Authorization {
    int create(AuthorizationRef*) override { return -60008; }
    int copyRights(AuthorizationRef, const std::string&, unsigned) override { return -60008; }
    int free(AuthorizationRef, unsigned) override { return 0; }
    std::optional<PrivilegedExecute> lookupPrivilegedExecute(const std::string&) override {
        return std::nullopt;
    }
    ChildStatus wait() override { return {}; }
};

struct NoFileManager : FileManager {
    explicit NoFileManager(std::string home) : home_(std::move(home)) {}
    std::string homeDirectory() override { return home_; }
    std::optional<Url> URLForDirectory(SearchPathDirectory, SearchPathDomainMask, bool,
                                       ErrorOut error) override {
        if (error) *error = Error{"NSCocoaErrorDomain", 4, "The folder doesn’t exist."};
        return std::nullopt;
    }
    std::vector<std::string> searchPathForDirectoriesInDomains(SearchPathDirectory, unsigned,
                                                               bool) override {
        return {};
    }
    bool createDirectoryAtURL(const Url&, bool, ErrorOut) override { return false; }
    std::unique_ptr<DirectoryEnumerator> enumeratorAtPath(const std::string&) override {
        return nullptr;
    }
    bool removeItemAtURL(const Url&, ErrorOut) override { return false; }
    bool copyItemAtURL(const Url&, const Url&, ErrorOut) override { return false; }
    bool fileExistsAtPath(const std::string&) override { return false; }
    bool isWritableFileAtPath(const std::string&) override { return false; }
    bool copyItemAtPath(const std::string&, const std::string&, ErrorOut) override { return false; }
    bool removeItemAtPath(const std::string&, ErrorOut) override { return false; }
    bool trashItemAtURL(const Url&, ErrorOut) override { return false; }
    std::string resolvingSymlinksInPath(const std::string& path) override { return path; }

  private:
    std::string home_;
};

}  // namespace tidra::sim

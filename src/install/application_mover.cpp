#include "install/application_mover.h"

#include <cmath>

#include "install/disk_image_info.h"
#include "install/move_strings.h"
#include "install/shell_quote.h"
#include "platform/paths.h"
#include "prefs/keys.h"
#include "text/apple_script_literal.h"

namespace tidra {

namespace {

constexpr int kModernFramework = 949;     // running applications, recursive xattr, plist parsing
constexpr int kTrashingFramework = 1187;  // trashItemAtURL:

bool anyHasPrefix(const std::vector<std::string>& prefixes, const std::string& path) {
    for (const auto& p : prefixes)
        if (paths::hasPrefix(path, p)) return true;
    return false;
}

}  // namespace

int ApplicationMover::frameworkVersion() {
    return static_cast<int>(std::floor(s_.system.appKitVersionNumber()));
}

std::string ApplicationMover::text(const char* key) {
    return s_.bundle.localizedString(key, "", std::string(install::kStringsTable));
}

void ApplicationMover::showFailureAlert() {
    auto alert = s_.ui.makeAlert();
    alert->setMessageText(text(install::kFailureTitle));
    alert->runModal();
}

ApplicationMover::Services ApplicationMover::Services::from(const Platform& platform) {
    return {platform.preferences.standardUserDefaults(),
            platform.mainBundle,
            platform.fileManager,
            platform.workspace,
            platform.tasks,
            platform.authorization,
            platform.appleScript,
            platform.archiver,
            platform.ui,
            platform.application,
            platform.console,
            platform.system};
}

void ApplicationMover::offerMoveToApplicationsFolder() {
    if (s_.defaults.boolForKey(prefs::kMoveToApplicationsFolderAlertSuppress)) return;
    const auto move = locate();
    if (!move || !ask(*move)) return;
    perform(*move);
}

std::optional<ApplicationMover::Move> ApplicationMover::locate() {
    Move move;
    move.source = s_.bundle.bundlePath();
    const std::string& source = move.source;
    for (const auto& c : paths::components(paths::deletingLastPathComponent(source)))
        if (paths::pathExtension(c) == "app") move.nested = true;
    bool inApplications =
        anyHasPrefix(s_.fileManager.searchPathForDirectoriesInDomains(
                         SearchPathDirectory::Applications, kAllDomainsMask, true),
                     source);
    if (!inApplications)
        for (const auto& c : paths::components(source))
            if (c == "Applications") inApplications = true;
    if (inApplications && !move.nested) return std::nullopt;

    move.device = findDiskImageDevice(paths::deletingLastPathComponent(source));

    const auto local = s_.fileManager.searchPathForDirectoriesInDomains(
        SearchPathDirectory::Applications, kLocalDomainMask, true);
    // Without a local Applications folder there is nowhere to offer a move to.
    if (local.empty()) return std::nullopt;
    const std::string applications = s_.fileManager.resolvingSymlinksInPath(local.back());
    move.destination =
        paths::appendingPathComponent(applications, paths::lastPathComponent(source));
    move.needsAuthorization = !s_.fileManager.isWritableFileAtPath(applications) ||
                              (s_.fileManager.fileExistsAtPath(move.destination) &&
                               !s_.fileManager.isWritableFileAtPath(move.destination));
    return move;
}

bool ApplicationMover::ask(const Move& move) {
    auto alert = s_.ui.makeAlert();
    alert->setMessageText(text(install::kOfferTitle));
    std::string informative = text(install::kOfferText);
    if (move.needsAuthorization) {
        informative = sentences(s_.bundle, informative, text(install::kOfferPasswordNote));
    } else if (anyHasPrefix(s_.fileManager.searchPathForDirectoriesInDomains(
                                SearchPathDirectory::Downloads, kAllDomainsMask, true),
                            move.source)) {
        informative = sentences(s_.bundle, informative, text(install::kOfferDownloadsNote));
    }
    alert->setInformativeText(informative);
    alert->addButtonWithTitle(text(install::kMoveButton));
    alert->addButtonWithTitle(text(install::kDoNotMoveButton)).setKeyEquivalent("\x1b");
    alert->setShowsSuppressionButton(true);
    alert->suppressionButton().setTitle(text(install::kDoNotAskAgain));
    alert->suppressionButton().setControlSize(kSmallControlSize);
    alert->suppressionButton().setFontSize(s_.ui.smallSystemFontSize());

    if (!s_.application.isActive()) s_.application.activateIgnoringOtherApps(true);
    if (alert->runModal() == kAlertFirstButtonReturn) return true;
    // Not synchronised: the store writes it out on its own before the process ends.
    if (alert->suppressionButton().state() == 1)
        s_.defaults.setBool(true, prefs::kMoveToApplicationsFolderAlertSuppress);
    return false;
}

void ApplicationMover::perform(const Move& move) {
    s_.console.log("INFO -- Moving myself to the Applications folder");
    if (move.needsAuthorization)
        performWithAdministratorRights(move);
    else
        performPlainly(move);
}

void ApplicationMover::performWithAdministratorRights(const Move& move) {
    const auto result = copyWithAdministratorRights(move.source, move.destination);
    if (result.copied) return finishMove(move.source, move.destination, move.nested, move.device);
    if (result.canceled) {
        s_.console.log("INFO -- Not moving because user canceled authorization");
        return;
    }
    s_.console.log("ERROR -- Could not copy myself to /Applications with authorization");
    showFailureAlert();
}

void ApplicationMover::performPlainly(const Move& move) {
    const bool replacing = s_.fileManager.fileExistsAtPath(move.destination);
    if (replacing && isRunning(move.destination)) {
        s_.console.log("INFO -- Switching to an already running version");
        auto open = s_.tasks.makeTask("/usr/bin/open", {move.destination});
        if (open->launch()) open->waitUntilExit();
        s_.application.exit(0);
        return;
    }
    if (!copyIntoPlace(move.source, move.destination, replacing)) {
        showFailureAlert();
        return;
    }
    finishMove(move.source, move.destination, move.nested, move.device);
}

bool ApplicationMover::isRunning(const std::string& destination) {
    const std::string home = s_.fileManager.homeDirectory();
    const std::string wanted = paths::standardize(destination, home);
    if (frameworkVersion() > kModernFramework) {
        for (const auto& app : s_.workspace.runningApplications()) {
            const auto url = app->bundleURL();
            const auto path = url ? url->path() : std::nullopt;
            if (path && paths::standardize(*path, home) == wanted) return true;
        }
        return false;
    }
    auto check = s_.tasks.makeTask("/bin/sh", {"-c", processListLine(wanted)});
    if (!check->launch()) return false;
    check->waitUntilExit();
    return check->terminationStatus() == 0;
}

void ApplicationMover::finishMove(const std::string& source, const std::string& destination,
                                  bool nested, const std::optional<std::string>& device) {
    if (!nested && !device) {
        std::optional<Error> error;
        if (!s_.fileManager.removeItemAtPath(source, &error)) {
            // A translocated copy is read-only by design; its failure says nothing useful.
            if (!paths::contains(source, "/AppTranslocation/"))
                s_.console.log("WARNING -- Could not delete '" + source +
                               "': " + (error ? error->localizedDescription : "(null)"));
            if (!moveItemToTrash(source))
                s_.console.log(
                    "WARNING -- Could not delete application after moving it to Applications "
                    "folder");
        }
    }
    s_.tasks.launchedTask("/bin/sh",
                          {"-c", relaunchLine(s_.application.processIdentifier(), destination)});
    if (!nested && device) s_.tasks.launchedTask("/bin/sh", {"-c", detachLine(*device)});
    s_.application.exit(0);
}

std::string ApplicationMover::relaunchLine(int pid, const std::string& destination) {
    const std::string quoted = shellQuote(destination);
    const std::string quarantine = frameworkVersion() > kModernFramework
                                       ? "/usr/bin/xattr -d -r com.apple.quarantine " + quoted
                                       : "/usr/bin/xattr -d com.apple.quarantine " + quoted;
    // Only POSIX redirections: "/bin/sh" may be dash, which rejects ">&file" and would then
    // never reopen Tidra.
    return "(while /bin/kill -0 " + std::to_string(pid) +
           " >/dev/null 2>&1; do /bin/sleep 0.1; done; " + quarantine + "; /usr/bin/open " +
           quoted + ") &";
}

std::string ApplicationMover::detachLine(const std::string& device) {
    return "(/bin/sleep 5 && /usr/bin/hdiutil detach " + shellQuote(device) + ") &";
}

std::string ApplicationMover::processListLine(const std::string& destination) {
    return "/bin/ps ax -o comm | /usr/bin/grep " + shellQuote(destination) +
           "/ | /usr/bin/grep -v grep >/dev/null";
}

std::string ApplicationMover::trashScript(const std::string& path) {
    // The path goes in as a proper string literal: pasted raw, a quote in a folder name would end
    // the string and run the rest of the name as script.
    return "\t\tset theFile to POSIX file " + appleScriptStringLiteral(path) +
           " \n"
           "\t\t  tell application \"Finder\" \n"
           "\t\t      move theFile to trash \n"
           "\t\t  end tell";
}

std::optional<std::string> ApplicationMover::findDiskImageDevice(const std::string& directory) {
    const auto fs = s_.tasks.statfs(directory);
    if (!fs || (fs->flags & kMntRootFs)) return std::nullopt;
    const std::string device = fs->mountedFrom;

    // Older systems cannot read the tool's answer: it is not asked at all.
    if (frameworkVersion() <= kModernFramework) return std::nullopt;
    auto hdiutil = s_.tasks.makeTask("/usr/bin/hdiutil", {"info", "-plist"});
    hdiutil->setStandardOutputPipe(true);
    if (!hdiutil->launch()) return std::nullopt;
    // Read before waiting: a tool whose output outgrows the pipe blocks until it is read, and
    // would never end if we waited for it first.
    const Data output = hdiutil->readDataToEndOfFile();
    hdiutil->waitUntilExit();
    return diskImageDeviceIn(s_.propertyLists.propertyListWithData(output), device);
}

bool ApplicationMover::moveItemToTrash(const std::string& path) {
    if (frameworkVersion() >= kTrashingFramework &&
        s_.fileManager.trashItemAtURL(Url::fileURLWithPath(path), nullptr))
        return true;
    if (s_.workspace.performFileOperation(kWorkspaceRecycleOperation,
                                          paths::deletingLastPathComponent(path), "",
                                          {paths::lastPathComponent(path)}))
        return true;

    const std::string source = trashScript(path);
    Dictionary errorInfo;
    bool hasErrorInfo = false;
    if (auto script = s_.appleScript.scriptWithSource(source)) {
        if (script->executeAndReturnError(&errorInfo)) return true;
        hasErrorInfo = true;
    }
    s_.console.log("Trash AppleScript error: " +
                   (hasErrorInfo ? Value(errorInfo).description() : std::string("(null)")));
    s_.console.log("ERROR -- Could not trash '" + path + "'");
    return false;
}

}  // namespace tidra

// The offer, at launch, to move Tidra into the Applications folder, and the copy, clean-up and
// relaunch that follow when the user accepts.
#pragma once

#include <optional>
#include <string>

#include "platform/apple_script.h"
#include "platform/application.h"
#include "platform/authorization.h"
#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/defaults.h"
#include "platform/file_manager.h"
#include "platform/platform.h"
#include "platform/system_info.h"
#include "platform/tasks.h"
#include "platform/ui.h"
#include "platform/workspace.h"

namespace tidra {

struct AdministratorCopyResult {
    bool copied = false;
    // The user dismissed the password dialog: no failure to report.
    bool canceled = false;
};

class ApplicationMover {
  public:
    struct Services {
        UserDefaults& defaults;
        Bundle& bundle;
        FileManager& fileManager;
        Workspace& workspace;
        Tasks& tasks;
        Authorization& authorization;
        AppleScripting& appleScript;
        Archiver& propertyLists;
        Ui& ui;
        Application& application;
        Console& console;
        SystemInfo& system;

        static Services from(const Platform& platform);
    };

    explicit ApplicationMover(Services services) : s_(services) {}

    // Returns when the launch goes on; otherwise ends the process with status 0.
    void offerMoveToApplicationsFolder();

    // The device of the mounted disk image whose file system holds `directory`, if any.
    std::optional<std::string> findDiskImageDevice(const std::string& directory);
    AdministratorCopyResult copyWithAdministratorRights(const std::string& source,
                                                        const std::string& destination);
    bool moveItemToTrash(const std::string& path);

    // The shell lines started after the copy.
    std::string relaunchLine(int pid, const std::string& destination);
    static std::string detachLine(const std::string& device);
    static std::string processListLine(const std::string& destination);
    // The script that has Finder move `path` to the Trash.
    static std::string trashScript(const std::string& path);

  private:
    // Where Tidra lies and where the move would take it, as found before the offer is shown.
    struct Move {
        std::string source;
        std::string destination;
        // Inside another application's bundle: the source stays after the move.
        bool nested = false;
        bool needsAuthorization = false;
        // The disk image Tidra was started from, ejected after the move.
        std::optional<std::string> device;
    };

    Services s_;
    // AuthorizationExecuteWithPrivileges, once found.
    std::optional<PrivilegedExecute> privilegedExecute_;

    // The move to offer; nothing when Tidra already lies in an Applications folder, or there is
    // no local one to move to.
    std::optional<Move> locate();
    // Shows the offer; true when the user accepts. A refusal with the checkbox ticked turns the
    // offer off for good.
    bool ask(const Move& move);
    // Copies Tidra into place and relaunches it, or logs and tells why not and returns.
    void perform(const Move& move);
    void performWithAdministratorRights(const Move& move);
    void performPlainly(const Move& move);
    int frameworkVersion();
    std::string text(const char* key);
    void showFailureAlert();
    bool isRunning(const std::string& destination);
    // Where a copy is written before it replaces the destination: beside it, hidden.
    static std::string incomingPath(const std::string& destination);
    // Where the privileged copy keeps an older copy while the new one moves in: beside it, hidden.
    static std::string asidePath(const std::string& destination);
    // The copy without administrator rights: the new bundle is copied beside the destination,
    // the older one (when `replacing`) goes to the Trash, and the new one is renamed into place.
    // On failure the messages are logged, nothing half-made remains and an older copy stays.
    bool copyIntoPlace(const std::string& source, const std::string& destination, bool replacing);
    // Runs one tool with administrator rights and reaps it: its exit status, or nothing when it
    // could not be started or did not end normally.
    std::optional<int> runPrivileged(AuthorizationRef auth, const std::string& tool,
                                     const std::vector<std::string>& arguments);
    // Takes away what an earlier privileged copy that was cut short left beside the
    // destination; false when it could not.
    bool clearEarlierAttempt(AuthorizationRef auth, const std::string& destination);
    // The privileged copy once the rights are granted: beside the destination first, then into
    // its place, the older copy set aside until the new one stands.
    bool copyAsAdministrator(AuthorizationRef auth, const std::string& source,
                             const std::string& destination);
    // Removes or trashes the source, starts the relaunch (and the eject), ends the process.
    void finishMove(const std::string& source, const std::string& destination, bool nested,
                    const std::optional<std::string>& device);
};

}  // namespace tidra

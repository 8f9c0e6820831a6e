// The copy into Applications, with and without administrator rights. Both copy beside the
// destination first and replace an older copy only once the new one is whole, so a copy that
// fails leaves Applications as it was.
#include "install/application_mover.h"
#include "platform/paths.h"

namespace tidra {

namespace {

constexpr unsigned kAdminRightsFlags = kAuthorizationFlagInteractionAllowed |
                                       kAuthorizationFlagExtendRights |
                                       kAuthorizationFlagPreAuthorize;
constexpr const char* kAdminRight = "system.privilege.admin";
constexpr const char* kPrivilegedExecuteSymbol = "AuthorizationExecuteWithPrivileges";

std::string trimmedWhitespace(const std::string& s) {
    const char* ws = " \t\n\r\v\f";
    size_t b = s.find_first_not_of(ws);
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

}  // namespace

std::string ApplicationMover::incomingPath(const std::string& destination) {
    // Hidden, and without the "app" extension, so that nothing takes it for an application
    // while it is being written.
    return paths::appendingPathComponent(paths::deletingLastPathComponent(destination),
                                         "." + paths::lastPathComponent(destination) + ".incoming");
}

std::string ApplicationMover::asidePath(const std::string& destination) {
    return paths::appendingPathComponent(paths::deletingLastPathComponent(destination),
                                         "." + paths::lastPathComponent(destination) + ".previous");
}

bool ApplicationMover::copyIntoPlace(const std::string& source, const std::string& destination,
                                     bool replacing) {
    const std::string incoming = incomingPath(destination);
    // Left by an earlier attempt that was cut short.
    if (s_.fileManager.fileExistsAtPath(incoming))
        s_.fileManager.removeItemAtPath(incoming, nullptr);

    std::optional<Error> error;
    bool placed = s_.fileManager.copyItemAtPath(source, incoming, &error);
    if (placed && replacing && !moveItemToTrash(destination)) {
        s_.fileManager.removeItemAtPath(incoming, nullptr);
        return false;
    }
    if (placed) placed = s_.fileManager.moveItemAtPath(incoming, destination, &error);
    if (placed) return true;

    // A copy that stopped part way leaves part of the bundle behind.
    if (s_.fileManager.fileExistsAtPath(incoming))
        s_.fileManager.removeItemAtPath(incoming, nullptr);
    const std::string why = error ? error->description() : "(null)";
    s_.console.log("ERROR -- Could not copy '" + source + "' to '" + destination + "' (" + why +
                   ")");
    s_.console.log("ERROR -- Could not copy myself to " + destination);
    return false;
}

AdministratorCopyResult ApplicationMover::copyWithAdministratorRights(
    const std::string& source, const std::string& destination) {
    if (paths::pathExtension(destination) != "app" || trimmedWhitespace(destination).empty() ||
        trimmedWhitespace(source).empty())
        return {};
    AuthorizationRef auth = nullptr;
    if (s_.authorization.create(&auth) != kErrAuthorizationSuccess) return {};

    AdministratorCopyResult result;
    const int status = s_.authorization.copyRights(auth, kAdminRight, kAdminRightsFlags);
    if (status == kErrAuthorizationCanceled) {
        result.canceled = true;
    } else if (status == kErrAuthorizationSuccess) {
        if (!privilegedExecute_)
            privilegedExecute_ = s_.authorization.lookupPrivilegedExecute(kPrivilegedExecuteSymbol);
        result.copied = privilegedExecute_ && copyAsAdministrator(auth, source, destination);
    }
    s_.authorization.free(auth, kAuthorizationFlagDefaults);
    return result;
}

std::optional<int> ApplicationMover::runPrivileged(AuthorizationRef auth, const std::string& tool,
                                                   const std::vector<std::string>& arguments) {
    if ((*privilegedExecute_)(auth, tool, kAuthorizationFlagDefaults, arguments) !=
        kErrAuthorizationSuccess)
        return std::nullopt;
    const ChildStatus child = s_.authorization.wait();
    if (child.pid == -1 || !child.exitedNormally) return std::nullopt;
    return child.exitStatus;
}

bool ApplicationMover::clearEarlierAttempt(AuthorizationRef auth, const std::string& destination) {
    const std::string aside = asidePath(destination);
    // Usually there is nothing to remove, so rm's status says nothing.
    if (!runPrivileged(auth, "/bin/rm", {"-rf", incomingPath(destination)})) return false;
    if (!s_.fileManager.fileExistsAtPath(aside)) return true;
    // Left by an attempt cut short after setting the old copy aside. With nothing in its place it
    // is the only copy and goes back; beside a copy in place it is stale.
    const bool stale = s_.fileManager.fileExistsAtPath(destination);
    runPrivileged(auth, stale ? "/bin/rm" : "/bin/mv",
                  stale ? std::vector<std::string>{"-rf", aside}
                        : std::vector<std::string>{aside, destination});
    // mv would put the old copy inside whatever is still there.
    return !s_.fileManager.fileExistsAtPath(aside);
}

bool ApplicationMover::copyAsAdministrator(AuthorizationRef auth, const std::string& source,
                                           const std::string& destination) {
    const std::string incoming = incomingPath(destination);
    const std::string aside = asidePath(destination);
    if (!clearEarlierAttempt(auth, destination)) return false;
    if (runPrivileged(auth, "/bin/cp", {"-pR", source, incoming}) != 0) {
        runPrivileged(auth, "/bin/rm", {"-rf", incoming});
        return false;
    }
    // The old copy is only set aside until the new one stands in its place, so that a failure at
    // any step leaves a Tidra in Applications.
    const bool replacing = s_.fileManager.fileExistsAtPath(destination);
    if (replacing && runPrivileged(auth, "/bin/mv", {destination, aside}) != 0) {
        runPrivileged(auth, "/bin/rm", {"-rf", incoming});
        return false;
    }
    if (runPrivileged(auth, "/bin/mv", {incoming, destination}) != 0) {
        if (replacing && !s_.fileManager.fileExistsAtPath(destination))
            runPrivileged(auth, "/bin/mv", {aside, destination});
        runPrivileged(auth, "/bin/rm", {"-rf", incoming});
        return false;
    }
    if (replacing && runPrivileged(auth, "/bin/rm", {"-rf", aside}) != 0)
        s_.console.log("WARNING -- Could not delete '" + aside + "'");
    return true;
}

}  // namespace tidra

// The privileged copy's helper process reaped by the native authorization, and no other child of
// Tidra's, under GNUstep on Linux. The Security calls and the process list the Mac gives are
// stood in for here: the privileged execution starts its helper with fork, and the children come
// from /proc, ended ones included, as on the Mac.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "mac/services.h"

extern "C" {
OSStatus AuthorizationCreate(const AuthorizationRights*, const AuthorizationEnvironment*,
                             AuthorizationFlags, AuthorizationRef*) {
    return errAuthorizationSuccess;
}
OSStatus AuthorizationCopyRights(AuthorizationRef, const AuthorizationRights*,
                                 const AuthorizationEnvironment*, AuthorizationFlags,
                                 AuthorizationRights**) {
    return errAuthorizationSuccess;
}
OSStatus AuthorizationFree(AuthorizationRef, AuthorizationFlags) {
    return errAuthorizationSuccess;
}

int proc_listpids(uint32_t type, uint32_t parent, void* buffer, int size) {
    if (type != PROC_PPID_ONLY) return -1;
    auto* pids = static_cast<pid_t*>(buffer);
    int count = 0;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return -1;
    while (dirent* entry = readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
        if (pid <= 0) continue;
        // /proc/PID/stat: pid (name) state ppid …; the name may hold spaces and parentheses.
        std::ifstream in("/proc/" + std::string(entry->d_name) + "/stat");
        std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const auto close = stat.rfind(')');
        if (close == std::string::npos) continue;
        char state = 0;
        int ppid = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %c %d", &state, &ppid) != 2) continue;
        if (static_cast<uint32_t>(ppid) != parent) continue;
        if ((count + 1) * static_cast<int>(sizeof(pid_t)) > size) break;
        pids[count++] = pid;
    }
    closedir(proc);
    return count * static_cast<int>(sizeof(pid_t));
}

// The privileged execution as the tests find it by name: the helper "exits" with the status its
// one argument names.
__attribute__((visibility("default"))) OSStatus TidraTestExecuteWithPrivileges(
    AuthorizationRef, const char*, AuthorizationFlags, char* const* arguments, FILE**) {
    const int status = std::atoi(arguments[0]);
    if (fork() == 0) _exit(status);
    return errAuthorizationSuccess;
}
}

namespace tidra::mac {
namespace {

// A child that has ended and waits to be reaped, as a tool NSTask ran is until NSTask reaps it.
pid_t endedChild(int status) {
    const pid_t pid = fork();
    if (pid == 0) _exit(status);
    siginfo_t ended = {};
    waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT);
    return pid;
}

TEST(MacAuthorization, ReapsThePrivilegedHelperAndLeavesOtherChildrenToTheirOwners) {
    auto authorization = makeAuthorization();
    const auto execute = authorization->lookupPrivilegedExecute("TidraTestExecuteWithPrivileges");
    ASSERT_TRUE(execute.has_value());

    // Nothing run yet: nothing to reap, and no child taken.
    const pid_t earlier = endedChild(5);
    EXPECT_EQ(authorization->wait().pid, -1);

    const pid_t task = endedChild(3);
    ASSERT_EQ((*execute)(nullptr, "/bin/cp", 0, {"7"}), 0);
    const ChildStatus helper = authorization->wait();
    EXPECT_NE(helper.pid, -1);
    EXPECT_NE(helper.pid, task);
    EXPECT_NE(helper.pid, earlier);
    EXPECT_TRUE(helper.exitedNormally);
    EXPECT_EQ(helper.exitStatus, 7);
    // Each helper is reaped once.
    EXPECT_EQ(authorization->wait().pid, -1);

    ASSERT_EQ((*execute)(nullptr, "/bin/rm", 0, {"0"}), 0);
    const ChildStatus second = authorization->wait();
    EXPECT_TRUE(second.exitedNormally);
    EXPECT_EQ(second.exitStatus, 0);

    // The other children are still there for their owners, with their own statuses.
    int status = 0;
    EXPECT_EQ(waitpid(task, &status, 0), task);
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(waitpid(earlier, &status, 0), earlier);
    EXPECT_EQ(WEXITSTATUS(status), 5);
}

}  // namespace
}  // namespace tidra::mac

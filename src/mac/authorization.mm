// The Security framework's authorization, and the privileged execution it once offered, which
// is found by name at run time because the SDK no longer declares it for new code.
#include <Security/Security.h>
#include <dlfcn.h>
#include <errno.h>
#include <libproc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "mac/services.h"

namespace tidra::mac {
namespace {

using ExecuteWithPrivileges = OSStatus (*)(::AuthorizationRef, const char*, AuthorizationFlags,
                                           char* const*, FILE**);

::AuthorizationRef native(tidra::AuthorizationRef auth) {
    return static_cast<::AuthorizationRef>(auth);
}

// Tidra's own child processes, running or ended and not yet reaped.
std::vector<pid_t> children() {
    std::vector<pid_t> pids(1024, 0);
    const int filled = proc_listpids(PROC_PPID_ONLY, static_cast<uint32_t>(getpid()), pids.data(),
                                     static_cast<int>(pids.size() * sizeof(pid_t)));
    if (filled <= 0) return {};
    std::erase(pids, 0);
    std::sort(pids.begin(), pids.end());
    return pids;
}

// The privileged execution does not say which process it started. It is the child that was not
// there before the call; one that had ended by the time Tidra looks is found among the ended
// children without reaping any. -1 when there is no telling.
pid_t startedChild(const std::vector<pid_t>& before) {
    for (pid_t pid : children())
        if (!std::binary_search(before.begin(), before.end(), pid)) return pid;
    siginfo_t ended = {};
    if (waitid(P_ALL, 0, &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid > 0 &&
        !std::binary_search(before.begin(), before.end(), ended.si_pid))
        return ended.si_pid;
    return -1;
}

class MacAuthorization final : public Authorization {
  public:
    int create(tidra::AuthorizationRef* out) override {
        ::AuthorizationRef made = nullptr;
        const OSStatus status =
            AuthorizationCreate(nullptr, nullptr, kAuthorizationFlagDefaults, &made);
        if (out != nullptr) *out = const_cast<AuthorizationOpaqueRef*>(made);
        return status;
    }
    int copyRights(tidra::AuthorizationRef auth, const std::string& rightName,
                   unsigned flags) override {
        AuthorizationItem item = {rightName.c_str(), 0, nullptr, 0};
        AuthorizationRights rights = {1, &item};
        return AuthorizationCopyRights(native(auth), &rights, nullptr, flags, nullptr);
    }
    int free(tidra::AuthorizationRef auth, unsigned flags) override {
        return AuthorizationFree(native(auth), flags);
    }
    std::optional<PrivilegedExecute> lookupPrivilegedExecute(const std::string& symbol) override {
        void* found = dlsym(RTLD_DEFAULT, symbol.c_str());
        if (found == nullptr) return std::nullopt;
        auto execute = reinterpret_cast<ExecuteWithPrivileges>(found);
        std::shared_ptr<pid_t> helper = helper_;
        return PrivilegedExecute([execute, helper](tidra::AuthorizationRef auth,
                                                   const std::string& path, unsigned flags,
                                                   const std::vector<std::string>& arguments) {
            std::vector<std::string> owned(arguments);
            std::vector<char*> argv;
            for (std::string& argument : owned) argv.push_back(argument.data());
            argv.push_back(nullptr);
            const std::vector<pid_t> before = children();
            const OSStatus status =
                execute(native(auth), path.c_str(), flags, argv.data(), nullptr);
            *helper = status == errAuthorizationSuccess ? startedChild(before) : -1;
            return static_cast<int>(status);
        });
    }
    // Reaps the helper of the last privileged execution and no other child: the tasks Tidra
    // runs are reaped by their own NSTask, which must not find its status taken.
    ChildStatus wait() override {
        ChildStatus child;
        const pid_t helper = *helper_;
        *helper_ = -1;
        if (helper <= 0) return child;
        int status = 0;
        pid_t reaped = -1;
        do {
            reaped = waitpid(helper, &status, 0);
        } while (reaped == -1 && errno == EINTR);
        if (reaped != helper) return child;
        child.pid = reaped;
        child.exitedNormally = WIFEXITED(status);
        child.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
        return child;
    }

  private:
    // The process the last privileged execution started; -1 when none is known.
    std::shared_ptr<pid_t> helper_ = std::make_shared<pid_t>(-1);
};

}  // namespace

std::unique_ptr<Authorization> makeAuthorization() {
    return std::make_unique<MacAuthorization>();
}

}  // namespace tidra::mac

// The Security framework's authorization, and the privileged execution it once offered, which
// is found by name at run time because the SDK no longer declares it for new code.
#include <Security/Security.h>
#include <dlfcn.h>
#include <sys/wait.h>

#include "mac/services.h"

namespace tidra::mac {
namespace {

using ExecuteWithPrivileges = OSStatus (*)(::AuthorizationRef, const char*, AuthorizationFlags,
                                           char* const*, FILE**);

::AuthorizationRef native(tidra::AuthorizationRef auth) {
    return static_cast<::AuthorizationRef>(auth);
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
        return PrivilegedExecute([execute](tidra::AuthorizationRef auth, const std::string& path,
                                           unsigned flags,
                                           const std::vector<std::string>& arguments) {
            std::vector<std::string> owned(arguments);
            std::vector<char*> argv;
            for (std::string& argument : owned) argv.push_back(argument.data());
            argv.push_back(nullptr);
            return static_cast<int>(
                execute(native(auth), path.c_str(), flags, argv.data(), nullptr));
        });
    }
    ChildStatus wait() override {
        int status = 0;
        ChildStatus child;
        child.pid = ::wait(&status);
        if (child.pid == -1) return child;
        child.exitedNormally = WIFEXITED(status);
        child.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
        return child;
    }
};

}  // namespace

std::unique_ptr<Authorization> makeAuthorization() {
    return std::make_unique<MacAuthorization>();
}

}  // namespace tidra::mac

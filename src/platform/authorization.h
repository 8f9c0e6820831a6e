// The Security authorization services and the privileged execution found at run time.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tidra {

using AuthorizationRef = void*;
inline constexpr int kErrAuthorizationSuccess = 0;
inline constexpr int kErrAuthorizationCanceled = -60006;
inline constexpr unsigned kAuthorizationFlagDefaults = 0;
inline constexpr unsigned kAuthorizationFlagInteractionAllowed = 1;
inline constexpr unsigned kAuthorizationFlagExtendRights = 2;
inline constexpr unsigned kAuthorizationFlagPreAuthorize = 16;

// AuthorizationExecuteWithPrivileges, as found by name: starts the tool as a child process.
using PrivilegedExecute =
    std::function<int(AuthorizationRef auth, const std::string& path, unsigned flags,
                      const std::vector<std::string>& arguments)>;

struct ChildStatus {
    int pid = -1;  // -1: wait failed
    bool exitedNormally = false;
    int exitStatus = 0;
};

class Authorization {
  public:
    virtual ~Authorization() = default;
    virtual int create(AuthorizationRef* out) = 0;
    virtual int copyRights(AuthorizationRef auth, const std::string& rightName, unsigned flags) = 0;
    virtual int free(AuthorizationRef auth, unsigned flags) = 0;
    // dlsym in the default scope; nothing when the symbol is not there.
    virtual std::optional<PrivilegedExecute> lookupPrivilegedExecute(const std::string& symbol) = 0;
    // wait(): reaps one child of a privileged execution.
    virtual ChildStatus wait() = 0;
};

}  // namespace tidra

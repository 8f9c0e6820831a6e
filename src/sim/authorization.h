// The Security authorization services on the simulated Mac: references, the administrator
// password dialog (answered by the front end), the privileged execution of rm, cp and mv on the
// simulated disk, and the children it leaves for wait(). Each step can be made to fail.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/authorization.h"
#include "sim/disk.h"
#include "sim/run_loop.h"

namespace tidra::sim {

class SimAuthorization : public Authorization {
  public:
    enum class Step { Create, CopyRights, Lookup, Execute, ChildCrash, Wait, Free };

    static constexpr int kErrDenied = -60005;
    static constexpr int kErrInvalidRef = -60002;
    static constexpr int kErrInteractionNotAllowed = -60007;
    static constexpr int kErrToolExecuteFailure = -60031;

    SimAuthorization(RunLoop& loop, const Disk& disk) : loop_(loop), disk_(disk) {}

    int create(AuthorizationRef* out) override;
    int copyRights(AuthorizationRef auth, const std::string& rightName, unsigned flags) override;
    int free(AuthorizationRef auth, unsigned flags) override;
    std::optional<PrivilegedExecute> lookupPrivilegedExecute(const std::string& symbol) override;
    ChildStatus wait() override;

    void setFailing(Step step, bool failing);
    // Privileged commands whose line ("tool arg arg...") starts with `prefix` exit with status 1
    // and change nothing, as a tool the file system turns down does.
    void setCommandFailing(const std::string& prefix, bool failing);
    // Whether a copy to a Mac path runs out of room: administrator rights give no more space.
    void setCopyRunsOutOfRoom(std::function<bool(const std::string& macPath)> full) {
        copyRunsOutOfRoom_ = std::move(full);
    }

    bool passwordDialogOpen() const { return dialogOpen_; }
    const std::string& passwordDialogText() const { return dialogText_; }
    // The user's answer to the open dialog; false when none is open.
    bool answerPassword(bool ok);

    // For tests and the front end.
    int dialogsShown() const { return dialogsShown_; }
    size_t liveReferences() const { return live_.size(); }
    // Every privileged command, as "tool arg arg...".
    const std::vector<std::string>& privilegedHistory() const { return history_; }

  private:
    RunLoop& loop_;
    const Disk& disk_;
    std::set<Step> failing_;
    std::set<std::string> failingCommands_;
    std::function<bool(const std::string&)> copyRunsOutOfRoom_;
    std::set<AuthorizationRef> live_;
    std::set<AuthorizationRef> admin_;
    std::deque<ChildStatus> children_;
    std::vector<std::string> history_;
    std::uintptr_t nextRef_ = 0x1000;
    int nextPid_ = 9001;
    bool dialogOpen_ = false;
    std::optional<bool> answer_;
    std::string dialogText_;
    int dialogsShown_ = 0;

    bool fails(Step step) const;
    int execute(AuthorizationRef auth, const std::string& path,
                const std::vector<std::string>& arguments);
    int removeTree(const std::string& macPath);
    int copyTree(const std::string& from, const std::string& to);
    int moveTree(const std::string& from, const std::string& to);
};

}  // namespace tidra::sim

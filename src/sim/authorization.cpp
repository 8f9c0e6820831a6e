#include "sim/authorization.h"

#include <algorithm>
#include <filesystem>

#include "platform/paths.h"
#include "sim/case_fold.h"
#include "sim/partial_copy.h"

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

// cp -R onto what is already there: every name lands on the entry that holds it whatever its
// case, so the copy never leaves two names that differ only in case side by side.
void copyOnto(const fs::path& from, const fs::path& to, std::error_code& ec) {
    if (fs::is_symlink(from, ec) || !fs::is_directory(from, ec)) {
        if (fs::is_directory(fs::symlink_status(to, ec))) {
            ec = std::make_error_code(std::errc::is_a_directory);
            return;
        }
        fs::remove(to, ec);
        fs::copy(from, to, fs::copy_options::copy_symlinks, ec);
        return;
    }
    if (!fs::is_directory(to, ec) && !fs::create_directory(to, ec)) return;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        copyOnto(it->path(), to / storedName(to, name).value_or(name), ec);
    }
}

}  // namespace

void SimAuthorization::setFailing(Step step, bool failing) {
    if (failing)
        failing_.insert(step);
    else
        failing_.erase(step);
}

void SimAuthorization::setCommandFailing(const std::string& prefix, bool failing) {
    if (failing)
        failingCommands_.insert(prefix);
    else
        failingCommands_.erase(prefix);
}

bool SimAuthorization::fails(Step step) const {
    return failing_.count(step) != 0;
}

int SimAuthorization::create(AuthorizationRef* out) {
    if (!out) return kErrInvalidRef;
    if (fails(Step::Create)) return kErrDenied;
    auto ref = reinterpret_cast<AuthorizationRef>(nextRef_);
    nextRef_ += 0x10;
    live_.insert(ref);
    *out = ref;
    return kErrAuthorizationSuccess;
}

int SimAuthorization::copyRights(AuthorizationRef auth, const std::string& rightName,
                                 unsigned flags) {
    if (!live_.count(auth)) return kErrInvalidRef;
    if (rightName != "system.privilege.admin") return kErrDenied;
    if (admin_.count(auth)) return kErrAuthorizationSuccess;
    if (!(flags & kAuthorizationFlagInteractionAllowed)) return kErrInteractionNotAllowed;
    dialogOpen_ = true;
    dialogText_ = "Tidra wants to make changes. Enter your password to allow this.";
    answer_.reset();
    ++dialogsShown_;
    // The dialog is modal: the caller waits here until the user answers. Without anyone left to
    // answer it, it is as good as cancelled.
    loop_.runUntil([this] { return answer_.has_value(); });
    dialogOpen_ = false;
    const bool ok = answer_.value_or(false);
    answer_.reset();
    if (!ok) return kErrAuthorizationCanceled;
    if (fails(Step::CopyRights)) return kErrDenied;
    if (flags & kAuthorizationFlagExtendRights) admin_.insert(auth);
    return kErrAuthorizationSuccess;
}

bool SimAuthorization::answerPassword(bool ok) {
    if (!dialogOpen_ || answer_) return false;
    answer_ = ok;
    return true;
}

int SimAuthorization::free(AuthorizationRef auth, unsigned) {
    if (!live_.count(auth)) return kErrInvalidRef;
    live_.erase(auth);
    admin_.erase(auth);
    return fails(Step::Free) ? kErrDenied : kErrAuthorizationSuccess;
}

std::optional<PrivilegedExecute> SimAuthorization::lookupPrivilegedExecute(
    const std::string& symbol) {
    if (symbol != "AuthorizationExecuteWithPrivileges" || fails(Step::Lookup)) return std::nullopt;
    return PrivilegedExecute([this](AuthorizationRef auth, const std::string& path, unsigned,
                                    const std::vector<std::string>& arguments) {
        return execute(auth, path, arguments);
    });
}

int SimAuthorization::execute(AuthorizationRef auth, const std::string& path,
                              const std::vector<std::string>& arguments) {
    if (!live_.count(auth)) return kErrInvalidRef;
    if (!admin_.count(auth)) return kErrDenied;
    if (fails(Step::Execute)) return kErrToolExecuteFailure;
    std::string record = path;
    for (const auto& a : arguments) record += " " + a;
    history_.push_back(record);

    int status;
    const auto refused = [&](const std::string& prefix) { return record.starts_with(prefix); };
    if (std::any_of(failingCommands_.begin(), failingCommands_.end(), refused)) {
        status = 1;
    } else if (path == "/bin/rm" && arguments.size() >= 2 && arguments[0] == "-rf") {
        status = 0;
        for (size_t i = 1; i < arguments.size(); ++i) status |= removeTree(arguments[i]);
    } else if (path == "/bin/cp" && arguments.size() == 3 && arguments[0] == "-pR") {
        status = copyTree(arguments[1], arguments[2]);
    } else if (path == "/bin/mv" && arguments.size() == 2) {
        status = moveTree(arguments[0], arguments[1]);
    } else {
        return kErrToolExecuteFailure;
    }
    ChildStatus child{nextPid_++, true, status};
    if (fails(Step::ChildCrash)) child.exitedNormally = false;
    children_.push_back(child);
    return kErrAuthorizationSuccess;
}

ChildStatus SimAuthorization::wait() {
    if (children_.empty() || fails(Step::Wait)) return ChildStatus{};
    ChildStatus child = children_.front();
    children_.pop_front();
    return child;
}

int SimAuthorization::removeTree(const std::string& macPath) {
    // A relative path would be taken from rm's own working folder; the sim has none.
    if (macPath.empty() || macPath[0] != '/' || paths::standardize(macPath, disk_.home()) == "/")
        return 1;
    std::error_code ec;
    fs::remove_all(disk_.realOfLink(macPath), ec);
    return ec ? 1 : 0;
}

int SimAuthorization::copyTree(const std::string& from, const std::string& to) {
    std::error_code ec;
    const fs::path source = disk_.real(from);
    fs::path target = disk_.real(to);
    if (!fs::exists(source, ec)) return 1;
    // cp -R into an existing folder puts the copy inside it.
    if (fs::is_directory(target, ec)) target = disk_.real(to + "/" + source.filename().string());
    if (copyRunsOutOfRoom_ && copyRunsOutOfRoom_(disk_.mac(target.string()))) {
        // cp stops at the first file that finds no room; what it wrote stays.
        copyUntilFull(source, target);
        return 1;
    }
    copyOnto(source, target, ec);
    return ec ? 1 : 0;
}

int SimAuthorization::moveTree(const std::string& from, const std::string& to) {
    std::error_code ec;
    const fs::path source = disk_.real(from);
    fs::path target = disk_.real(to);
    if (from.empty() || from[0] != '/' || to.empty() || to[0] != '/') return 1;
    if (!fs::exists(fs::symlink_status(source, ec))) return 1;
    // mv into an existing folder puts the item inside it.
    if (fs::is_directory(target, ec))
        target = disk_.realOfLink(to + "/" + source.filename().string());
    fs::rename(source, target, ec);
    return ec ? 1 : 0;
}

}  // namespace tidra::sim

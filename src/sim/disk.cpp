#include "sim/disk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/case_fold.h"

#ifndef TIDRA_SAMPLE_PICTURES_DIR
#define TIDRA_SAMPLE_PICTURES_DIR "sample-pictures"
#endif

namespace tidra::sim {

namespace fs = std::filesystem;

namespace {

// Marks the temporary file of a write in progress: ".<name>.sim-tmp-XXXXXX".
constexpr std::string_view kTempMarker = ".sim-tmp-";
// As the platform gives up on a chain of links.
constexpr int kMaxLinks = 32;

std::vector<std::string> parts(const std::string& path) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos) j = path.size();
        std::string c = path.substr(i, j - i);
        i = j + 1;
        if (c.empty() || c == ".") continue;
        if (c == "..") {
            // Above the root is the root, as on any Unix.
            if (!out.empty()) out.pop_back();
            continue;
        }
        out.push_back(std::move(c));
    }
    return out;
}

std::error_code lastError() {
    return {errno, std::generic_category()};
}

bool isTemporaryName(const std::string& name) {
    size_t at = name.rfind(kTempMarker);
    if (name.size() > 1 && name[0] == '.' && at != std::string::npos &&
        name.size() == at + kTempMarker.size() + 6)
        return true;
    // What earlier versions left behind: "<domain>.plist.tmp-XXXXXX".
    at = name.rfind(".plist.tmp-");
    return at != std::string::npos && name.size() == at + 11 + 6;
}

}  // namespace

Disk::Disk(std::string root, std::string user) : user_(std::move(user)) {
    std::error_code ec;
    fs::path absolute = fs::absolute(root, ec);
    root_ = (ec ? fs::path(root) : absolute).lexically_normal().string();
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::string Disk::resolve(const std::string& macPath, bool followLast) const {
    std::string start = macPath.empty() || macPath[0] != '/' ? "/" + macPath : macPath;
    std::vector<std::string> pending = parts(start);
    std::string done;
    int links = 0;
    for (size_t i = 0; i < pending.size(); ++i) {
        // A name is found whatever its case and keeps the case it was made with; a name not
        // there yet keeps the case asked for.
        if (auto stored = storedName(done.empty() ? root_ : root_ + done, pending[i]))
            pending[i] = std::move(*stored);
        std::string next = done + "/" + pending[i];
        if (i + 1 == pending.size() && !followLast) return next;
        struct stat st {};
        if (::lstat((root_ + next).c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            done = std::move(next);
            continue;
        }
        // A chain too long (or a loop) gets a name no file can have: nothing is reached.
        if (++links > kMaxLinks) return "/" + std::string(NAME_MAX + 1, 'L');
        std::string target(size_t(st.st_size) + 256, '\0');
        ssize_t n = ::readlink((root_ + next).c_str(), target.data(), target.size());
        if (n < 0) {
            done = std::move(next);
            continue;
        }
        target.resize(size_t(n));
        std::string rest = target.starts_with("/") ? target : done + "/" + target;
        for (size_t j = i + 1; j < pending.size(); ++j) rest += "/" + pending[j];
        pending = parts(rest);
        done.clear();
        i = size_t(-1);
    }
    return done.empty() ? "/" : done;
}

std::string Disk::spelled(const std::string& macPath) const {
    std::string out;
    for (const std::string& name : parts(macPath))
        out += "/" + storedName(real(out.empty() ? "/" : out), name).value_or(name);
    return out.empty() ? "/" : out;
}

std::string Disk::real(const std::string& macPath) const {
    std::string p = resolve(macPath, true);
    return p == "/" ? root_ : root_ + p;
}

std::string Disk::realOfLink(const std::string& macPath) const {
    std::string p = resolve(macPath, false);
    return p == "/" ? root_ : root_ + p;
}

std::string Disk::renameTarget(const std::string& realSource, const std::string& macPath) const {
    const std::string target = realOfLink(macPath);
    if (target != realSource || target == root_) return target;
    const std::vector<std::string> wanted = parts(macPath);
    if (wanted.empty()) return target;
    return fs::path(target).parent_path().string() + "/" + wanted.back();
}

std::string Disk::mac(const std::string& realPath) const {
    if (realPath == root_) return "/";
    if (realPath.size() > root_.size() && realPath.compare(0, root_.size(), root_) == 0 &&
        realPath[root_.size()] == '/')
        return realPath.substr(root_.size());
    return realPath;
}

std::error_code Disk::writeFile(const std::string& macPath, std::string_view bytes) const {
    const fs::path file = real(macPath);
    if (file.string() == root_) return std::make_error_code(std::errc::is_a_directory);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) return ec;
    std::string tmp = (file.parent_path() / ("." + file.filename().string().substr(0, 200) +
                                             std::string(kTempMarker) + "XXXXXX"))
                          .string();
    int fd = ::mkstemp(tmp.data());
    if (fd < 0) return lastError();
    auto fail = [&](std::error_code error, bool open) {
        if (open) ::close(fd);
        ::unlink(tmp.c_str());
        return error;
    };
    // Readable by others as files written the ordinary way are.
    if (::fchmod(fd, 0644) != 0) return fail(lastError(), true);
    // A full disk takes part of the data before it refuses the rest.
    const size_t wanted = writeFailure_ ? bytes.size() / 2 : bytes.size();
    size_t done = 0;
    while (done < wanted) {
        ssize_t n = ::write(fd, bytes.data() + done, wanted - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(lastError(), true);
        if (n == 0) return fail(std::make_error_code(std::errc::no_space_on_device), true);
        done += size_t(n);
    }
    if (writeFailure_) return fail(writeFailure_, true);
    if (::fsync(fd) != 0) return fail(lastError(), true);
    if (::close(fd) != 0) return fail(lastError(), false);
    if (::rename(tmp.c_str(), file.c_str()) != 0) return fail(lastError(), false);
    // The new name is durable only once the folder is; the file itself is in place either way.
    int dir = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

int Disk::removeStrayTemporaryFiles() const {
    int removed = 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(root_, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        std::error_code ignored;
        if (!it->is_regular_file(ignored) || !isTemporaryName(it->path().filename().string()))
            continue;
        if (fs::remove(it->path(), ignored)) ++removed;
    }
    return removed;
}

void Disk::populate(bool samples, const std::string& systemPicture) const {
    std::error_code ec;
    for (const char* dir : {"/Applications", "/Library/Desktop Pictures", "/Volumes"})
        fs::create_directories(real(dir), ec);
    for (const char* dir : {"Desktop", "Documents", "Downloads", "Pictures", "Library/Preferences",
                            "Library/Application Support", "Applications", ".Trash"})
        fs::create_directories(real(home() + "/" + dir), ec);
    auto sample = [this](const std::string& macPath, std::string_view contents) {
        std::error_code exists;
        if (!fs::exists(fs::symlink_status(realOfLink(macPath), exists)))
            writeFile(macPath, contents);
    };
    // A real picture drawn at build time; without one (a tree built without the drawing tools)
    // the file still exists, with its format's signature, so everything but decoding it works
    // alike.
    auto picture = [&](const std::string& macPath, std::string_view signature) {
        std::ifstream in(fs::path(TIDRA_SAMPLE_PICTURES_DIR) / fs::path(macPath).filename(),
                         std::ios::binary);
        const std::string drawn((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        sample(macPath, in && !drawn.empty() ? std::string_view(drawn) : signature);
    };
    if (!systemPicture.empty()) {
        const bool heic = systemPicture.size() > 5 &&
                          systemPicture.compare(systemPicture.size() - 5, 5, ".heic") == 0;
        picture(systemPicture, heic ? "ftypheic" : "\xff\xd8\xff\xe0");
    }
    if (!samples) return;
    sample(home() + "/Desktop/Quarterly Report.pdf", "%PDF-1.4\n% quarterly figures\n");
    picture(home() + "/Desktop/Screenshot 2026-11-30 at 09.12.44.png", "\x89PNG\r\n");
    sample(home() + "/Desktop/todo.txt", "- water the plants\n- call Sam\n");
    picture(home() + "/Desktop/Holiday Photos/beach.jpg", "\xff\xd8\xff\xe0");
    sample(home() + "/Documents/notes.txt", "Meeting notes\n");
    picture(home() + "/Pictures/Mountains.jpg", "\xff\xd8\xff\xe0");
    picture(home() + "/Pictures/Sunset.heic", "ftypheic");
}

}  // namespace tidra::sim

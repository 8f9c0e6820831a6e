// The simulated Mac's disk: a real folder laid out like a Mac's, and the one mapping between the
// paths Tidra sees ("/Users/me/Pictures/x.jpg") and the files that hold them. Like a Mac's default
// volume it ignores case and preserves it: "/users/ME/pictures/X.JPG" is the same file, every
// name keeps the case it was made with, and no folder ever holds two names that differ only in
// case, although the real folder beneath would allow it.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace tidra::sim {

class Disk {
  public:
    // `root`: the real folder. `user`: the short name of the simulated user.
    explicit Disk(std::string root, std::string user = "me");

    const std::string& root() const { return root_; }
    const std::string& user() const { return user_; }
    // "/Users/<user>".
    std::string home() const { return "/Users/" + user_; }

    // The Mac path with every symbolic link along it resolved as the Mac resolves it: a link's
    // target is a Mac path (or one relative to the link's folder) and ".." stops at "/", so no
    // link and no ".." ever leads out of the disk. `followLast`: whether a link in the last
    // component is resolved too (not when the link itself is removed, renamed or examined).
    // Every name that exists comes out in the case it is stored in.
    std::string resolve(const std::string& macPath, bool followLast = true) const;
    // The Mac path spelt as the disk holds it: every name that exists in its stored case, links
    // left unresolved.
    std::string spelled(const std::string& macPath) const;
    // The real file behind a Mac path (a relative path is taken from the disk's root): always
    // beneath the disk's folder, and reached through no link that leads out of it.
    std::string real(const std::string& macPath) const;
    // The same, but a link in the last component is the link itself.
    std::string realOfLink(const std::string& macPath) const;
    // Where a rename of the real item `realSource` to `macPath` puts it: the real file behind
    // `macPath` (a link there is the link itself), except that a rename that changes only the
    // case of the item's own name gives it the new spelling, as on a Mac.
    std::string renameTarget(const std::string& realSource, const std::string& macPath) const;
    // The Mac path of a real file inside the disk; the real path unchanged when it lies outside.
    std::string mac(const std::string& realPath) const;

    // Stores `bytes` as the file behind `macPath` so that neither a crash nor a full disk can
    // leave a torn file: a temporary file in the same folder, every write and the close checked,
    // synced, renamed over the old file, the folder synced. On failure the old file stays whole
    // and the temporary file is gone. Missing folders on the way are made.
    std::error_code writeFile(const std::string& macPath, std::string_view bytes) const;
    // Removes the temporary files of writes that a killed process never finished. Answers how
    // many it removed. Only safe while no other process uses the disk.
    int removeStrayTemporaryFiles() const;
    // Makes every later write fail with `error` halfway through, as a full disk does; an empty
    // error lets writes succeed again.
    void setWriteFailure(std::error_code error) { writeFailure_ = error; }

    // Lays out the standard folders of a Mac where they are missing, and the system's default
    // desktop picture (`systemPicture`, a Mac path; none when empty), which comes with every
    // system and its updates. `samples`: also a few files on the Desktop and a picture or two,
    // as a new Mac has; no existing file is ever replaced.
    void populate(bool samples = true, const std::string& systemPicture = "") const;

    // Whether the user's Trash takes items. When it does not (a damaged or unreachable .Trash
    // folder), every way into it fails alike: the file manager, the workspace and Finder.
    bool trashAvailable() const { return trashAvailable_; }
    void setTrashAvailable(bool available) { trashAvailable_ = available; }

  private:
    std::string root_;
    std::string user_;
    bool trashAvailable_ = true;
    std::error_code writeFailure_;
};

}  // namespace tidra::sim

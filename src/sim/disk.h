// The simulated Mac's disk: a real folder laid out like a Mac's, and the one mapping between the
// paths Tidra sees ("/Users/me/Pictures/x.jpg") and the files that hold them.
#pragma once

#include <string>

namespace tidra::sim {

class Disk {
  public:
    // `root`: the real folder. `user`: the short name of the simulated user.
    explicit Disk(std::string root, std::string user = "me");

    const std::string& root() const { return root_; }
    const std::string& user() const { return user_; }
    // "/Users/<user>".
    std::string home() const { return "/Users/" + user_; }
    // The real file behind a Mac path; a relative path is taken from the disk's root.
    std::string real(const std::string& macPath) const;
    // The Mac path of a real file inside the disk; the real path unchanged when it lies outside.
    std::string mac(const std::string& realPath) const;

    // Whether the folder already holds a simulated Mac.
    bool isPopulated() const;
    // Lays out a plausible new Mac: the standard folders, a few files on the Desktop, a picture
    // or two and the default desktop picture.
    void populate() const;

    // Whether the user's Trash takes items. When it does not (a damaged or unreachable .Trash
    // folder), every way into it fails alike: the file manager, the workspace and Finder.
    bool trashAvailable() const { return trashAvailable_; }
    void setTrashAvailable(bool available) { trashAvailable_ = available; }

  private:
    std::string root_;
    std::string user_;
    bool trashAvailable_ = true;
};

}  // namespace tidra::sim

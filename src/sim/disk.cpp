#include "sim/disk.h"

#include <filesystem>
#include <fstream>

#include "platform/paths.h"

#ifndef TIDRA_SAMPLE_PICTURES_DIR
#define TIDRA_SAMPLE_PICTURES_DIR "sample-pictures"
#endif

namespace tidra::sim {

namespace fs = std::filesystem;

Disk::Disk(std::string root, std::string user) : user_(std::move(user)) {
    std::error_code ec;
    fs::path absolute = fs::absolute(root, ec);
    root_ = (ec ? fs::path(root) : absolute).lexically_normal().string();
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

std::string Disk::real(const std::string& macPath) const {
    // Standardised first, so that ".." can never lead out of the simulated disk.
    std::string p =
        paths::standardize(macPath.empty() || macPath[0] != '/' ? "/" + macPath : macPath, home());
    return p == "/" ? root_ : root_ + p;
}

std::string Disk::mac(const std::string& realPath) const {
    if (realPath == root_) return "/";
    if (realPath.size() > root_.size() && realPath.compare(0, root_.size(), root_) == 0 &&
        realPath[root_.size()] == '/')
        return realPath.substr(root_.size());
    return realPath;
}

bool Disk::isPopulated() const {
    std::error_code ec;
    return fs::is_directory(real(home() + "/Library/Preferences"), ec);
}

namespace {
void writeFile(const std::string& path, const std::string& contents) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

// A real picture drawn at build time; without one (a tree built without the drawing tools) the
// file still exists, with its format's signature, so everything but decoding it works alike.
void placePicture(const std::string& path, const std::string& signature) {
    fs::create_directories(fs::path(path).parent_path());
    std::error_code ec;
    fs::path sample = fs::path(TIDRA_SAMPLE_PICTURES_DIR) / fs::path(path).filename();
    if (fs::copy_file(sample, path, fs::copy_options::overwrite_existing, ec)) return;
    writeFile(path, signature);
}
}  // namespace

void Disk::populate() const {
    for (const char* dir : {"/Applications", "/Library/Desktop Pictures", "/Volumes"})
        fs::create_directories(real(dir));
    for (const char* dir : {"Desktop", "Documents", "Downloads", "Pictures", "Library/Preferences",
                            "Library/Application Support", "Applications", ".Trash"})
        fs::create_directories(real(home() + "/" + dir));
    writeFile(real(home() + "/Desktop/Quarterly Report.pdf"), "%PDF-1.4\n% quarterly figures\n");
    placePicture(real(home() + "/Desktop/Screenshot 2026-11-30 at 09.12.44.png"), "\x89PNG\r\n");
    writeFile(real(home() + "/Desktop/todo.txt"), "- water the plants\n- call Sam\n");
    placePicture(real(home() + "/Desktop/Holiday Photos/beach.jpg"), "\xff\xd8\xff\xe0");
    writeFile(real(home() + "/Documents/notes.txt"), "Meeting notes\n");
    placePicture(real(home() + "/Pictures/Mountains.jpg"), "\xff\xd8\xff\xe0");
    placePicture(real(home() + "/Pictures/Sunset.heic"), "ftypheic");
    placePicture(real("/Library/Desktop Pictures/Monterey Graphic.heic"), "ftypheic");
}

}  // namespace tidra::sim

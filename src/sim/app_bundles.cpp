#include "sim/app_bundles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/paths.h"
#include "sim/formats/plist_value.h"
#include "text/ascii.h"

namespace tidra::sim {

namespace fs = std::filesystem;

bool installApplicationBundle(const Disk& disk, const std::string& bundleMacPath,
                              const std::string& bundleIdentifier) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(disk.realOfLink(bundleMacPath), ec))) return true;
    std::string name = paths::lastPathComponent(bundleMacPath);
    if (name.size() > 4 && asciiLower(name.substr(name.size() - 4)) == ".app")
        name.resize(name.size() - 4);
    const Dictionary info{{Value("CFBundleIdentifier"), Value(bundleIdentifier)},
                          {Value("CFBundleName"), Value(name)},
                          {Value("CFBundleExecutable"), Value(name)},
                          {Value("CFBundlePackageType"), Value("APPL")}};
    const auto bytes = toBinaryPlist(Value(info));
    if (!bytes) return false;
    const std::string contents = bundleMacPath + "/Contents";
    return !disk.writeFile(
               contents + "/Info.plist",
               std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size())) &&
           !disk.writeFile(contents + "/MacOS/" + name, "#!/bin/sh\n");
}

void placeSampleApplications(const Disk& disk) {
    static const std::pair<const char*, const char*> kApps[] = {
        {"/Applications/Safari.app", "com.apple.Safari"},
        {"/Applications/Mail.app", "com.apple.mail"},
        {"/Applications/Notes.app", "com.apple.Notes"},
        {"/Applications/Keynote.app", "com.apple.iWork.Keynote"},
        {"/Applications/zoom.us.app", "us.zoom.xos"},
    };
    for (const auto& [path, identifier] : kApps) installApplicationBundle(disk, path, identifier);
}

namespace {

std::optional<std::string> identifierOf(const Disk& disk, const std::string& bundleMacPath) {
    std::ifstream in(disk.real(bundleMacPath + "/Contents/Info.plist"), std::ios::binary);
    if (!in) return std::nullopt;
    const Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const Value id = parsePlist(bytes)[Value("CFBundleIdentifier")];
    return id.isString() ? std::optional<std::string>(id.string()) : std::nullopt;
}

bool isApplicationName(const std::string& name) {
    return name.size() > 4 && asciiLower(name.substr(name.size() - 4)) == ".app";
}

}  // namespace

std::optional<std::string> findApplication(const Disk& disk, const std::string& bundleIdentifier) {
    if (bundleIdentifier.empty()) return std::nullopt;
    const std::string wanted = asciiLower(bundleIdentifier);
    std::vector<std::string> folders{"/Applications", disk.home() + "/Applications"};
    // Applications also sit one folder down (/Applications/Utilities, a vendor's folder).
    for (size_t i = 0, top = folders.size(); i < top; ++i) {
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(disk.real(folders[i]), ec)) {
            const std::string name = e.path().filename().string();
            if (!isApplicationName(name) && e.is_directory(ec))
                folders.push_back(folders[i] + "/" + name);
        }
    }
    for (const std::string& folder : folders) {
        std::error_code ec;
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(disk.real(folder), ec))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            if (!isApplicationName(name)) continue;
            const std::string path = folder + "/" + name;
            auto id = identifierOf(disk, path);
            if (id && asciiLower(*id) == wanted) return path;
        }
    }
    return std::nullopt;
}

}  // namespace tidra::sim

// Tidra's application bundle on the simulated Mac: a real Tidra.app folder with its Info.plist
// and the resources built from the project's resources/ folder; image lookup by name and the
// localisation lookup (no translations ship, so the English key is the fallback).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/bundle.h"
#include "platform/images.h"
#include "sim/disk.h"

namespace tidra::sim {

inline constexpr const char* kTidraBundleIdentifier = "xq.morv.Tidra";

// Lays out (or refreshes) Tidra.app at `bundleMacPath` from the project's resources folder, with
// the build number `version` (CFBundleVersion) and, unless empty, the marketing version
// `shortVersion` (CFBundleShortVersionString). Answers false when the folder cannot be written.
bool installTidraBundle(const Disk& disk, const std::string& bundleMacPath,
                        const std::string& resourcesDir, const std::string& version,
                        const std::string& shortVersion = "");

class SimBundle : public Bundle {
  public:
    SimBundle(const Disk& disk, std::string bundleMacPath);
    std::string bundlePath() override { return path_; }
    std::optional<Url> URLForImageResource(const std::string& name) override;
    Value objectForInfoDictionaryKey(const std::string& key) override;
    std::string localizedString(const std::string& key, const std::string& value,
                                const std::optional<std::string>& table) override;
    // The real path of a resource file, for the image loader.
    std::optional<std::string> resourceFile(const std::string& name, const std::string& ext) const;

  private:
    const Disk& disk_;
    std::string path_;
    std::map<std::string, std::map<std::string, std::string>> tables_;
    bool tableLoaded(const std::string& table);
};

class SimImages : public Images {
  public:
    explicit SimImages(SimBundle& bundle) : bundle_(bundle) {}
    std::shared_ptr<Image> imageNamed(const std::string& name) override;

  private:
    SimBundle& bundle_;
};

// Parses a .strings table ("key" = "value"; lines, comments allowed). Entries that do not parse
// are skipped.
std::map<std::string, std::string> parseStringsTable(const std::string& text);
// A PNG's pixel size from its header; nothing for anything else.
std::optional<Size> pngPixelSize(const std::string& file);

}  // namespace tidra::sim

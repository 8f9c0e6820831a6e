// Tidra's application bundle on the simulated Mac: a real Tidra.app folder with its Info.plist
// and the resources built from the project's resources/ folder (its <language>.lproj folders
// among them); image lookup by name and the localisation lookup in the language the user
// prefers.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bundle.h"
#include "platform/console.h"
#include "platform/images.h"
#include "sim/disk.h"
#include "sim/strings_table.h"

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
    // `appleLanguages`: the user's preferred languages as the global domain holds them (an
    // array of language names); `chosenLanguages`, when not empty, stands in for them, as a
    // launch argument does. What cannot be used is told once in `console`, when there is one.
    SimBundle(const Disk& disk, std::string bundleMacPath, Console* console = nullptr,
              const Value& appleLanguages = Value(), std::vector<std::string> chosenLanguages = {});
    std::string bundlePath() override { return path_; }
    std::optional<Url> URLForImageResource(const std::string& name) override;
    Value objectForInfoDictionaryKey(const std::string& key) override;
    std::string localizedString(const std::string& key, const std::string& value,
                                const std::optional<std::string>& table) override;
    // The real path of a resource file, for the image loader.
    std::optional<std::string> resourceFile(const std::string& name, const std::string& ext) const;
    // The localisation the texts come from ("de", "zh-Hant"; the development language when the
    // user prefers none the bundle has).
    const std::string& localization() const { return localization_; }
    // The bundle's localisations, as its .lproj folders name them.
    std::vector<std::string> localizations() const;

  private:
    const Disk& disk_;
    std::string path_;
    Console* console_;
    std::string development_;
    std::string localization_;
    std::map<std::string, StringsTable> tables_;
    const StringsTable& table(const std::string& name);
    std::optional<StringsTable> readTable(const std::string& relativePath);
    std::string resourcesPath() const { return path_ + "/Contents/Resources"; }
    void log(const std::string& line) {
        if (console_) console_->log(line);
    }
};

class SimImages : public Images {
  public:
    explicit SimImages(SimBundle& bundle) : bundle_(bundle) {}
    std::shared_ptr<Image> imageNamed(const std::string& name) override;

  private:
    SimBundle& bundle_;
};

// A PNG's pixel size from its header; nothing for anything else.
std::optional<Size> pngPixelSize(const std::string& file);

}  // namespace tidra::sim

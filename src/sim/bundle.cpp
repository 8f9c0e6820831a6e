#include "sim/bundle.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/paths.h"
#include "sim/formats/plist_value.h"
#include "sim/localizations.h"

namespace tidra::sim {

namespace fs = std::filesystem;

bool installTidraBundle(const Disk& disk, const std::string& bundleMacPath,
                        const std::string& resourcesDir, const std::string& version,
                        const std::string& shortVersion) {
    std::error_code ec;
    const std::string contents = bundleMacPath + "/Contents";
    fs::create_directories(disk.real(contents + "/Resources"), ec);
    if (ec) return false;
    Dictionary info{{Value("CFBundleIdentifier"), Value(kTidraBundleIdentifier)},
                    {Value("CFBundleName"), Value("Tidra")},
                    {Value("CFBundleExecutable"), Value("Tidra")},
                    {Value("CFBundleVersion"), Value(version)},
                    {Value("CFBundlePackageType"), Value("APPL")},
                    {Value("LSUIElement"), Value(true)},
                    {Value("NSMainNibFile"), Value("MainMenu")},
                    {Value("NSAppleEventsUsageDescription"),
                     Value("Tidra asks System Events to add or remove its login item, and Finder "
                           "to move an old copy of Tidra to the Trash.")},
                    {Value("CFBundleURLTypes"),
                     Value(Array{Value(Dictionary{
                         {Value("CFBundleURLName"), Value("xq.morv.Tidra")},
                         {Value("CFBundleURLSchemes"), Value(Array{Value("tidra")})}})})}};
    if (!shortVersion.empty()) info[Value("CFBundleShortVersionString")] = Value(shortVersion);
    Array localizations;
    for (const auto& e : fs::directory_iterator(resourcesDir, ec))
        if (e.is_directory() && e.path().extension() == ".lproj")
            localizations.push_back(Value(e.path().stem().string()));
    std::sort(localizations.begin(), localizations.end(),
              [](const Value& a, const Value& b) { return a.string() < b.string(); });
    info[Value("CFBundleDevelopmentRegion")] = Value("en");
    info[Value("CFBundleLocalizations")] = Value(localizations);
    auto bytes = toBinaryPlist(Value(info));
    if (!bytes || disk.writeFile(contents + "/Info.plist",
                                 std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                                  bytes->size())))
        return false;
    if (disk.writeFile(contents + "/MacOS/Tidra", "#!/bin/sh\n# Tidra\n")) return false;
    for (const auto& e : fs::directory_iterator(resourcesDir, ec)) {
        const std::string target =
            disk.real(contents + "/Resources/" + e.path().filename().string());
        if (e.is_directory() && e.path().extension() == ".lproj") {
            fs::create_directories(target, ec);
            if (!ec)
                fs::copy(e.path(), target,
                         fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        } else if (e.is_regular_file()) {
            fs::copy_file(e.path(), target, fs::copy_options::overwrite_existing, ec);
        }
        if (ec) return false;
    }
    return !ec;
}

SimBundle::SimBundle(const Disk& disk, std::string bundleMacPath, Console* console,
                     const Value& appleLanguages, std::vector<std::string> chosenLanguages)
    : disk_(disk), path_(std::move(bundleMacPath)), console_(console) {
    const Value region = objectForInfoDictionaryKey("CFBundleDevelopmentRegion");
    // Only a language name: it becomes part of a path.
    development_ = region.isString() && plausibleLanguage(region.string()) ? region.string() : "en";
    std::vector<std::string> preferred = std::move(chosenLanguages);
    if (preferred.empty()) {
        if (appleLanguages.isArray()) {
            for (const Value& v : appleLanguages.array())
                if (v.isString()) preferred.push_back(v.string());
        } else if (!appleLanguages.isNil()) {
            log("The preferred languages (AppleLanguages in the global domain) are no "
                "list of languages: Tidra shows " +
                development_ + ".");
        }
    }
    const auto available = localizations();
    localization_ = chooseLocalization(preferred, available, development_);
    // A language the bundle says it has, but whose folder is gone.
    const Value listed = objectForInfoDictionaryKey("CFBundleLocalizations");
    if (listed.isArray()) {
        std::vector<std::string> promised;
        for (const Value& v : listed.array())
            if (v.isString() && plausibleLanguage(v.string())) promised.push_back(v.string());
        const std::string wanted = chooseLocalization(preferred, promised, development_);
        if (wanted != localization_ && wanted != development_)
            log(paths::lastPathComponent(path_) + " lists the language " + wanted + " but has no " +
                wanted + ".lproj folder: Tidra shows " + localization_ + ".");
    }
}

std::vector<std::string> SimBundle::localizations() const {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(disk_.real(resourcesPath()), ec))
        if (e.path().extension() == ".lproj" && fs::is_directory(e.path(), ec))
            out.push_back(e.path().stem().string());
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<std::string> SimBundle::resourceFile(const std::string& name,
                                                   const std::string& ext) const {
    if (name.empty() || name.find('/') != std::string::npos) return std::nullopt;
    fs::path file = disk_.real(path_ + "/Contents/Resources/" + name + "." + ext);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return std::nullopt;
    return file.string();
}

std::optional<Url> SimBundle::URLForImageResource(const std::string& name) {
    for (const char* ext : {"png", "tiff", "tif", "jpg", "jpeg", "heic", "gif", "bmp", "pdf"})
        if (resourceFile(name, ext))
            return Url::fileURLWithPath(path_ + "/Contents/Resources/" + name + "." + ext);
    return std::nullopt;
}

Value SimBundle::objectForInfoDictionaryKey(const std::string& key) {
    std::ifstream in(disk_.real(path_ + "/Contents/Info.plist"), std::ios::binary);
    Data bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return parsePlist(bytes)[Value(key)];
}

std::optional<StringsTable> SimBundle::readTable(const std::string& relativePath) {
    const std::string file = disk_.real(resourcesPath() + "/" + relativePath);
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return std::nullopt;
    // A table is a few kilobytes; one that is not is no table.
    constexpr std::uintmax_t kLargestTable = 4 << 20;
    const std::string shown =
        paths::lastPathComponent(path_) + "/Contents/Resources/" + relativePath;
    if (fs::file_size(file, ec) > kLargestTable) {
        log(shown + " is too large to be a strings table: its texts show in " + development_ + ".");
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    auto read = parseStringsTable(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    if (auto* fault = std::get_if<StringsFault>(&read)) {
        log(shown + " is damaged (" + fault->text() + "): its texts show in " + development_ + ".");
        return std::nullopt;
    }
    auto& table = std::get<StringsTable>(read);
    if (table.empty()) {
        log(shown + " holds no texts: they show in " + development_ + ".");
        return std::nullopt;
    }
    return std::move(table);
}

const StringsTable& SimBundle::table(const std::string& name) {
    if (auto it = tables_.find(name); it != tables_.end()) return it->second;
    // The chosen language, then the development language, then a table outside any language
    // folder, as bundles made before their localisation have it.
    std::optional<StringsTable> found;
    std::vector<std::string> languages{localization_};
    if (development_ != localization_) languages.push_back(development_);
    for (const std::string& language : languages) {
        found = readTable(language + ".lproj/" + name + ".strings");
        if (found) break;
    }
    if (!found) found = readTable(name + ".strings");
    return tables_[name] = found ? std::move(*found) : StringsTable{};
}

std::string SimBundle::localizedString(const std::string& key, const std::string& value,
                                       const std::optional<std::string>& table) {
    const StringsTable& t = this->table(table.value_or("Localizable"));
    auto it = t.find(key);
    if (it != t.end()) return it->second;
    return value.empty() ? key : value;
}

namespace {
class SimImage : public Image {
  public:
    SimImage(std::string name, Size size) : name_(std::move(name)), size_(size) {}
    std::string name() const override { return name_; }
    Size size() const override { return size_; }
    void setTemplate(bool t) override { template_ = t; }
    bool isTemplate() const override { return template_; }

  private:
    std::string name_;
    Size size_;
    bool template_ = false;
};
}  // namespace

std::shared_ptr<Image> SimImages::imageNamed(const std::string& name) {
    auto file = bundle_.resourceFile(name, "png");
    if (!file) return nullptr;
    auto size = pngPixelSize(*file);
    if (!size) return nullptr;
    return std::make_shared<SimImage>(name, *size);
}

std::optional<Size> pngPixelSize(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char h[24];
    if (!in.read(reinterpret_cast<char*>(h), sizeof h)) return std::nullopt;
    static const unsigned char sig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (!std::equal(sig, sig + 8, h) || std::string(reinterpret_cast<char*>(h + 12), 4) != "IHDR")
        return std::nullopt;
    auto be = [&](int at) {
        return double((std::uint32_t(h[at]) << 24) | (std::uint32_t(h[at + 1]) << 16) |
                      (std::uint32_t(h[at + 2]) << 8) | h[at + 3]);
    };
    return Size{be(16), be(20)};
}

}  // namespace tidra::sim

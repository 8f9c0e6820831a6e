#include "sim/bundle.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/paths.h"
#include "sim/formats/plist_value.h"

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
                    {Value("CFBundleURLTypes"),
                     Value(Array{Value(Dictionary{
                         {Value("CFBundleURLName"), Value("xq.morv.Tidra")},
                         {Value("CFBundleURLSchemes"), Value(Array{Value("tidra")})}})})}};
    if (!shortVersion.empty()) info[Value("CFBundleShortVersionString")] = Value(shortVersion);
    auto bytes = toBinaryPlist(Value(info));
    if (!bytes || disk.writeFile(contents + "/Info.plist",
                                 std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                                  bytes->size())))
        return false;
    if (disk.writeFile(contents + "/MacOS/Tidra", "#!/bin/sh\n# Tidra\n")) return false;
    for (const auto& e : fs::directory_iterator(resourcesDir, ec)) {
        if (!e.is_regular_file()) continue;
        fs::copy_file(e.path(), disk.real(contents + "/Resources/" + e.path().filename().string()),
                      fs::copy_options::overwrite_existing, ec);
    }
    return !ec;
}

SimBundle::SimBundle(const Disk& disk, std::string bundleMacPath)
    : disk_(disk), path_(std::move(bundleMacPath)) {}

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

bool SimBundle::tableLoaded(const std::string& table) {
    if (tables_.count(table)) return true;
    auto file = resourceFile(table, "strings");
    if (!file) {
        tables_[table] = {};
        return false;
    }
    std::ifstream in(*file, std::ios::binary);
    tables_[table] = parseStringsTable(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    return true;
}

std::string SimBundle::localizedString(const std::string& key, const std::string& value,
                                       const std::optional<std::string>& table) {
    const std::string name = table.value_or("Localizable");
    tableLoaded(name);
    auto& t = tables_[name];
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

std::map<std::string, std::string> parseStringsTable(const std::string& text) {
    std::map<std::string, std::string> out;
    size_t i = 0;
    auto skipSpaceAndComments = [&] {
        for (;;) {
            while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
            if (text.compare(i, 2, "/*") == 0) {
                size_t end = text.find("*/", i + 2);
                i = end == std::string::npos ? text.size() : end + 2;
            } else if (text.compare(i, 2, "//") == 0) {
                size_t end = text.find('\n', i);
                i = end == std::string::npos ? text.size() : end + 1;
            } else {
                return;
            }
        }
    };
    auto quoted = [&](std::string& s) {
        if (i >= text.size() || text[i] != '"') return false;
        ++i;
        s.clear();
        while (i < text.size() && text[i] != '"') {
            char c = text[i++];
            if (c == '\\' && i < text.size()) {
                char e = text[i++];
                c = e == 'n' ? '\n' : e == 't' ? '\t' : e;
            }
            s += c;
        }
        if (i >= text.size()) return false;
        ++i;
        return true;
    };
    while (true) {
        skipSpaceAndComments();
        if (i >= text.size()) break;
        std::string key, value;
        bool ok = quoted(key);
        skipSpaceAndComments();
        ok = ok && i < text.size() && text[i] == '=';
        if (ok) ++i;
        skipSpaceAndComments();
        ok = ok && quoted(value);
        skipSpaceAndComments();
        if (ok && i < text.size() && text[i] == ';') {
            ++i;
            out[key] = value;
            continue;
        }
        // Skip to the end of the broken entry.
        size_t semi = text.find(';', i);
        if (semi == std::string::npos) break;
        i = semi + 1;
    }
    return out;
}

}  // namespace tidra::sim

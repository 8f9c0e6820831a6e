#include "desktop/application_identity.h"

#include "platform/paths.h"
#include "text/ascii.h"

namespace tidra {

namespace {

// Far more than any application's Info.plist; a file past it is no Info.plist.
constexpr size_t kLargestInfoPlist = 4 * 1024 * 1024;

// What Launch Services takes in an identifier: ASCII letters and digits, dots, hyphens (and the
// underscores some older applications carry), at most 255 of them.
bool usableIdentifier(const std::string& id) {
    if (id.size() > 255) return false;
    for (char c : id) {
        const bool letterOrDigit =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!letterOrDigit && c != '.' && c != '-' && c != '_') return false;
    }
    return true;
}

bool isApplicationBundle(const std::string& path) {
    return asciiLower(paths::pathExtension(path)) == "app";
}

}  // namespace

std::string applicationName(const std::string& bundlePath) {
    std::string name = paths::lastPathComponent(bundlePath);
    if (isApplicationBundle(name)) name.resize(name.size() - 4);
    return name;
}

std::variant<ApplicationIdentity, std::string> identifyApplication(FileManager& files,
                                                                   Archiver& propertyLists,
                                                                   const std::string& bundlePath) {
    const std::string shown = "“" + paths::lastPathComponent(bundlePath) + "”";
    if (!isApplicationBundle(bundlePath)) return shown + " is not an application.";
    const auto bytes = files.contentsAtPath(bundlePath + "/Contents/Info.plist");
    if (!bytes) return shown + " has no Info.plist, so Tidra cannot tell which application it is.";
    const Value info =
        bytes->size() > kLargestInfoPlist ? Value() : propertyLists.propertyListWithData(*bytes);
    if (!info.isDictionary())
        return "The Info.plist of " + shown +
               " is damaged, so Tidra cannot tell which application it is.";
    const Value identifier = info[Value("CFBundleIdentifier")];
    if (!identifier.isString() || identifier.string().empty())
        return shown + " has no bundle identifier, so Tidra cannot recognise it when it starts.";
    if (!usableIdentifier(identifier.string()))
        return shown + " has a bundle identifier no application can have.";
    return ApplicationIdentity{identifier.string(), applicationName(bundlePath)};
}

}  // namespace tidra

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

std::variant<ApplicationIdentity, ApplicationRefusal> identifyApplication(
    FileManager& files, Archiver& propertyLists, const std::string& bundlePath) {
    const std::string name = paths::lastPathComponent(bundlePath);
    if (!isApplicationBundle(bundlePath))
        return ApplicationRefusal{"“%@” is not an application.", name};
    const auto bytes = files.contentsAtPath(bundlePath + "/Contents/Info.plist");
    if (!bytes)
        return ApplicationRefusal{
            "“%@” has no Info.plist, so Tidra cannot tell which application it is.", name};
    const Value info =
        bytes->size() > kLargestInfoPlist ? Value() : propertyLists.propertyListWithData(*bytes);
    if (!info.isDictionary())
        return ApplicationRefusal{
            "The Info.plist of “%@” is damaged, so Tidra cannot tell which application it is.",
            name};
    const Value identifier = info[Value("CFBundleIdentifier")];
    if (!identifier.isString() || identifier.string().empty())
        return ApplicationRefusal{
            "“%@” has no bundle identifier, so Tidra cannot recognise it when it starts.", name};
    if (!usableIdentifier(identifier.string()))
        return ApplicationRefusal{"“%@” has a bundle identifier no application can have.", name};
    return ApplicationIdentity{identifier.string(), applicationName(bundlePath)};
}

}  // namespace tidra

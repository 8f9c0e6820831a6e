// URLs as the logic uses them: mostly file URLs, whose path is what gets compared and stored.
#pragma once

#include <optional>
#include <string>

namespace tidra {

class Url {
  public:
    Url() = default;
    // A file URL for an absolute path (fileURLWithPath:). A relative path is taken as is.
    static Url fileURLWithPath(const std::string& path);
    // Parses a URL string (initWithString:): nothing when it does not form a URL.
    static std::optional<Url> fromString(const std::string& text);

    bool isFileURL() const { return scheme_ == "file"; }
    const std::string& scheme() const { return scheme_; }
    // The decoded path; nothing when the URL has none (an opaque URL such as "mailto:x").
    std::optional<std::string> path() const;
    // The URL as text, with the path percent-encoded.
    std::string absoluteString() const;
    std::string lastPathComponent() const;
    Url appendingPathComponent(const std::string& component) const;

    bool operator==(const Url& o) const = default;

  private:
    std::string scheme_;
    std::string host_;  // authority part, empty for file URLs
    std::string path_;  // decoded
    bool hasPath_ = false;
    std::string rest_;  // query and fragment, kept verbatim
};

std::string percentEncodePath(const std::string& path);
// Decodes %XX escapes; nothing when an escape is malformed.
std::optional<std::string> percentDecode(const std::string& text);

}  // namespace tidra

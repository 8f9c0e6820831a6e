// Preferences (NSUserDefaults): the application's store, other applications' domains opened by
// suite name, the global domain, and key-value observation on the standard store.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/object.h"
#include "platform/value.h"

namespace tidra {

class UserDefaults : public Object {
  public:
    // objectForKey: nil when absent.
    virtual Value objectForKey(const std::string& key) = 0;
    // Absent or non-number reads false.
    virtual bool boolForKey(const std::string& key) = 0;
    virtual void setBool(bool value, const std::string& key) = 0;
    // The stored path string (or URL) as a file URL; nothing when absent or of another kind.
    virtual std::optional<Url> URLForKey(const std::string& key) = 0;
    // Stores a file URL as its path, the home directory abbreviated to "~".
    virtual void setURL(const std::optional<Url>& url, const std::string& key) = 0;
    virtual void setObject(const Value& value, const std::string& key) = 0;
    virtual void removeObjectForKey(const std::string& key) = 0;
    // Writes the domain to disk; the platform's answer, which callers may ignore.
    virtual bool synchronize() = 0;
    // A whole persistent domain by name (NSGlobalDomain among them): a dictionary or nil.
    virtual Value persistentDomainForName(const std::string& domain) = 0;

    // Key-value observation (the standard store only). Every write of `keyPath`, through any
    // path, reaches `observer` with the new value under "new" (the null object for a removal).
    virtual void addObserver(Object* observer, const std::string& keyPath, unsigned options,
                             void* context) = 0;
    virtual void removeObserver(Object* observer, const std::string& keyPath, void* context) = 0;
};

inline constexpr const char* kGlobalDomain = "NSGlobalDomain";

class Preferences {
  public:
    virtual ~Preferences() = default;
    virtual UserDefaults& standardUserDefaults() = 0;
    // initWithSuiteName: a fresh object for another domain, or nothing when it cannot be made.
    virtual std::shared_ptr<UserDefaults> suite(const std::string& name) = 0;
};

// NSKeyedArchiver / NSKeyedUnarchiver for the values the logic archives, and the plain
// property-list reader.
class Archiver {
  public:
    virtual ~Archiver() = default;
    virtual Data archivedDataWithRootObject(const Value& root) = 0;
    // Nothing (nil) for anything that is not a well-formed archive.
    virtual Value unarchiveObjectWithData(const Data& data) = 0;
    // NSPropertyListSerialization propertyListWithData:options:format:error: with no options:
    // the value held by XML or binary property-list bytes, nil for anything else.
    virtual Value propertyListWithData(const Data& data) = 0;
};

}  // namespace tidra

// The main bundle (NSBundle) and its localisation lookup.
#import <AppKit/AppKit.h>

#include "mac/services.h"
#include "mac/value_bridge.h"

namespace tidra::mac {
namespace {

class MacBundle final : public Bundle {
  public:
    std::string bundlePath() override { return fromNSString([main() bundlePath]); }
    std::optional<Url> URLForImageResource(const std::string& name) override {
        return fromNSURL([main() URLForImageResource:toNSString(name)]);
    }
    Value objectForInfoDictionaryKey(const std::string& key) override {
        return fromFoundation([main() objectForInfoDictionaryKey:toNSString(key)]);
    }
    std::string localizedString(const std::string& key, const std::string& value,
                                const std::optional<std::string>& table) override {
        return fromNSString([main()
            localizedStringForKey:toNSString(key)
                            value:(value.empty() ? nil : toNSString(value))table
                                 :(table ? toNSString(*table) : nil)]);
    }

  private:
    static NSBundle* main() { return [NSBundle mainBundle]; }
};

}  // namespace

std::unique_ptr<Bundle> makeMainBundle() {
    return std::make_unique<MacBundle>();
}

}  // namespace tidra::mac

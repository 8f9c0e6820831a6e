// The main bundle (NSBundle) and the localisation lookup.
#pragma once

#include <optional>
#include <string>

#include "platform/url.h"
#include "platform/value.h"

namespace tidra {

class Bundle {
  public:
    virtual ~Bundle() = default;
    virtual std::string bundlePath() = 0;
    virtual std::optional<Url> URLForImageResource(const std::string& name) = 0;
    virtual Value objectForInfoDictionaryKey(const std::string& key) = 0;
    // localizedStringForKey:value:table: (no table: the default one). Without a translation the
    // value is answered when it is not empty, else the key.
    virtual std::string localizedString(const std::string& key, const std::string& value,
                                        const std::optional<std::string>& table) = 0;
};

// NSLocalizedString: the comment is for translators only.
inline std::string localizedString(Bundle& bundle, const std::string& key,
                                   const std::string& /*comment*/) {
    return bundle.localizedString(key, "", std::nullopt);
}

}  // namespace tidra

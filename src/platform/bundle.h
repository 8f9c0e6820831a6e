// The main bundle (NSBundle) and the localisation lookup.
#pragma once

#include <optional>
#include <string>

#include "platform/url.h"
#include "platform/value.h"
#include "text/format.h"

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

// Two sentences, one after the other, as the user's language joins them (with a space, or none
// in Japanese and Chinese). An empty sentence leaves the other alone.
inline std::string sentences(Bundle& bundle, const std::string& first, const std::string& second) {
    if (first.empty()) return second;
    if (second.empty()) return first;
    return formatText(localizedString(bundle, "%1$@ %2$@",
                                      "Two sentences shown one after the other. In a language "
                                      "that writes no space between sentences, leave the space "
                                      "out."),
                      {first, second});
}

}  // namespace tidra

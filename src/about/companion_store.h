// Where the About window's link leads.
#pragma once

namespace tidra {

// PLACEHOLDER: the store page of Brimle, the companion application. Replace this address with
// the real store link before a release; nothing else refers to the page.
inline constexpr const char* kBrimleStoreAddressPlaceholder =
    "macappstore://apps.apple.com/app/brimle/id0000000000";

}  // namespace tidra

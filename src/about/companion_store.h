// Where the About window's link leads, and where feedback goes.
#pragma once

namespace tidra {

// PLACEHOLDER: the store page of Brimle, the companion application. Replace this address with
// the real store link before a release; nothing else refers to the page.
inline constexpr const char* kBrimleStoreAddressPlaceholder =
    "macappstore://apps.apple.com/app/brimle/id0000000000";

// PLACEHOLDER: the project's feedback address, which "Send Feedback…" opens on a Mac, where the
// vendor framework's own feedback dialog is not available. Replace it before a release.
inline constexpr const char* kFeedbackAddressPlaceholder =
    "mailto:feedback@tidra.invalid?subject=Tidra%20feedback";

}  // namespace tidra

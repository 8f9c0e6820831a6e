// The texts of the move offer: keys of the strings table "MoveApplication", in English.
#pragma once

namespace tidra::install {

inline constexpr const char* kStringsTable = "MoveApplication";

inline constexpr const char* kOfferTitle = "Move to Applications folder?";
inline constexpr const char* kOfferText =
    "I can move myself to the Applications folder if you'd like.";
inline constexpr const char* kOfferPasswordNote =
    "Note that this will require an administrator password.";
inline constexpr const char* kOfferDownloadsNote =
    "This will keep your Downloads folder uncluttered.";
inline constexpr const char* kMoveButton = "Move to Applications Folder";
inline constexpr const char* kDoNotMoveButton = "Do Not Move";
inline constexpr const char* kDoNotAskAgain = "Do not show this message again";
inline constexpr const char* kFailureTitle = "Could not move to Applications folder";

}  // namespace tidra::install

// Which of a bundle's localisations the user gets, as the platform chooses it from the user's
// preferred languages (AppleLanguages): the first preferred language the bundle has, by its exact
// name, then by script (zh-Hant-TW: zh-Hant), then by language (de-AT: de), then another region of
// the same language (pt-PT: pt-BR); the development language when none of them is there.
#pragma once

#include <string>
#include <vector>

namespace tidra::sim {

// `available`: the bundle's localisations as its folders name them ("de", "pt-BR", "zh-Hans").
std::string chooseLocalization(const std::vector<std::string>& preferred,
                               const std::vector<std::string>& available,
                               const std::string& developmentLanguage);

// A language as the user's preferences may write it ("de_DE", "German", "zh-TW") in the form of
// a language tag ("de-DE", "de", "zh-Hant-TW").
std::string canonicalLanguage(const std::string& language);

// Whether `language` has the shape of a language name (letters, digits, "-" and "_"; a letter
// first; at most 35 characters), as a launch argument must.
bool plausibleLanguage(const std::string& language);

}  // namespace tidra::sim

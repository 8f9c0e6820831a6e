#include "sim/localizations.h"

#include <algorithm>
#include <map>

#include "text/ascii.h"

namespace tidra::sim {

namespace {

std::vector<std::string> parts(const std::string& tag) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t dash = tag.find('-', start);
        out.push_back(tag.substr(start, dash - start));
        if (dash == std::string::npos) return out;
        start = dash + 1;
    }
}

bool isScript(const std::string& part) {
    return part.size() == 4;
}

// Chinese is written in one of two scripts; a region alone says which.
std::string chineseScript(const std::vector<std::string>& p) {
    for (size_t i = 1; i < p.size(); ++i)
        if (isScript(p[i])) return p[i];
    for (size_t i = 1; i < p.size(); ++i)
        if (p[i] == "TW" || p[i] == "HK" || p[i] == "MO") return "Hant";
    return "Hans";
}

bool sameName(const std::string& a, const std::string& b) {
    return asciiLower(canonicalLanguage(a)) == asciiLower(canonicalLanguage(b));
}

}  // namespace

std::string canonicalLanguage(const std::string& language) {
    // The names older systems stored, as folders like English.lproj still carry them.
    static const std::map<std::string, std::string> kOldNames{
        {"english", "en"},  {"german", "de"}, {"french", "fr"},    {"spanish", "es"},
        {"italian", "it"},  {"dutch", "nl"},  {"swedish", "sv"},   {"russian", "ru"},
        {"japanese", "ja"}, {"korean", "ko"}, {"portuguese", "pt"}};
    std::string tag = language;
    std::replace(tag.begin(), tag.end(), '_', '-');
    if (auto it = kOldNames.find(asciiLower(tag)); it != kOldNames.end()) return it->second;
    auto p = parts(tag);
    if (p.empty() || p[0].empty()) return tag;
    p[0] = asciiLower(p[0]);
    for (size_t i = 1; i < p.size(); ++i) {
        if (isScript(p[i])) {
            p[i] = asciiLower(p[i]);
            if (!p[i].empty()) p[i][0] = static_cast<char>(p[i][0] - 'a' + 'A');
        } else if (p[i].size() == 2) {
            for (char& c : p[i]) c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        }
    }
    if (p[0] == "zh") {
        const std::string script = chineseScript(p);
        std::vector<std::string> withScript{"zh", script};
        for (size_t i = 1; i < p.size(); ++i)
            if (!isScript(p[i])) withScript.push_back(p[i]);
        p = withScript;
    }
    std::string out = p[0];
    for (size_t i = 1; i < p.size(); ++i) out += "-" + p[i];
    return out;
}

std::string chooseLocalization(const std::vector<std::string>& preferred,
                               const std::vector<std::string>& available,
                               const std::string& developmentLanguage) {
    auto find = [&](const std::string& wanted) -> const std::string* {
        for (const auto& a : available)
            if (sameName(a, wanted)) return &a;
        return nullptr;
    };
    for (const auto& language : preferred) {
        const std::string tag = canonicalLanguage(language);
        const auto p = parts(tag);
        if (p.empty() || p[0].empty()) continue;
        if (auto* hit = find(tag)) return *hit;
        // zh-Hant-TW: zh-Hant; de-AT: de.
        if (p.size() > 1 && isScript(p[1]))
            if (auto* hit = find(p[0] + "-" + p[1])) return *hit;
        if (p[0] != "zh")
            if (auto* hit = find(p[0])) return *hit;
        // Another region of the same language (pt-PT: pt-BR); Chinese only in its own script.
        for (const auto& a : available) {
            const auto ap = parts(canonicalLanguage(a));
            if (ap[0] != p[0]) continue;
            if (p[0] == "zh" && (ap.size() < 2 || p.size() < 2 || ap[1] != p[1])) continue;
            return a;
        }
    }
    if (auto* hit = find(developmentLanguage)) return *hit;
    return developmentLanguage;
}

bool plausibleLanguage(const std::string& language) {
    if (language.empty() || language.size() > 35) return false;
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!letter(language[0])) return false;
    return std::all_of(language.begin(), language.end(), [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_';
    });
}

}  // namespace tidra::sim

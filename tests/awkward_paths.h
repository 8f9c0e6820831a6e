// Names a user's folders and applications may carry, each a trap for some kind of quoting: quotes
// of both kinds, backslashes, blanks and line breaks, what a shell or AppleScript would take for
// syntax, and text beyond ASCII. Every path Tidra puts into a shell line, a script or a login item
// is tried with them.
#pragma once

#include <string>
#include <vector>

namespace tidra::testing {

// Each one component of a path: never empty, no '/', no NUL, none two that differ only in case
// (the simulated disk, like a Mac's, does not tell those apart).
inline const std::vector<std::string> kAwkwardNames = {
    "My Apps",
    "Apps \"new\"",
    "O'Brien's Tools",
    "''",
    "'",
    "a'\\''b",
    "back\\slash\\\"",
    "\\\\\"\"\\",
    "line one\nline two",
    "trailing newline\n",
    "tab\there",
    "zoë Téléchargements Программы 日本語 アプリ 東京 ☃ 😀",
    "$(echo injected)",
    "`id`; echo gone && echo twice",
    "\"double\" \\backslash\\ $HOME *.app ?x [ab] {a,b} ~",
    "-n",
    "x\", hidden:true, name:\"Evil",
    "x\" \ntell application \"Finder\" to delete every item of home\n\"",
    "it's -- (* not a comment *) tell application \"Finder\"",
};

// Tidra's bundle inside a folder of each awkward name, below `parent`.
inline std::vector<std::string> awkwardBundlePaths(const std::string& parent) {
    std::vector<std::string> paths;
    for (const auto& name : kAwkwardNames) paths.push_back(parent + "/" + name + "/Tidra.app");
    return paths;
}

}  // namespace tidra::testing

// shellQuote against a real /bin/sh, and the relaunch line's words as the simulated shell reads
// them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "awkward_paths.h"
#include "install/shell_quote.h"
#include "sim/formats/shell_words.h"

namespace tidra {
namespace {

// What a real shell makes of `word` when it stands as printf's only argument: one bracketed
// string per word it splits into.
std::string throughRealShell(const std::string& word) {
    const std::string script = "printf '[%s]' " + word;
    const std::string command = "/bin/sh -c " + shellQuote(script);
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return "<popen failed>";
    std::string out;
    std::array<char, 256> buffer;
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

// Every awkward name as a word of its own and as a folder on the way to the bundle, with the
// plainest path and the empty word.
std::vector<std::string> words() {
    std::vector<std::string> out = testing::kAwkwardNames;
    for (const auto& path : testing::awkwardBundlePaths("/Volumes")) out.push_back(path);
    out.push_back("/Applications/Tidra.app");
    out.push_back("");
    return out;
}

TEST(ShellQuote, EveryPathReachesARealShellAsOneUnchangedWord) {
    for (const std::string& path : words()) {
        const std::string quoted = shellQuote(path);
        EXPECT_EQ(throughRealShell(quoted), "[" + path + "]") << quoted;
    }
}

TEST(ShellQuote, TheSimulatedShellReadsTheSameWordBack) {
    for (const std::string& path : words()) {
        const std::string line = shellQuote(path) + "/ | next";
        size_t pos = 0;
        auto word = sim::readShellWord(line, pos);
        ASSERT_TRUE(word) << line;
        EXPECT_EQ(*word, path + "/");
        EXPECT_EQ(line.substr(pos), " | next");
    }
    // What a real shell would expand is refused rather than guessed.
    for (const char* unsafe : {"$HOME/x", "`id`", "*.app", "'open"}) {
        size_t pos = 0;
        EXPECT_FALSE(sim::readShellWord(unsafe, pos)) << unsafe;
    }
}

}  // namespace
}  // namespace tidra

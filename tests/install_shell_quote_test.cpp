// shellQuote against a real /bin/sh, and the relaunch line's words as the simulated shell reads
// them.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

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

const char* const kPaths[] = {
    "/Applications/Tidra.app",
    "/Users/me/Downloads/My Apps/Tidra.app",
    "/Volumes/O'Brien's Tools/Tidra.app",
    "''",
    "'",
    "a'\\''b",
    "/tmp/line one\nline two/Tidra.app",
    "/tmp/trailing newline\n",
    "/Users/zoë/Téléchargements/日本語 アプリ/Tidra.app",
    "$(touch /tmp/tidra-should-not-exist)",
    "`id`; rm -rf ~ && echo gone",
    "\"double\" \\backslash\\ $HOME *.app ?x [ab] {a,b} ~",
    "-n",
    "tab\there",
    "",
};

TEST(ShellQuote, EveryPathReachesARealShellAsOneUnchangedWord) {
    for (const char* path : kPaths) {
        const std::string quoted = shellQuote(path);
        EXPECT_EQ(throughRealShell(quoted), "[" + std::string(path) + "]") << quoted;
    }
}

TEST(ShellQuote, TheSimulatedShellReadsTheSameWordBack) {
    for (const char* path : kPaths) {
        const std::string line = shellQuote(path) + "/ | next";
        size_t pos = 0;
        auto word = sim::readShellWord(line, pos);
        ASSERT_TRUE(word) << line;
        EXPECT_EQ(*word, std::string(path) + "/");
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

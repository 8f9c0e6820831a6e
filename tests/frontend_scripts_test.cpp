// Scripts read by the front end: the first rejected line ends the run whatever waits for an
// answer, messages name the script's own lines, a line without end is refused, and values a
// preference cannot hold are refused rather than bent.
#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>

#include "install_rig.h"
#include "sim_world.h"

namespace tidra::testing {
namespace {

TEST(FrontendScripts, ARejectedLineWhileALaunchAlertWaitsEndsTheRunThere) {
    InstallRig rig("downloads");
    std::string out = rig.launch("alert Move Later\ndefaults write com.example ran -bool true\n");
    EXPECT_EQ(rig.lastStatus(), 2) << out;
    EXPECT_NE(out.find("line 1: alert: no button \"Move Later\""), std::string::npos) << out;
    // Nothing after the rejected line ran.
    EXPECT_EQ(out.find("> defaults write"), std::string::npos) << out;
    EXPECT_TRUE(rig.mac().prefs().domainSnapshot("com.example")[Value("ran")].isNil());
}

TEST(FrontendScripts, MessagesNameTheScriptsOwnLineAfterALaunchAlert) {
    InstallRig rig("downloads");
    std::string out = rig.launch("alert Do Not Move\nstatus\nwait nothing\nstatus\n");
    EXPECT_EQ(rig.lastStatus(), 2) << out;
    EXPECT_NE(out.find("line 3: wait: "), std::string::npos) << out;
    EXPECT_EQ(out.find("line 2: wait"), std::string::npos) << out;

    // A later script counts from its own first line.
    out = rig.run("status\nbogus\n");
    EXPECT_EQ(rig.lastStatus(), 2);
    EXPECT_NE(out.find("line 2: bogus: unknown command"), std::string::npos) << out;
}

// Endless bytes without a line end, as /dev/zero gives; counts what was read.
class EndlessBytes : public std::streambuf {
  public:
    explicit EndlessBytes(char c) { std::fill(std::begin(chunk_), std::end(chunk_), c); }
    size_t taken() const { return taken_; }

  protected:
    int_type underflow() override {
        // Beyond 64 MiB a reader that does not stop has failed already.
        if (taken_ >= (64u << 20)) return traits_type::eof();
        setg(chunk_, chunk_, chunk_ + sizeof chunk_);
        taken_ += sizeof chunk_;
        return traits_type::to_int_type(chunk_[0]);
    }

  private:
    char chunk_[1 << 16];
    size_t taken_ = 0;
};

TEST(FrontendScripts, ALineWithoutEndIsRefusedOnceItPassesTheLimit) {
    SimWorld world;
    EndlessBytes zeros('\0');
    std::istream in(&zeros);
    EXPECT_EQ(world.frontend().runScript(in), 2);
    // Reading stopped just past the limit, not at the end of the input.
    EXPECT_LT(zeros.taken(), sim::kMaxCommandLineBytes + (1u << 17));
}

TEST(FrontendScripts, DefaultsWriteIntRefusesWhatNoIntegerHolds) {
    SimWorld world;
    for (const char* bad : {"1e23", "100000000000000000000000", "-9223372036854775809", "12abc", "",
                            "+", " 5", "0x10", "1.5"}) {
        std::string out =
            world.run(std::string("defaults write xq.morv.Tidra big -int '") + bad + "'\n");
        EXPECT_EQ(world.lastStatus(), 2) << bad << ": " << out;
        EXPECT_NE(out.find("-int takes a whole number"), std::string::npos) << out;
        EXPECT_TRUE(world.mac().prefs().domainSnapshot("xq.morv.Tidra")[Value("big")].isNil())
            << bad;
    }
    std::string out = world.run(
        "defaults write xq.morv.Tidra big -int 9223372036854775807\n"
        "defaults write xq.morv.Tidra small -int -9223372036854775808\n"
        "defaults write xq.morv.Tidra plain -int +42\n");
    ASSERT_EQ(world.lastStatus(), 0) << out;
    Value domain = world.mac().prefs().domainSnapshot("xq.morv.Tidra");
    EXPECT_EQ(domain[Value("big")].intValue(), INT64_MAX);
    EXPECT_EQ(domain[Value("small")].intValue(), INT64_MIN);
    EXPECT_EQ(domain[Value("plain")].intValue(), 42);
}

}  // namespace
}  // namespace tidra::testing

// A native task's output read to the end and its exit status, under GNUstep.
#include <gtest/gtest.h>

#include "mac/task.h"

namespace tidra::mac {
namespace {

TEST(MacTask, ReadsOutputLargerThanAPipeAndTheExitStatus) {
    @autoreleasepool {
        // Four times what a pipe holds: a reader that stopped early would lose the rest, and
        // waiting before reading would never end.
        auto task = makeTask("/bin/sh", {"-c", "head -c 262144 /dev/zero | tr '\\0' x; exit 3"});
        task->setStandardOutputPipe(true);
        ASSERT_TRUE(task->launch());
        const Data out = task->readDataToEndOfFile();
        task->waitUntilExit();
        EXPECT_EQ(out.size(), 262144u);
        EXPECT_EQ(out.front(), 'x');
        EXPECT_EQ(out.back(), 'x');
        EXPECT_EQ(task->terminationStatus(), 3);

        auto quiet = makeTask("/bin/sh", {"-c", "echo discarded"});
        ASSERT_TRUE(quiet->launch());
        EXPECT_TRUE(quiet->readDataToEndOfFile().empty());
        quiet->waitUntilExit();
        EXPECT_EQ(quiet->terminationStatus(), 0);

        auto missing = makeTask("/nonexistent/tool", {});
        missing->setStandardOutputPipe(true);
        EXPECT_FALSE(missing->launch());
        EXPECT_TRUE(missing->readDataToEndOfFile().empty());
        missing->waitUntilExit();
        EXPECT_EQ(missing->terminationStatus(), -1);
    }
}

}  // namespace
}  // namespace tidra::mac

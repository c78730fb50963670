// The child runner must not let a crash, a hang or a sanitizer report pass
// for an ordinary end, or the hostile tests would prove nothing.
#include "child_process.h"

#include <gtest/gtest.h>

namespace {

const std::string shell = "/bin/sh";

class ChildRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = makeScratchDirectory();
        ASSERT_FALSE(dir.empty());
    }
    void TearDown() override { removeTree(dir); }
    // Runs a shell script in the scratch directory.
    ChildOutcome sh(const std::string& script, double limit = 10.0) const
    {
        return runChild(shell, {"-c", script}, dir, limit);
    }
    std::string dir;
};

}  // namespace

TEST_F(ChildRunner, CleanExitKeepsStatusAndOutput)
{
    const ChildOutcome o = sh("pwd; echo oops >&2; exit 3");
    EXPECT_TRUE(o.endedCleanly()) << o.describe();
    EXPECT_EQ(o.status, 3);
    EXPECT_EQ(o.out, dir + "\n");
    EXPECT_EQ(o.err, "oops\n");
}

TEST_F(ChildRunner, CrashHangAndSanitizerReportAreNotClean)
{
    const ChildOutcome crashed = sh("kill -ABRT $$");
    EXPECT_FALSE(crashed.endedCleanly());
    EXPECT_EQ(crashed.signal, SIGABRT);

    const ChildOutcome hung = sh("sleep 30", 0.3);
    EXPECT_FALSE(hung.endedCleanly());
    EXPECT_TRUE(hung.timedOut);

    const ChildOutcome reported =
        sh("echo '==1==ERROR: AddressSanitizer: heap-buffer-overflow' >&2; exit 1");
    EXPECT_FALSE(reported.endedCleanly());
    const ChildOutcome ub = sh("echo 'x.cpp:3:5: runtime error: signed integer overflow' >&2");
    EXPECT_FALSE(ub.endedCleanly());
}

// Sanitizer reports end the child with abort(), which a test sees as a
// signal, whatever options the caller's environment already had.
TEST_F(ChildRunner, SanitizersAreToldToAbort)
{
    const ChildOutcome o = runChild("/usr/bin/env", {}, dir, 10.0);
    ASSERT_TRUE(o.endedCleanly());
    EXPECT_NE(o.out.find("\nASAN_OPTIONS="), std::string::npos);
    const std::size_t asan = o.out.find("ASAN_OPTIONS=");
    const std::string asanLine = o.out.substr(asan, o.out.find('\n', asan) - asan);
    EXPECT_NE(asanLine.find("abort_on_error=1"), std::string::npos) << asanLine;
    const std::size_t ubsan = o.out.find("UBSAN_OPTIONS=");
    ASSERT_NE(ubsan, std::string::npos);
    const std::string ubsanLine = o.out.substr(ubsan, o.out.find('\n', ubsan) - ubsan);
    EXPECT_NE(ubsanLine.find("halt_on_error=1"), std::string::npos) << ubsanLine;
    EXPECT_NE(ubsanLine.find("abort_on_error=1"), std::string::npos) << ubsanLine;
}

TEST(LineCount, CountsAnUnterminatedLastLine)
{
    EXPECT_EQ(countLines(""), 0);
    EXPECT_EQ(countLines("a"), 1);
    EXPECT_EQ(countLines("a\n"), 1);
    EXPECT_EQ(countLines("a\nb"), 2);
}

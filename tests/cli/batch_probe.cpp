// Running kelvo-batch for the hostile-input tests.
#include "batch_probe.h"

#include <algorithm>
#include <cctype>

namespace hostile {

namespace {

const std::string batchExe = KELVO_BATCH_EXE;
const std::string gridsDir = KELVO_GRIDS_DIR;

// Every line of a refusal or failure starts with the program's name.
const std::string linePrefix = "kelvo-batch: ";

}  // namespace

std::vector<std::string> hostileValues()
{
    return {"", "abc", "0", "-1", "1e308", "inf", "nan", "0x10", std::string(10000, '7')};
}

std::string smallGrid() { return gridsDir + "/cavity.grid"; }

void BatchProbe::SetUp()
{
    scratch = makeScratchDirectory();
    ASSERT_FALSE(scratch.empty());
}

void BatchProbe::TearDown() { removeTree(scratch); }

ChildOutcome BatchProbe::run(const std::vector<std::string>& args) const
{
    return runChild(batchExe, args, scratch, runLimitSeconds);
}

// Usage entries look like "--steps N" or "--ppm [DIR]": a name, a blank or
// '=', then a placeholder in capitals, perhaps in brackets. The first
// mention of each name is enough.
std::vector<std::string> BatchProbe::valueOptions() const
{
    const ChildOutcome help = run({"--help"});
    EXPECT_TRUE(help.endedCleanly() && help.status == exitOk) << help.describe();
    const std::string& u = help.out;
    const auto nameChar = [&u](std::size_t k) {
        return k < u.size() && (std::islower(static_cast<unsigned char>(u[k])) ||
                                std::isdigit(static_cast<unsigned char>(u[k])) || u[k] == '-');
    };
    std::vector<std::string> names;
    for (std::size_t at = u.find("--"); at != std::string::npos; at = u.find("--", at + 2)) {
        std::size_t end = at + 2;
        while (nameChar(end))
            ++end;
        std::size_t p = end + 1;
        if (end == at + 2 || end >= u.size() || (u[end] != ' ' && u[end] != '='))
            continue;
        if (p < u.size() && u[p] == '[')
            ++p;
        const std::string name = u.substr(at, end - at);
        if (p < u.size() && std::isupper(static_cast<unsigned char>(u[p])) &&
            std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    return names;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

void expectRefusal(const ChildOutcome& o, int status, const std::string& mention,
                   const std::string& what)
{
    ASSERT_TRUE(o.endedCleanly()) << what << ": " << o.describe();
    EXPECT_EQ(o.status, status) << what << ": " << o.describe();
    EXPECT_TRUE(o.out.empty()) << what << ": stdout " << o.out.substr(0, 200);
    const std::vector<std::string> lines = linesOf(o.err);
    ASSERT_EQ(lines.size(), 1u) << what << ": " << o.err.substr(0, 400);
    EXPECT_EQ(lines[0].rfind(linePrefix, 0), 0u) << what << ": " << lines[0].substr(0, 200);
    EXPECT_LE(lines[0].size(), longestClearLine) << what << ": " << lines[0].substr(0, 300);
    EXPECT_NE(lines[0].find(mention), std::string::npos) << what << ": " << lines[0].substr(0, 200);
}

void expectRan(const ChildOutcome& o, const std::string& what)
{
    EXPECT_TRUE(o.endedCleanly()) << what << ": " << o.describe();
    EXPECT_EQ(o.status, exitOk) << what << ": " << o.describe();
}

void expectBlewUp(const ChildOutcome& o, const std::string& what)
{
    ASSERT_TRUE(o.endedCleanly()) << what << ": " << o.describe();
    EXPECT_EQ(o.status, exitUnstable) << what << ": " << o.describe();
    const std::vector<std::string> lines = linesOf(o.err);
    ASSERT_FALSE(lines.empty()) << what << ": blew up without a word";
    EXPECT_EQ(lines.back().rfind("kelvo-batch: The flow became unstable at cycle ", 0), 0u)
        << what << ": " << lines.back().substr(0, 200);
}

void expectHonestEnd(const ChildOutcome& o, const std::string& what)
{
    ASSERT_TRUE(o.endedCleanly()) << what << ": " << o.describe();
    if (o.status == exitOk)
        return;
    if (o.status == exitUsage) {
        expectRefusal(o, exitUsage, linePrefix, what);
        return;
    }
    if (o.status == exitUnstable) {
        expectBlewUp(o, what);
        return;
    }
    ASSERT_EQ(o.status, exitRunFailed) << what << ": " << o.describe();
    const std::vector<std::string> lines = linesOf(o.err);
    ASSERT_FALSE(lines.empty()) << what << ": failed without a word";
    EXPECT_EQ(lines.back().rfind(linePrefix, 0), 0u) << what << ": " << lines.back().substr(0, 200);
}

}  // namespace hostile

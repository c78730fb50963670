// Bad text for kelvo-batch's options: every value is either used or refused
// with one clear line and a non-zero status; nothing crashes or hangs.
#include "batch_probe.h"

#include <algorithm>
#include <fstream>
#include <iterator>

using namespace hostile;

namespace {

// What an option must do with one of the hostile values.
enum class Want {
    Refuse,  // one-line usage refusal, status 2
    Run,     // runs, status 0
    Blowup,  // blows up and says so with status 3, or is refused
    Honest,  // runs, blows up saying so, or is refused
};

// Wants for the values of hostileValues(), in their order:
// "", "abc", "0", "-1", "1e308", "inf", "nan", "0x10", 10,000 digits.
struct OptionCase {
    const char* name;
    std::vector<Want> wants;
};

const Want R = Want::Refuse, G = Want::Run, B = Want::Blowup, H = Want::Honest;

const OptionCase numberOptions[] = {
    {"--steps", {R, R, G, R, R, R, R, R, R}},
    // Numbers may be written in hexadecimal, as strtod reads them ("0x10" is
    // 16); a Reynolds number beyond a float's range (1e308) is refused.
    {"--re", {R, R, R, R, R, R, R, G, R}},
    {"--dt", {R, R, R, R, B, R, R, G, R}},
    // The starting field is projected: most of a uniform 1e308 in the closed
    // cavity goes before the first step, so the run may well hold.
    {"--default-u", {R, R, G, G, H, R, R, G, R}},
    {"--default-v", {R, R, G, G, H, R, R, G, R}},
};

// A short label for failure messages.
std::string label(const std::string& option, const std::string& value)
{
    return option + " '" + (value.size() > 20 ? value.substr(0, 20) + "..." : value) + "'";
}

// The whole content of a file.
std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Checks one run against what its option must do with the value.
void expectWant(const ChildOutcome& o, Want want, const std::string& option,
                const std::string& what)
{
    switch (want) {
    case Want::Refuse:
        expectRefusal(o, exitUsage, option, what);
        break;
    case Want::Run:
        expectRan(o, what);
        break;
    case Want::Honest:
        expectHonestEnd(o, what);
        break;
    case Want::Blowup:
        if (o.status != exitUsage) {
            expectBlewUp(o, what);
        } else {
            expectRefusal(o, exitUsage, option, what);
        }
        break;
    }
}

}  // namespace

class HostileValues : public BatchProbe {};

TEST_F(HostileValues, NumberOptionsUseOrRefuseEachValue)
{
    const std::vector<std::string> values = hostileValues();
    for (const OptionCase& c : numberOptions) {
        ASSERT_EQ(c.wants.size(), values.size()) << c.name;
        for (std::size_t k = 0; k < values.size(); ++k) {
            const ChildOutcome o = run({smallGrid(), "--steps", "0", c.name, values[k]});
            expectWant(o, c.wants[k], c.name, label(c.name, values[k]));
        }
    }
}

TEST_F(HostileValues, DumpFileNamesAreTakenAsTheyCome)
{
    const std::vector<std::string> values = hostileValues();
    expectRefusal(run({smallGrid(), "--steps", "0", "--dump-csv", ""}), exitUsage, "--dump-csv",
                  "empty dump name");
    for (const char* name : {"abc", "0", "-1", "1e308", "inf", "nan", "0x10"}) {
        const ChildOutcome o = run({smallGrid(), "--steps", "0", "--dump-csv", name});
        expectRan(o, label("--dump-csv", name));
        // Header and one line per cell of the 20 x 20 grid.
        EXPECT_EQ(countLines(readText(scratch + "/" + name)), 20 * 20 + 1) << name;
    }

    const ChildOutcome o = run({smallGrid(), "--steps", "0", "--dump-csv", values.back()});
    ASSERT_TRUE(o.endedCleanly()) << o.describe();
    EXPECT_EQ(o.status, exitRunFailed) << o.describe();
    const std::vector<std::string> lines = linesOf(o.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("kelvo-batch: cannot write the dump", 0), 0u)
        << lines.back().substr(0, 200);
}

// A value with a line break or a huge value must still give one short line.
TEST_F(HostileValues, RefusalsStayOneShortLine)
{
    const std::string grid = smallGrid();
    expectRefusal(run({grid, "--steps", "1\n2"}), exitUsage, "--steps", "steps with a line feed");
    expectRefusal(run({grid, "--dt", "0.1\r\n"}), exitUsage, "--dt", "dt with CR LF");
    expectRefusal(run({grid, "--re", std::string(10000, 'x')}), exitUsage, "--re", "long re");
    expectRefusal(run({grid, "--bogus\nsecond line"}), exitUsage, "unknown option",
                  "unknown option with a line feed");
    expectRefusal(run({grid, "--" + std::string(10000, 'z')}), exitUsage, "unknown option",
                  "long unknown option");
    expectRefusal(run({grid, std::string(5000, 'g') + "\nx"}), exitUsage, "only one grid file",
                  "second grid file with a line feed");
}

// Options added later are covered too: whatever the usage text lists with a
// value gets every hostile value, and a missing value at the end.
TEST_F(HostileValues, EveryValueOptionInTheUsageEndsHonestly)
{
    const std::vector<std::string> options = valueOptions();
    for (const char* known : {"--steps", "--re", "--dt", "--default-u", "--default-v", "--dump-csv"})
        EXPECT_NE(std::find(options.begin(), options.end(), known), options.end())
            << known << " is missing from the usage text";
    for (const std::string& option : options) {
        for (const std::string& value : hostileValues())
            expectHonestEnd(run({smallGrid(), "--steps", "0", option, value}),
                            label(option, value));
        expectHonestEnd(run({smallGrid(), "--steps", "0", option}), option + " without a value");
    }
}

TEST_F(HostileValues, MalformedCommandLinesAreRefused)
{
    const std::string grid = smallGrid();
    expectRefusal(run({}), exitUsage, "no grid file", "nothing");
    expectRefusal(run({grid, "--steps"}), exitUsage, "--steps", "missing value");
    expectRefusal(run({grid, "--steps=5"}), exitUsage, "--steps=5", "value glued on");
    expectRefusal(run({grid, "--"}), exitUsage, "'--'", "bare double dash");
    expectRefusal(run({grid, "--steps", "--re", "10"}), exitUsage, "--steps", "option as value");
}

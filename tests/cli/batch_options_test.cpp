// kelvo-batch command line: defaults, accepted forms, and every refusal.
#include "cli/batch_constants.h"
#include "cli/batch_options.h"
#include "sim/body_options.h"
#include "sim/batch_run.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Parses a command line given without the program name.
bool parse(std::vector<std::string> args, BatchOptions& o, std::string& error)
{
    std::vector<const char*> argv{"kelvo-batch"};
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    return parseBatchOptions(static_cast<int>(argv.size()), argv.data(), o, error);
}

// A command line that must be refused, with the reason mentioning what.
void expectRefused(std::vector<std::string> args, const std::string& mentioned)
{
    BatchOptions o;
    std::string error;
    std::string joined;
    for (const std::string& a : args)
        joined += a + " ";
    EXPECT_FALSE(parse(args, o, error)) << joined;
    EXPECT_NE(error.find(mentioned), std::string::npos) << joined << "-> " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

}  // namespace

TEST(BatchOptions, DefaultsWhenOnlyTheFileIsGiven)
{
    BatchOptions o;
    std::string error;
    ASSERT_TRUE(parse({"a.grid"}, o, error)) << error;
    EXPECT_EQ(o.gridPath, "a.grid");
    EXPECT_EQ(o.steps, 100);
    EXPECT_EQ(o.dt, 0.003);
    EXPECT_FALSE(o.reynolds.has_value());
    EXPECT_FALSE(o.defaultU.has_value());
    EXPECT_FALSE(o.defaultV.has_value());
    EXPECT_TRUE(o.csvPath.empty());
    EXPECT_FALSE(o.help);
    EXPECT_FALSE(o.automaticDt);
    EXPECT_EQ(o.convection, Convection::RungeKutta);
    EXPECT_FALSE(o.untilSteady.has_value());
}

TEST(BatchOptions, SchemeTimeStepAndSteadyState)
{
    struct Case {
        const char* name;
        Convection convection;
    };
    for (const Case& c : {Case{"rk3", Convection::RungeKutta}, Case{"central", Convection::Central},
                          Case{"blended", Convection::UpwindBlended}, Case{"designed", Convection::Designed}}) {
        BatchOptions o;
        std::string error;
        ASSERT_TRUE(parse({"a.grid", "--convection", c.name, "--dt", "auto", "--until-steady", "1e-6"}, o, error))
            << error;
        EXPECT_EQ(o.convection, c.convection) << c.name;
        EXPECT_TRUE(o.automaticDt);
        EXPECT_EQ(*o.untilSteady, 1e-6);
        const RunParameters r = resolveParameters(o, GridFileSettings{});
        EXPECT_EQ(r.convection, c.convection);
        EXPECT_TRUE(r.automaticDt);
    }
    for (const auto& [name, pressure] : {std::pair{"gauss-seidel", PressureSolver::GaussSeidel},
                                         std::pair{"multigrid", PressureSolver::Multigrid}}) {
        BatchOptions o;
        std::string error;
        ASSERT_TRUE(parse({"a.grid", "--pressure", name, "--threads", "1"}, o, error)) << error;
        const RunParameters r = resolveParameters(o, GridFileSettings{});
        EXPECT_EQ(r.pressure, pressure) << name;
        EXPECT_EQ(r.threads, 1);
    }
    EXPECT_EQ(BatchOptions{}.threads, 0);
    // Without --pressure or a stored choice: multigrid, but the designed
    // terms keep their own sweeps.
    EXPECT_EQ(resolveParameters(BatchOptions{}, GridFileSettings{}).pressure, PressureSolver::Multigrid);
    BatchOptions designed;
    designed.convection = Convection::Designed;
    EXPECT_EQ(resolveParameters(designed, GridFileSettings{}).pressure, PressureSolver::GaussSeidel);
    expectRefused({"a.grid", "--pressure", "Multigrid"}, "--pressure");
    expectRefused({"a.grid", "--convection", "upwind"}, "--convection");
    expectRefused({"a.grid", "--convection", ""}, "--convection");
    expectRefused({"a.grid", "--dt", "Auto"}, "--dt");
    expectRefused({"a.grid", "--until-steady", "-1e-6"}, "--until-steady");
    expectRefused({"a.grid", "--until-steady", "nan"}, "--until-steady");
    expectRefused({"a.grid", "--until-steady"}, "--until-steady needs a value");
}

TEST(BatchOptions, EveryOptionInAnyOrder)
{
    BatchOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--steps", "0", "--re", "100000", "x.grid", "--dt", "1e-4", "--default-u",
                       "-2.5", "--default-v", "0x1p1", "--dump-csv", "-"},
                      o, error))
        << error;
    EXPECT_EQ(o.gridPath, "x.grid");
    EXPECT_EQ(o.steps, 0);
    EXPECT_EQ(*o.reynolds, 100000);
    EXPECT_EQ(o.dt, 1e-4);
    EXPECT_EQ(*o.defaultU, -2.5);
    EXPECT_EQ(*o.defaultV, 2.0);
    EXPECT_EQ(o.csvPath, "-");

    ASSERT_TRUE(parse({"--help"}, o, error));
    EXPECT_TRUE(o.help);
    EXPECT_NE(batchUsage().find("--dump-csv"), std::string::npos);
}

TEST(BatchOptions, BadNumbersAreRefused)
{
    expectRefused({"a.grid", "--steps", "-1"}, "--steps");
    expectRefused({"a.grid", "--steps", "1.5"}, "--steps");
    expectRefused({"a.grid", "--steps", "12x"}, "--steps");
    expectRefused({"a.grid", "--steps", ""}, "--steps");
    expectRefused({"a.grid", "--steps", " 5"}, "--steps");
    expectRefused({"a.grid", "--steps", "99999999999999999999"}, "--steps");
    expectRefused({"a.grid", "--steps", "1000000001"}, "--steps");
    expectRefused({"a.grid", "--threads", "0"}, "--threads");
    expectRefused({"a.grid", "--threads", "9"}, "--threads");
    expectRefused({"a.grid", "--dt", "0"}, "--dt");
    expectRefused({"a.grid", "--dt", "-0.003"}, "--dt");
    expectRefused({"a.grid", "--dt", "inf"}, "--dt");
    expectRefused({"a.grid", "--dt", "nan"}, "--dt");
    expectRefused({"a.grid", "--dt", "1e999"}, "--dt");
    expectRefused({"a.grid", "--dt", "0.003s"}, "--dt");
    expectRefused({"a.grid", "--default-u", "-inf"}, "--default-u");
    expectRefused({"a.grid", "--default-v", "1,5"}, "--default-v");
}

// --until-time takes a simulated time above 0; --steps stays the limit.
TEST(BatchOptions, UntilTimeTakesAPositiveTime)
{
    for (const auto& [text, value] : {std::pair{"0.03", 0.03}, std::pair{"25", 25.0}, std::pair{"1e-9", 1e-9},
                                      std::pair{"0x1p-4", 0.0625}}) {
        BatchOptions o;
        std::string error;
        ASSERT_TRUE(parse({"a.grid", "--until-time", text, "--steps", "7"}, o, error)) << text << ": " << error;
        EXPECT_EQ(*o.untilTime, value) << text;
        EXPECT_EQ(o.steps, 7);
    }
    BatchOptions plain;
    std::string error;
    ASSERT_TRUE(parse({"a.grid"}, plain, error));
    EXPECT_FALSE(plain.untilTime.has_value());
    for (const char* text : {"0", "-0", "-1", "nan", "inf", "1e999", "1s", "", "abc"})
        expectRefused({"a.grid", "--until-time", text}, "--until-time needs a finite number above 0");
    expectRefused({"a.grid", "--until-time"}, "--until-time needs a value");
    EXPECT_NE(batchUsage().find("--until-time T"), std::string::npos);
}

// Any Reynolds number above 0 that the solver's float holds; everything
// else is refused with a reason naming --re.
TEST(BatchOptions, ReynoldsNumbersNeedNotBeWhole)
{
    const std::pair<const char*, double> accepted[] = {
        {"816.67", 816.67}, {"100", 100.0},      {"200.0", 200.0},  {"100001", 100001.0},
        {"0.5", 0.5},       {"0x1p-3", 0.125},   {"1e-40", 1e-40},  {"3.4e38", 3.4e38},
    };
    for (const auto& [text, value] : accepted) {
        BatchOptions o;
        std::string error;
        ASSERT_TRUE(parse({"a.grid", "--re", text}, o, error)) << text << ": " << error;
        EXPECT_EQ(*o.reynolds, value) << text;
        EXPECT_EQ(resolveParameters(o, GridFileSettings{}).reynolds, value) << text;
    }
    for (const char* text : {"0", "-0", "-5", "-0.5", "nan", "inf", "-inf", "1e999", "3.5e38", "1e-50", "12x",
                             "", " 5", "1,5", "abc"})
        expectRefused({"a.grid", "--re", text}, "--re needs a finite number above 0");
}

TEST(BatchOptions, MalformedCommandLinesAreRefused)
{
    expectRefused({}, "no grid file");
    expectRefused({"--steps", "5"}, "no grid file");
    expectRefused({"a.grid", "b.grid"}, "only one");
    expectRefused({"a.grid", "--bogus"}, "--bogus");
    expectRefused({"a.grid", "-x"}, "-x");
    expectRefused({"a.grid", "--steps"}, "--steps needs a value");
    expectRefused({"a.grid", "--dump-csv"}, "--dump-csv needs a value");
    expectRefused({"a.grid", "--dump-csv", ""}, "--dump-csv");
}

TEST(BatchOptions, FileSettingsAreClampedLikeTheEditorsSpinners)
{
    BatchOptions o;
    std::string error;
    ASSERT_TRUE(parse({"a.grid"}, o, error));
    GridFileSettings raw;
    raw.reynolds = 5;
    raw.defaultU = 200;
    raw.defaultV = 7;
    RunParameters r = resolveParameters(o, raw);
    EXPECT_EQ(r.reynolds, 10);
    EXPECT_EQ(r.defaultU, 100.0);
    EXPECT_EQ(r.defaultV, 7.0);
    EXPECT_EQ(r.dt, 0.003);

    // Values given on the command line win and are not clamped.
    ASSERT_TRUE(parse({"a.grid", "--re", "5000", "--default-u", "-3", "--dt", "0.01"}, o, error));
    r = resolveParameters(o, raw);
    EXPECT_EQ(r.reynolds, 5000);
    EXPECT_EQ(r.defaultU, -3.0);
    EXPECT_EQ(r.defaultV, 7.0);
    EXPECT_EQ(r.dt, 0.01);
}

// Settings stored with the run, by a version-2 grid file (its fractional
// Reynolds number kept as it is) or by a saved state (no grid file needed),
// apply unless the command line gives them.
TEST(BatchOptions, StoredSettingsApplyUnlessGiven)
{
    GridFileSettings stored;
    stored.reynolds = 816.67;
    stored.dt = 0.002;
    stored.convection = Convection::Designed;
    stored.pressure = PressureSolver::Multigrid;
    const SolverSettings saved{250.5, 0.0021, Convection::UpwindBlended, true, PressureSolver::Multigrid};
    struct Case {
        std::vector<std::string> args;
        bool restart;  // resolved against the saved state, not the grid file
        RunParameters expected;
    };
    const Case cases[] = {
        {{"a.grid"}, false, {816.67, 0.002, false, Convection::Designed, PressureSolver::Multigrid}},
        {{"a.grid", "--dt", "auto"}, false, {816.67, 0.003, true, Convection::Designed, PressureSolver::Multigrid}},
        {{"a.grid", "--dt", "0.01", "--convection", "central", "--pressure", "gauss-seidel"},
         false, {816.67, 0.01, false, Convection::Central, PressureSolver::GaussSeidel}},
        {{"--restart", "a.state"}, true, {250.5, 0.0021, true, Convection::UpwindBlended, PressureSolver::Multigrid}},
        {{"--restart", "a.state", "a.grid", "--dt", "0.001"},
         true, {250.5, 0.001, false, Convection::UpwindBlended, PressureSolver::Multigrid}},
        {{"--re", "90.25", "--convection", "central", "--pressure", "gauss-seidel", "--restart", "a.state"},
         true, {90.25, 0.0021, true, Convection::Central, PressureSolver::GaussSeidel}},
    };
    for (const Case& c : cases) {
        BatchOptions o;
        std::string error;
        ASSERT_TRUE(parse(c.args, o, error)) << error;
        EXPECT_EQ(o.restartPath, c.restart ? "a.state" : "");
        const RunParameters r = c.restart ? resolveRestartParameters(o, saved) : resolveParameters(o, stored);
        EXPECT_EQ(r.reynolds, c.expected.reynolds);
        EXPECT_EQ(r.dt, c.expected.dt);
        EXPECT_EQ(r.automaticDt, c.expected.automaticDt);
        EXPECT_EQ(r.convection, c.expected.convection);
        EXPECT_EQ(r.pressure, c.expected.pressure);
    }
    expectRefused({"--restart", "a.state", "--default-u", "1"}, "--default-u");
    expectRefused({"--restart", ""}, "--restart needs a file name");
    expectRefused({"a.grid", "--save-state", ""}, "--save-state needs a file name");
    expectRefused({"--save-state", "a.state"}, "no grid file");
}

// --body: each shape with its numbers, repeatable, and every malformed form
// refused with a reason naming the shape.
TEST(BatchOptions, BodiesAreParsedInOrderAndMalformedOnesRefused)
{
    BatchOptions o;
    std::string error;
    ASSERT_TRUE(parse({"a.grid", "--body", "circle:0.5,0.25,0.1", "--body", "polygon:0,0;1,0;0.5,0.75", "--body",
                       "naca:2412,1,0.5,0.4,6"},
                      o, error))
        << error;
    ASSERT_EQ(o.bodies.size(), 3u);
    EXPECT_EQ(o.bodies[0].shape, BodyOutline::Shape::Circle);
    EXPECT_EQ(o.bodies[0].centre.x, 0.5);
    EXPECT_EQ(o.bodies[0].radius, 0.1);
    ASSERT_EQ(o.bodies[1].corners.size(), 3u);
    EXPECT_EQ(o.bodies[1].corners[2].y, 0.75);
    EXPECT_EQ(o.bodies[2].corners.size(), 2u * nacaCornersPerSide);

    const std::pair<const char*, const char*> refused[] = {
        {"circle:1,2", "--body circle"},          {"circle:1,2,0", "--body circle"},
        {"circle:1,2,x", "--body circle"},        {"circle:1,2,3,4", "--body circle"},
        {"polygon:0,0;1,0", "--body polygon"},    {"polygon:0,0;1,1;2,2", "--body polygon"},
        {"polygon:0,0;1,0;0,1;", "--body polygon"}, {"naca:24,0,0,1,0", "--body naca"},
        {"naca:2412,0,0,0,0", "--body naca"},     {"naca:2412,0,0,1", "--body naca"},
        {"square:1,1,1", "--body needs circle"},  {"", "--body needs circle"},
    };
    for (const auto& [text, mentioned] : refused)
        expectRefused({"a.grid", "--body", text}, mentioned);
    expectRefused({"a.grid", "--save-grid", "b.grid"}, "need a picture");
}

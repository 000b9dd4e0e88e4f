// Number functions: rounding and truncation with the 32-bit wrap, the errors
// of round and int, and the guarded functions that give 0 instead of failing.
#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "core/script_error.hpp"
#include "support/engine_fixture.hpp"
#include "util/numbers.hpp"
#include "util/random.hpp"

namespace vorlune::test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct IntCase {
    double x;
    int32_t expected;
};

TEST(Numbers, RoundGoesToNearestWithTiesToEvenAndWraps) {
    const IntCase cases[] = {
        {0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},   {-0.5, 0},     {-2.5, -2}, {-3.5, -4},
        {2.4, 2},   {2.6, 3},   {-2.6, -3}, {0.0, 0},   {-0.0, 0},     {1e-300, 0},
        {3000000000.0, -1294967296},          // low 32 bits of the 64-bit result
        {4294967296.0, 0},
        {2147483647.5, -2147483648},          // ties to even: 2147483648, wrapped
        {-2147483649.0, 2147483647},
        {-0x1p63, 0},                         // the lowest 64-bit integer still converts
        {0x1p63 - 1024, -1024},               // the highest double below 2^63
    };
    for (const IntCase& c : cases) EXPECT_EQ(util::Round(c.x), c.expected) << "round(" << c.x << ")";
}

TEST(Numbers, IntTruncatesTowardZeroAndWraps) {
    const IntCase cases[] = {
        {2.7, 2},   {-2.7, -2},   {0.9, 0}, {-0.9, 0}, {2147483647.9, 2147483647},
        {3000000000.0, -1294967296}, {-3000000000.5, 1294967296}, {-0x1p63, 0},
    };
    for (const IntCase& c : cases) EXPECT_EQ(util::Int(c.x), c.expected) << "int(" << c.x << ")";
}

TEST(Numbers, RoundAndIntRaiseWhenThereIsNo64BitInteger) {
    for (double x : {kNaN, kInf, -kInf, 0x1p63, -0x1p64, 1e19, -1e300}) {
        EXPECT_THROW(util::Round(x), core::ScriptError) << x;
        EXPECT_THROW(util::Int(x), core::ScriptError) << x;
    }
    try {
        util::Int(1e20);
        FAIL() << "no error";
    } catch (const core::ScriptError& e) {
        EXPECT_STREQ(e.what(), "int: cannot convert 1e+20 to an integer");
    }
}

struct RealCase {
    double (*function)(double);
    const char* name;
    double x;
    double expected;
};

TEST(Numbers, GuardedFunctionsGiveZeroWhenTheComputationFails) {
    const RealCase cases[] = {
        {util::Sqrt, "sqrt", 16, 4},        {util::Sqrt, "sqrt", -4, 0},     {util::Sqrt, "sqrt", kNaN, 0},
        {util::Sqrt, "sqrt", -kInf, 0},     {util::Sqrt, "sqrt", kInf, kInf},
        {util::Abs, "abs", -3.25, 3.25},    {util::Abs, "abs", -kInf, kInf}, {util::Abs, "abs", kNaN, 0},
        {util::Cos, "cos", 0, 1},           {util::Cos, "cos", kInf, 0},     {util::Cos, "cos", kNaN, 0},
        {util::Sin, "sin", 0, 0},           {util::Sin, "sin", -kInf, 0},    {util::Sin, "sin", M_PI / 2, 1},
        {util::Exp, "exp", 0, 1},           {util::Exp, "exp", 1000, 0},     {util::Exp, "exp", kInf, 0},
        {util::Exp, "exp", -1000, 0},       {util::Exp, "exp", -kInf, 0},    {util::Exp, "exp", kNaN, 0},
        {util::Exp, "exp", 709, std::exp(709.0)},
        {util::Floor, "floor", -0.5, -1},   {util::Floor, "floor", -2.5, -3}, {util::Floor, "floor", 2.5, 2},
        {util::Floor, "floor", -3, -3},     {util::Floor, "floor", 3000000000.0, -1294967296},
        {util::Floor, "floor", -2147483648.5, 2147483647},  // t - 1 wraps
        {util::Floor, "floor", 1e300, 0},   {util::Floor, "floor", kNaN, 0}, {util::Floor, "floor", -kInf, 0},
        {util::Ceil, "ceil", 0.2, 1},       {util::Ceil, "ceil", -2.5, -2},  {util::Ceil, "ceil", 3, 3},
        {util::Ceil, "ceil", -0.2, 0},      {util::Ceil, "ceil", 2147483647.5, -2147483648},  // t + 1 wraps
        {util::Ceil, "ceil", kInf, 0},      {util::Ceil, "ceil", kNaN, 0},
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(c.function(c.x), c.expected) << c.name << "(" << c.x << ")";
    }
}

TEST(Numbers, RndDrawsTheRandomReal) {
    util::SeedRandom(5489u);
    EXPECT_EQ(util::Rnd(), 3499211612.0 / 4294967296.0);
    EXPECT_EQ(util::Rnd(), 581869302.0 / 4294967296.0);
}

class NumbersScript : public EngineTest {};

TEST_F(NumbersScript, RoundAndIntErrorsAreCatchableScriptErrors) {
    EXPECT_EQ(Lua("x = int(1/0)"), "test:1: int: cannot convert inf to an integer");
    EXPECT_EQ(Lua("\nx = round(0/0)"), "test:2: round: cannot convert nan to an integer");
    EXPECT_EQ(Lua("x = round(-1e19)"), "test:1: round: cannot convert -1e+19 to an integer");
    LuaOk("local ok, message = pcall(round, 1/0)\n"
          "assert(not ok and message:find('round: cannot convert inf to an integer', 1, true))\n"
          "assert(int(3000000000) == -1294967296 and round(2.5) == 2 and round(-2.5) == -2)");
}

TEST_F(NumbersScript, ResultsAndUsageThroughTheScriptApi) {
    EXPECT_EQ(Eval("sqrt(-4)"), "0");
    EXPECT_EQ(Eval("exp(1000)"), "0");
    EXPECT_EQ(Eval("floor(-0.5)"), "-1");
    EXPECT_EQ(Eval("ceil('0.2')"), "1");
    EXPECT_EQ(Eval("abs('x')"), "0");  // a non-number reads as 0
    EXPECT_EQ(Lua("abs(1, 2)"), "test:1: Usage: abc (number)");
    EXPECT_EQ(Lua("round()"), "test:1: Usage: round (number)");
    EXPECT_EQ(Lua("int(1, 2)"), "test:1: Usage: int (number)");
    LuaOk("local r = rnd(1, 2, 3) assert(r >= 0 and r < 1)");
}

}  // namespace
}  // namespace vorlune::test

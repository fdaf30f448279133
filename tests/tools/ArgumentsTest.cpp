// The probe's command line: what it accepts, and the clear refusals.
#include <gtest/gtest.h>

#include <vector>

#include "Arguments.h"

namespace {

bool Parse(std::vector<const wchar_t *> args, ProbeOptions &options, std::wstring &error)
{
    args.insert(args.begin(), L"corvanta-probe");
    return ParseArguments(static_cast<int>(args.size()), args.data(), options, error);
}

}  // namespace

TEST(ProbeArguments, FlashTakesTwoConditionsAndACompositionInAnyOrder)
{
    ProbeOptions options;
    std::wstring error;
    ASSERT_TRUE(Parse({L"--json", L"flash", L"--z", L"methane=0.5,propane=1.5", L"Example Thermo//Ideal",
                       L"--P", L"1e6", L"--vf", L"0.25", L"--manager", L"Other.Manager"},
                      options, error))
        << std::string(error.begin(), error.end());
    // The options, the name and the composition are seen end to end (ProbeEndToEnd).
    EXPECT_EQ(ProbeCommand::Flash, options.command);
    ASSERT_EQ(2u, options.conditions.size());
    EXPECT_EQ(FlashVariable::Pressure, options.conditions[0].variable);
    EXPECT_DOUBLE_EQ(1e6, options.conditions[0].value);
    EXPECT_EQ(FlashVariable::VaporFraction, options.conditions[1].variable);

    // A negative molar enthalpy is a value, not an option.
    ASSERT_TRUE(Parse({L"flash", L"P", L"--H", L"-12000", L"--P", L"2e5", L"--z", L"water=1"}, options, error));
    EXPECT_DOUBLE_EQ(-12000.0, options.conditions[0].value);
}

TEST(ProbeArguments, DefaultsAndHelp)
{
    ProbeOptions options;
    std::wstring error;
    // list and its default manager run end to end (ProbeEndToEnd).
    // --help wins over anything else on the line, even a broken one.
    ASSERT_TRUE(Parse({L"flash", L"--T", L"oops", L"--help"}, options, error));
    EXPECT_EQ(ProbeCommand::Help, options.command);
    ASSERT_TRUE(Parse({L"systems"}, options, error));
    EXPECT_EQ(ProbeCommand::Systems, options.command);
    ASSERT_TRUE(Parse({L"verify", L"S//P"}, options, error));
    EXPECT_EQ(1e-12, options.tolerance);
    ASSERT_TRUE(Parse({L"verify", L"--tol", L"1e-9", L"S//P"}, options, error));
    EXPECT_EQ(ProbeCommand::Verify, options.command);
    EXPECT_EQ(1e-9, options.tolerance);
}

TEST(ProbeArguments, RefusalsSayWhatIsWrong)
{
    const struct {
        std::vector<const wchar_t *> args;
        const wchar_t *expected;
    } cases[] = {
        {{}, L"no command given"},
        {{L"fly"}, L"unknown command \"fly\""},
        {{L"info"}, L"info needs a package name"},
        {{L"list", L"extra"}, L"unexpected argument \"extra\""},
        {{L"check", L"P", L"--T", L"300"}, L"belong to the flash command"},
        {{L"flash", L"P", L"--T", L"300", L"--z", L"a=1"}, L"exactly two of"},
        {{L"flash", L"P", L"--T", L"300", L"--P", L"1e5"}, L"needs the composition"},
        // Numbers are whole and finite; a word is refused end to end (ProbeEndToEnd).
        {{L"flash", L"P", L"--T", L"300K"}, L"--T expects a number, got \"300K\""},
        {{L"flash", L"P", L"--T", L""}, L"--T expects a number"},
        {{L"flash", L"P", L"--T", L"inf"}, L"--T expects a number"},
        {{L"flash", L"P", L"--T", L"nan"}, L"--T expects a number"},
        {{L"flash", L"P", L"--T", L"-5"}, L"--T must be positive"},
        {{L"flash", L"P", L"--VF", L"1.5"}, L"--VF must lie between 0 and 1"},
        {{L"flash", L"P", L"--T", L"300", L"--T", L"310"}, L"--T is given twice"},
        {{L"flash", L"P", L"--z", L"methane"}, L"compound=amount pairs"},
        {{L"flash", L"P", L"--z", L"methane=1,"}, L"compound=amount pairs"},
        {{L"flash", L"P", L"--z", L"methane=1,METHANE=2"}, L"names compound \"METHANE\" twice"},
        {{L"flash", L"P", L"--z", L"methane=0,ethane=0"}, L"must not all be zero"},
        {{L"flash", L"P", L"--z", L"methane=-1"}, L"must not be negative"},
        {{L"list", L"--manager"}, L"--manager needs a value"},
        {{L"list", L"--verbose"}, L"unknown option --verbose"},
        {{L"systems", L"S//P"}, L"unexpected argument \"S//P\""},
        {{L"verify"}, L"verify needs a package name"},
        {{L"verify", L"S//P", L"--tol", L"-1"}, L"--tol expects a relative difference of 0 or more"},
        {{L"check", L"S//P", L"--tol", L"0.1"}, L"--tol belongs to the verify command"},
    };
    for (const auto &c : cases) {
        ProbeOptions options;
        std::wstring error;
        EXPECT_FALSE(Parse(c.args, options, error)) << std::string(c.expected, c.expected + wcslen(c.expected));
        EXPECT_NE(std::wstring::npos, error.find(c.expected))
            << "got: " << std::string(error.begin(), error.end());
    }
}

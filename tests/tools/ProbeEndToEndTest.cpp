// corvanta-probe run as a user runs it, against the bridge and the example
// 1.0 thermo system registered with regsvr32 in the test prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "ExampleIds.h"
#include "Flash.h"
#include "PengRobinson.h"
#include "ServerProcess.h"
#include "Text.h"

namespace {

struct Outcome {
    DWORD exitCode = 0xFFFFFFFF;
    std::string out, err;
};

Outcome Probe(const std::wstring &arguments)
{
    Outcome outcome;
    outcome.exitCode = RunProgram(L"\"" + WindowsPath(PROBE_EXE) + L"\" " + arguments, &outcome.out, &outcome.err);
    return outcome;
}

// The number in the row of a titled table of the probe's JSON output:
// {"quantity":"<quantity>","value":<number>,...} after the title.
bool JsonValue(const std::string &json, const std::string &title, const std::string &quantity, double &value)
{
    size_t table = json.find("{\"title\":\"" + title + "\"");
    if (table == std::string::npos) return false;
    size_t end = json.find("{\"title\":", table + 1);
    std::string key = "{\"quantity\":\"" + quantity + "\",\"value\":";
    size_t row = json.find(key, table);
    if (row == std::string::npos || row > end) return false;
    char *stop = nullptr;
    value = std::strtod(json.c_str() + row + key.size(), &stop);
    return stop != json.c_str() + row + key.size();
}

class ProbeEndToEnd : public testing::Test {
protected:
    // The bridge is registered by the test run (as an installer would); the
    // example thermo system is registered here, like a user's third-party one.
    static void SetUpTestSuite()
    {
        for (const char *dll : {BRIDGE_DLL, EXAMPLE_DLL})
            ASSERT_EQ(0u, RunRegsvr32(L"\"" + WindowsPath(dll) + L"\"")) << "regsvr32 " << dll;
    }
    // The prefix is shared with the other test programs: remove the example
    // again, and leave the bridge registered for them.
    static void TearDownTestSuite()
    {
        EXPECT_EQ(0u, RunRegsvr32(L"/u \"" + WindowsPath(EXAMPLE_DLL) + L"\""));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, exampleClsid));
        EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ExampleThermoProgId));
    }

    static inline const std::wstring exampleClsid = std::wstring(L"CLSID\\") + ExampleThermoClsidText;
};

}  // namespace

// regsvr32 registers the example as a third party registers a 1.0 thermo system; its
// thermo system category and description name are read by the listing, which needs them.
TEST_F(ProbeEndToEnd, TheRegisteredExampleIsListedAndPassesEveryCheck)
{
    EXPECT_EQ(L"1.0", ReadString(HKEY_CLASSES_ROOT, exampleClsid + L"\\CapeDescription", L"CapeVersion"));
    EXPECT_EQ(L"Apartment", ReadString(HKEY_CLASSES_ROOT, exampleClsid + L"\\InprocServer32", L"ThreadingModel"));
    EXPECT_EQ(ExampleThermoClsidText,
              ReadString(HKEY_CLASSES_ROOT, std::wstring(ExampleThermoProgId) + L"\\CLSID", nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT,
                          exampleClsid + L"\\Implemented Categories\\{678C09A1-7D66-11D2-A67D-00105A42887F}"));

    Outcome list = Probe(L"list");
    ASSERT_EQ(0u, list.exitCode) << list.err;
    for (const wchar_t *package : {L"Example Thermo//Peng-Robinson", L"Example Thermo//Ideal"}) {
        EXPECT_NE(std::string::npos, list.out.find(ToUtf8(package) + "\n")) << list.out;
        Outcome check = Probe(L"check \"" + std::wstring(package) + L"\"");
        EXPECT_EQ(0u, check.exitCode) << ToUtf8(package) << "\n" << check.out << check.err;
        EXPECT_NE(std::string::npos, check.out.find("CalcEquilibrium T, P")) << check.out;
        EXPECT_NE(std::string::npos, check.out.find("CalcSinglePhaseProp")) << check.out;
    }
}

// The numbers of both example packages through the bridge are checked against their models in
// ConcurrentClientsTest; here the flash command's report of them, for one.
TEST_F(ProbeEndToEnd, FlashReportAgreesWithTheExampleThermodynamics)
{
    const double T = 250.0, P = 2e6;
    PengRobinson model({FindCompound(L"methane"), FindCompound(L"propane")});
    FlashResult expected;
    std::wstring error;
    ASSERT_TRUE(Flash(model).TP(T, P, {0.4, 0.6}, expected, error)) << ToUtf8(error);
    // Two phases, so that fractions and compositions say something.
    ASSERT_TRUE(expected.hasVapor && expected.hasLiquid);

    PhaseState vapor;
    model.Evaluate(T, P, expected.y.data(), PhaseKind::Vapor, RequestCaloric, vapor);

    Outcome flash = Probe(L"--json flash \"Example Thermo//Peng-Robinson\" --T 250 --P 2e6 --z methane=2,propane=3");
    // A property the package cannot give fails the run, not the flash.
    ASSERT_NE(std::string::npos, flash.out.find("\"title\":\"Phase Vapor\"")) << flash.out << flash.err;
    const struct {
        const char *table, *quantity;
        double expected, tolerance;
    } rows[] = {
        {"Phase Vapor", "phase fraction", expected.vaporFraction, 1e-9},
        {"Phase Liquid", "phase fraction", 1.0 - expected.vaporFraction, 1e-9},
        {"Phase Vapor", "x methane", expected.y[0], 1e-9},
        {"Phase Vapor", "x propane", expected.y[1], 1e-9},
        {"Phase Liquid", "x methane", expected.x[0], 1e-9},
        {"Phase Liquid", "x propane", expected.x[1], 1e-9},
        {"Phase Vapor", "enthalpy", vapor.enthalpy, 1e-6},
    };
    for (const auto &row : rows) {
        double value = 0;
        ASSERT_TRUE(JsonValue(flash.out, row.table, row.quantity, value)) << row.quantity << "\n" << flash.out;
        EXPECT_NEAR(row.expected, value, row.tolerance * std::max(1.0, std::fabs(row.expected)))
            << row.table << ": " << row.quantity;
    }
}

TEST_F(ProbeEndToEnd, FailuresExitWithTheirCodeAndSayWhy)
{
    const struct {
        std::wstring arguments;
        DWORD exitCode;
        const char *message;
    } cases[] = {
        // Every refusal of the command line is in ArgumentsTest; this one shows how the program ends on them.
        {L"flash P --T warm --P 1e5 --z methane=1", 2, "--T expects a number"},
        {L"flash \"Example Thermo//Peng-Robinson\" --T 300 --P 1e5 --z unobtainium=1", 2,
         "has no compound \"unobtainium\""},
        {L"--manager No.Such.Manager list", 1, "no component is registered as \"No.Such.Manager\""},
        {L"info \"Example Thermo//Nothing\"", 1, "GetPropertyPackage(\"Example Thermo//Nothing\") failed: "},
    };
    for (const auto &c : cases) {
        Outcome outcome = Probe(c.arguments);
        EXPECT_EQ(c.exitCode, outcome.exitCode) << ToUtf8(c.arguments);
        EXPECT_NE(std::string::npos, outcome.err.find(c.message)) << outcome.err;
        if (c.exitCode == 2) {
            EXPECT_NE(std::string::npos, outcome.err.find("--help")) << "refusals point at the usage";
        }
    }
    Outcome help = Probe(L"--help");
    EXPECT_EQ(0u, help.exitCode);
    EXPECT_EQ(0u, help.out.find("usage: corvanta-probe"));
}

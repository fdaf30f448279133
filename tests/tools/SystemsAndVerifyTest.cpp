// corvanta-probe systems and verify, run in process: systems against the
// registered test thermo systems, verify on the example packages and on a
// test package whose answers change.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Commands.h"
#include "ServerProcess.h"
#include "Text.h"

namespace {

// Registered by the tests themselves: a thermo system only in the 32-bit
// view (its DLL a bare 32-bit PE header) and one whose DLL is missing.
const wchar_t *const wow32Clsid = L"{6A1D0C01-3B7E-4C55-9E0A-51C0DE0000F2}";
const std::wstring wow32Key = std::wstring(L"Software\\Classes\\Wow6432Node\\CLSID\\") + wow32Clsid;
const std::wstring missingKey = L"Software\\Classes\\CLSID\\{6A1D0C01-3B7E-4C55-9E0A-51C0DE0000F1}";
const wchar_t *const thermoCategory = L"\\Implemented Categories\\{678C09A3-7D66-11D2-A67D-00105A42887F}";

void RegisterThermoClass(const std::wstring &key, const wchar_t *name, const std::wstring &dll)
{
    auto set = [&](const std::wstring &subkey, const wchar_t *value, const std::wstring &data) {
        ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, subkey.c_str(), value, REG_SZ, data.c_str(),
                                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    };
    set(key + L"\\InprocServer32", nullptr, dll);
    set(key + L"\\CapeDescription", L"Name", name);
    set(key + thermoCategory, nullptr, L"");
}

// The cell of a column of a report table, by the column's name.
std::string CellOf(const Table &table, const std::vector<Cell> &row, const std::string &column)
{
    auto found = std::find(table.columns.begin(), table.columns.end(), column);
    return found == table.columns.end() ? "<no column " + column + ">" : row[found - table.columns.begin()].text;
}

const std::vector<Cell> *RowOf(const Table &table, const std::string &column, const std::string &text)
{
    for (const auto &row : table.rows)
        if (CellOf(table, row, column) == text) return &row;
    return nullptr;
}

// Registered for the whole program, before any test makes the manager run
// its one discovery: the example thermo system, as a user's own would be,
// and the two classes above.
class RegisteredSystems : public testing::Environment {
public:
    void SetUp() override
    {
        // MZ header pointing at a PE signature of an i386 machine.
        unsigned char pe[0x100] = {'M', 'Z'};
        pe[0x3C] = 0x40;
        const unsigned char signature[] = {'P', 'E', 0, 0, 0x4C, 0x01};
        std::copy(std::begin(signature), std::end(signature), pe + 0x40);
        HANDLE file = CreateFileW(fake32.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, pe, sizeof pe, &written, nullptr);
        CloseHandle(file);
        RegisterThermoClass(wow32Key, L"Wow32Only", fake32);
        RegisterThermoClass(missingKey, L"MissingDll", L"C:\\nowhere\\MissingThermo.dll");
        ASSERT_EQ(RunRegsvr32(example), 0u);
    }
    void TearDown() override
    {
        for (const std::wstring &key : {wow32Key, missingKey}) RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
        DeleteFileW(fake32.c_str());
        RunRegsvr32(L"/u " + example);
    }

private:
    const std::wstring fake32 = [] {
        wchar_t dir[MAX_PATH];
        GetTempPathW(MAX_PATH, dir);
        return std::wstring(dir) + L"CorvantaWow32Only.dll";
    }();
    const std::wstring example = L"\"" + WindowsPath(EXAMPLE_DLL) + L"\"";
};
testing::Environment *const registered = testing::AddGlobalTestEnvironment(new RegisteredSystems);

class ProbeSystems : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ProbeOptions options;
        std::wstring error;
        code = RunSystems(options, report, error);
    }

    static inline Report report;
    static inline ExitCode code = ExitFailed;
};

TEST_F(ProbeSystems, EveryThermoSystemGetsItsVerdictAndReason)
{
    ASSERT_EQ(code, ExitOk);
    ASSERT_EQ(report.tables.size(), 2u);
    const Table &systems = report.tables[0];
    const struct {
        const char *name, *verdict, *reason, *bitness;
    } cases[] = {
        {"Sys", "listed", "packages A, B", "64-bit (x64)"},
        {"NoInitialize", "listed", "package P", "64-bit (x64)"},
        {"BrokenInitialize", "fails", "Initialize failed: The licence of this thermo system has expired",
         "64-bit (x64)"},
        {"Numbers", "fails", "Invalid list of packages", "64-bit (x64)"},
        {"Empty", "fails", "The thermo system has no packages", "64-bit (x64)"},
        {"Acme Thermo 2", "left out",
         "its maker registers the 1.1 property package manager \"Acme Server\" "
         "{6A1D0C01-3B7E-4C55-9E0A-51C0DE00000C}",
         "64-bit (x64)"},
        {"MissingDll", "DLL missing", "no file C:\\nowhere\\MissingThermo.dll", "missing"},
        {"Wow32Only", "other bitness", "registered only for 32-bit programs: a 32-bit simulator", "32-bit (x86)"},
        {"Example Thermo", "listed", "packages Peng-Robinson, Ideal", "64-bit (x64)"},
    };
    for (const auto &c : cases) {
        const std::vector<Cell> *row = RowOf(systems, "name", c.name);
        ASSERT_NE(row, nullptr) << c.name;
        EXPECT_EQ(CellOf(systems, *row, "verdict"), c.verdict) << c.name;
        EXPECT_NE(CellOf(systems, *row, "reason").find(c.reason), std::string::npos)
            << c.name << ": " << CellOf(systems, *row, "reason");
        EXPECT_EQ(CellOf(systems, *row, "DLL bitness"), c.bitness) << c.name;
    }
    const std::vector<Cell> *wow32 = RowOf(systems, "name", "Wow32Only");
    EXPECT_EQ(CellOf(systems, *wow32, "registered"), "32-bit per machine");
    EXPECT_EQ(CellOf(systems, *wow32, "CLSID"), ToUtf8(wow32Clsid));

    const Table &corvanta = report.tables[1];
    ASSERT_FALSE(corvanta.rows.empty());
    EXPECT_EQ(CellOf(corvanta, corvanta.rows[0], "registration"), "64-bit per machine");
    EXPECT_NE(CellOf(corvanta, corvanta.rows[0], "DLL").find("Corvanta.dll"), std::string::npos);
    EXPECT_EQ(CellOf(corvanta, corvanta.rows[0], "DLL bitness"), "64-bit (x64)");
}

class ProbeVerify : public testing::Test {
protected:
    static ExitCode Verify(const wchar_t *package, Report &report, std::wstring &error, double tolerance = 1e-12)
    {
        ProbeOptions options;
        options.packageName = package;
        options.tolerance = tolerance;
        return RunVerify(options, report, error);
    }
    // The results of the quantities, by quantity.
    using Result = std::pair<std::string, std::string>;
    static std::vector<Result> Results(const Report &report)
    {
        std::vector<Result> results;
        if (report.tables.empty()) return results;
        const Table &table = report.tables[0];
        for (const auto &row : table.rows)
            results.emplace_back(CellOf(table, row, "quantity"), CellOf(table, row, "result"));
        return results;
    }
};

TEST_F(ProbeVerify, ExamplePackagesGiveTheSameNumbersDirectlyAndThroughTheBridge)
{
    for (const wchar_t *package : {L"Example Thermo//Ideal", L"Example Thermo//Peng-Robinson"}) {
        Report report;
        std::wstring error;
        EXPECT_EQ(Verify(package, report, error), ExitOk) << ToUtf8(package) << ": " << ToUtf8(error);
        auto results = Results(report);
        for (const auto &[quantity, result] : results)
            EXPECT_TRUE(result == "same" || result == "refused by both") << ToUtf8(package) << ": " << quantity;
        // Each kind of quantity is compared, not merely attempted.
        for (const char *quantity : {"compound molecular weights", "constant criticalTemperature",
                                     "T-dependent vaporPressure", "P-dependent boilingPointTemperature",
                                     "enthalpy Vapor", "density Liquid", "kvalue Vapor,Liquid", "lnPhiDn Liquid",
                                     "flash P, VF Liquid composition", "flash P, H Vapor phase fraction"})
            EXPECT_EQ(std::count(results.begin(), results.end(), Result(quantity, "same")), 1)
                << ToUtf8(package) << ": " << quantity;
    }
}

TEST_F(ProbeVerify, NamesTheQuantitiesWhoseAnswersDiffer)
{
    Report report;
    std::wstring error;
    EXPECT_EQ(Verify(L"Drifting//P", report, error), ExitFailed);
    EXPECT_NE(error.find(L"2 of"), std::wstring::npos) << ToUtf8(error);
    std::vector<std::string> differing;
    for (const auto &[quantity, result] : Results(report))
        if (result != "same" && result != "skipped") differing.push_back(quantity + ": " + result);
    EXPECT_EQ(differing, (std::vector<std::string>{"enthalpy Vapor: differs", "enthalpy Liquid: differs"}));
    // The drift is about 1e-3 relative: a looser tolerance accepts it.
    Report loose;
    EXPECT_EQ(Verify(L"Drifting//P", loose, error, 1e-2), ExitOk) << ToUtf8(error);
}

}  // namespace

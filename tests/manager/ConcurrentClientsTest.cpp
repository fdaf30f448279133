// Several simulator threads at once: four single-threaded apartments of one
// process, each with its own manager (created by ProgID from the registered
// Corvanta.dll, so discovery has not run yet), packages of the example
// thermo system and 1.1 materials, start together and flash and calculate
// concurrently. Every number must match the example's own thermodynamics.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "Calculations.h"
#include "CapeClient.h"
#include "Comparison.h"
#include "Flash.h"
#include "IdealMixture.h"
#include "PengRobinson.h"
#include "ServerProcess.h"

namespace {

constexpr int threadCount = 4;
constexpr int rounds = 250;  // per thread and package: one flash and one enthalpy each
constexpr double pressure = 2e6;
const std::vector<double> feed = {0.4, 0.6};  // methane, propane
const wchar_t *const packageNames[] = {L"Example Thermo//Ideal", L"Example Thermo//Peng-Robinson"};

struct ThreadCase {
    double temperature = 0.0;
    // What the example's models give at the thread's conditions, per package.
    FlashResult flash[2];
    double vaporEnthalpy[2] = {};
    std::wstring failure;  // the first thing that went wrong, empty when none
};

// One flash at the thread's T and P and the vapour's enthalpy, checked.
bool FlashAndCheck(PackageClient &package, CMaterial11 &material, const ThreadCase &c, int k, std::wstring &error)
{
    const FlashCondition t = {FlashVariable::Temperature, c.temperature}, p = {FlashVariable::Pressure, pressure};
    const MixtureState mixture = {c.temperature, pressure, feed};
    std::vector<PhaseResult> phases;
    if (!PrepareFlash(material, mixture, {t, p}, error) || !RunFlash(package, t, p, error) ||
        !ReadFlashResult(material, phases, error))
        return false;
    const auto vapor = std::find_if(phases.begin(), phases.end(), [](auto &phase) { return phase.label == L"Vapor"; });
    if (phases.size() != 2 || vapor == phases.end() ||
        RelativeDifference(c.flash[k].vaporFraction, vapor->fraction) > 1e-9 || vapor->composition.size() != 2 ||
        RelativeDifference(c.flash[k].y[0], vapor->composition[0]) > 1e-9) {
        error = L"flash result differs from the model";
        return false;
    }
    std::vector<double> enthalpy;
    ValueBasis basis = ValueBasis::Undefined;
    if (!CalcPhaseProperty(package, material, L"Vapor", L"enthalpy", enthalpy, basis, error)) return false;
    if (enthalpy.size() != 1 || RelativeDifference(c.vaporEnthalpy[k], enthalpy[0]) > 1e-6) {
        error = L"vapour enthalpy differs from the model";
        return false;
    }
    return true;
}

void RunClient(ThreadCase &c, HANDLE start)
{
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        c.failure = L"CoInitializeEx failed";
        return;
    }
    WaitForSingleObject(start, INFINITE);
    std::wstring error;
    {
        ManagerClient manager;
        std::vector<std::wstring> names;
        PackageClient packages[2];
        ComPtr<CMaterial11> materials[2];
        bool ready = manager.Open(L"Corvanta.PropertyPackageManager.1", error) && manager.ListPackages(names, error);
        for (int k = 0; ready && k < 2; ++k) {
            ComPtr<IDispatch> object;
            ready = manager.GetPackage(packageNames[k], object, error) && packages[k].Open(object, error) &&
                    (materials[k] = CMaterial11::Create({L"methane", L"propane"}, packages[k].phaseLabels)) &&
                    UseMaterial(packages[k], *materials[k].Get(), error);
        }
        for (int round = 0; ready && round < rounds; ++round)
            for (int k = 0; ready && k < 2; ++k)
                ready = FlashAndCheck(packages[k], *materials[k].Get(), c, k, error);
        if (!ready) c.failure = error.empty() ? L"failed" : error;
    }
    CoUninitialize();
}

}  // namespace

TEST(ConcurrentClients, FourApartmentsFlashAndCalculateAtOnce)
{
    const std::vector<const CompoundData *> compounds = {FindCompound(L"methane"), FindCompound(L"propane")};
    IdealMixture ideal(compounds);
    PengRobinson peng(compounds);
    const ThermoModel *models[2] = {&ideal, &peng};
    ThreadCase cases[threadCount];
    for (int i = 0; i < threadCount; ++i) {
        // Each thread its own temperature, so that mixed-up state shows.
        cases[i].temperature = 240.0 + 5.0 * i;
        for (int k = 0; k < 2; ++k) {
            FlashResult &flash = cases[i].flash[k];
            std::wstring error;
            ASSERT_TRUE(Flash(*models[k]).TP(cases[i].temperature, pressure, feed, flash, error));
            ASSERT_TRUE(flash.hasVapor && flash.hasLiquid);
            PhaseState vapor;
            models[k]->Evaluate(cases[i].temperature, pressure, flash.y.data(), PhaseKind::Vapor, RequestCaloric,
                                vapor);
            cases[i].vaporEnthalpy[k] = vapor.enthalpy;
        }
    }

    HANDLE start = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, start);
    // The example thermo system is registered like a user's third-party one,
    // and removed again afterwards; the bridge stays registered.
    const std::wstring example = L"\"" + WindowsPath(EXAMPLE_DLL) + L"\"";
    EXPECT_EQ(0u, RunRegsvr32(example));
    std::vector<std::thread> threads;
    for (ThreadCase &c : cases) threads.emplace_back(RunClient, std::ref(c), start);
    Sleep(50);  // every thread waits at the start
    SetEvent(start);
    for (std::thread &thread : threads) thread.join();
    CloseHandle(start);
    RunRegsvr32(L"/u " + example);

    for (int i = 0; i < threadCount; ++i)
        EXPECT_EQ(L"", cases[i].failure) << "thread " << i << " at " << cases[i].temperature << " K";
}

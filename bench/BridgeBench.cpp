// corvanta-bench: what the bridge costs on top of the 1.0 package's own
// calls. Each row runs the same trivial 1.0 calculation once directly (a 1.0
// client with its own 1.0 material object) and once through the bridge (a
// 1.1 client with a 1.1 material), side by side in one run, and prints the
// time per call and their ratio.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "Material10.h"
#include "Material11.h"
#include "PropertyPackage.h"
#include "ScriptedPackage10.h"
#include "VariantLists.h"

namespace {

// Nanoseconds per call of body, over calls calls after a short warm-up.
double TimePerCall(int calls, const std::function<HRESULT()> &body)
{
    for (int i = 0; i < calls / 10 + 1; ++i) {
        if (FAILED(body())) return -1.0;
    }
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < calls; ++i) {
        if (FAILED(body())) return -1.0;
    }
    QueryPerformanceCounter(&end);
    return 1e9 * static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart / calls;
}

VARIANT Strings(const std::vector<std::wstring> &items)
{
    VARIANT v;
    VariantInit(&v);
    PutStrings(&v, items);
    return v;
}

struct Row {
    const char *operation;
    double direct, bridge;
};

}  // namespace

int main(int argc, char **argv)
{
    int calls = argc > 1 ? std::atoi(argv[1]) : 20000;
    if (calls <= 0) {
        std::fprintf(stderr, "usage: corvanta-bench [CALLS]\n");
        return 2;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    {
        std::vector<std::wstring> compounds;
        for (int i = 1; i <= 8; ++i) compounds.push_back(L"compound" + std::to_wstring(i));

        // The shared test components with no hook set: a 1.0 package with the
        // trivial calculation, and the same state on a 1.0 material object
        // (direct) and on a 1.1 material (through the bridge).
        CScriptedPackage10 *raw10 = nullptr;
        ComPtr<ICapeThermoPropertyPackage> package10 = CreateScriptedPackage10(&raw10);
        raw10->script.compoundIds = compounds;
        raw10->script.molecularWeights.assign(compounds.size(), 30.0);
        raw10->script.phases = {L"Vapor", L"Liquid"};
        raw10->script.propList = {L"enthalpy", L"density", L"logFugacityCoefficient",
                                  L"logFugacityCoefficient.Dtemperature"};
        raw10->script.trivial = true;
        const std::vector<double> composition(compounds.size(), 1.0 / compounds.size());
        CMaterial10 *rawMaterial10 = nullptr;
        ComPtr<ICapeThermoMaterialObject> material10 = CMaterial10::Create(compounds, {L"Vapor", L"Liquid"},
                                                                           &rawMaterial10);
        ComPtr<CMaterial11> rawMaterial11 = CMaterial11::Create(compounds);
        rawMaterial11->presentPhases = {L"Vapor", L"Liquid"};
        rawMaterial11->phaseStatuses = {CAPE_UNKNOWNPHASESTATUS, CAPE_UNKNOWNPHASESTATUS};
        for (const wchar_t *phase : {L"Overall", L"Vapor", L"Liquid"}) {
            rawMaterial10->Put(L"temperature", phase, {300.0});
            rawMaterial10->Put(L"pressure", phase, {1e5});
            rawMaterial10->Put(L"fraction", phase, composition, L"mole");
            rawMaterial11->Put(L"temperature", phase, L"", {300.0});
            rawMaterial11->Put(L"pressure", phase, L"", {1e5});
            rawMaterial11->Put(L"fraction", phase, L"mole", composition);
        }
        ICapeThermoMaterial *material11 = rawMaterial11->Interface();
        // The same compounds in reverse order, swapped in before every call
        // of the reordering row so that the bridge maps them anew each time.
        std::vector<std::wstring> reversed(compounds.rbegin(), compounds.rend());
        const std::vector<std::wstring> allPhases = rawMaterial11->presentPhases;

        ComPtr<ICapeThermoCompounds> packageRef;
        CreateComObject<CPropertyPackage>(nullptr, __uuidof(ICapeThermoCompounds), packageRef.ReceiveVoid());
        auto *package = static_cast<CPropertyPackage *>(packageRef.Get());
        package->package10 = package10;
        package->SetMaterial(material11);

        VARIANT singlePhase10 = Strings({L"enthalpy", L"density"});
        VARIANT lnPhi10 = Strings({L"logFugacityCoefficient", L"logFugacityCoefficient.Dtemperature"});
        VARIANT vapor = Strings({L"Vapor"});
        VARIANT noProps;
        VariantInit(&noProps);
        VARIANT moles;
        VariantInit(&moles);
        PutDoubles(&moles, std::vector<double>(compounds.size(), 1.0));
        ScopedBstr mixture(L"mixture"), vaporLabel(L"Vapor"), tp(L"TP");
        VARIANT spec1 = Strings({L"temperature", L"", L"overall"});
        VARIANT spec2 = Strings({L"pressure", L"", L"overall"});
        VARIANT lnPhi, lnPhiDT;
        VariantInit(&lnPhi);
        VariantInit(&lnPhiDT);

        auto direct = [&](VARIANT &props) {
            return package10->CalcProp(material10.Get(), props, vapor, mixture.Get());
        };
        std::vector<Row> rows;
        rows.push_back({"single-phase properties (2)", TimePerCall(calls, [&] { return direct(singlePhase10); }),
                        TimePerCall(calls, [&] { return package->CalcSinglePhaseProp(singlePhase10, vaporLabel.Get()); })});
        rows.push_back({"  material compounds reordered", rows.back().direct, TimePerCall(calls, [&] {
                            std::swap(rawMaterial11->compounds.ids, reversed);
                            return package->CalcSinglePhaseProp(singlePhase10, vaporLabel.Get());
                        })});
        if (rawMaterial11->compounds.ids != compounds) std::swap(rawMaterial11->compounds.ids, reversed);
        rows.push_back({"lnPhi and d lnPhi/dT", TimePerCall(calls, [&] { return direct(lnPhi10); }),
                        TimePerCall(calls, [&] {
                            return package->CalcAndGetLnPhi(vaporLabel.Get(), 300.0, 1e5, moles, 3, &lnPhi, &lnPhiDT,
                                                            nullptr, nullptr);
                        })});
        rows.push_back({"TP flash", TimePerCall(calls, [&] { return package10->CalcEquilibrium(material10.Get(), tp.Get(), noProps); }),
                        TimePerCall(calls, [&] {
                            // A client makes every phase present before each flash.
                            rawMaterial11->presentPhases = allPhases;
                            return package->CalcEquilibrium(spec1, spec2, nullptr);
                        })});

        std::printf("Corvanta bridge cost per call, %zu compounds, %d calls per cell\n", compounds.size(), calls);
        std::printf("%-32s %14s %14s %8s\n", "operation", "direct 1.0", "via bridge", "ratio");
        for (const Row &row : rows) {
            if (row.direct < 0 || row.bridge < 0) {
                std::printf("%-32s %14s %14s %8s\n", row.operation, "failed", "failed", "-");
                status = 1;
                continue;
            }
            std::printf("%-32s %11.0f ns %11.0f ns %8.2f\n", row.operation, row.direct, row.bridge,
                        row.bridge / row.direct);
        }
        if (status) {
            std::wprintf(L"bridge error: %ls\n", package->ErrorDescription().c_str());
        }
        for (VARIANT *v : {&singlePhase10, &lnPhi10, &vapor, &moles, &spec1, &spec2, &lnPhi, &lnPhiDT}) VariantClear(v);
        package->Terminate();
    }
    CoUninitialize();
    return status;
}

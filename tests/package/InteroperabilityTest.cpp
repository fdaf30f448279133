// The package and its material object with 1.0 packages and 1.1 materials
// as real ones behave: packages that call back late or store more than was
// asked, spell names their own way, name bases nobody needs, leave phase
// fractions unset or treat what they read as fractions.
#include <algorithm>
#include <functional>

#include "PackageCoreFixture.h"

namespace {

// Two-suffix Margules liquid, as a 1.0 package computes it from the
// fractions it reads: ln phi1 = A x2^2, ln phi2 = A x1^2, and d ln phi / dn
// for the one mole those fractions make.
void Margules(const std::vector<double> &x, std::vector<double> &lnPhi, std::vector<double> &dn)
{
    const double a = 0.8, x1 = x[0], x2 = x[1];
    lnPhi = {a * x2 * x2, a * x1 * x1};
    dn = {-2 * a * x2 * x2, 2 * a * x1 * x2, 2 * a * x1 * x2, -2 * a * x1 * x1};
}

class Interoperability : public PackageCoreTest {
protected:
    Interoperability()
    {
        // Spelled as the 1.0 package lists them, not as clients write them.
        Script().propList = {L"Enthalpy", L"vaporPressure", L"boilingPointTemperature", L"kvalues",
                             L"logFugacityCoefficient", L"logFugacityCoefficient.dmoles"};
        Script().constants[L"molecularWeight"][L"methane"] = 16.043;
        // Sets every property asked for: one value per compound, or two.
        Script().onCalcProp = [](CScriptedPackage10 &, ICapeThermoMaterialObject *m, const StringList &props,
                                 const StringList &phases, const std::wstring &calcType) {
            for (const std::wstring &p : props)
                if (HRESULT hr = SetProp10(m, p.c_str(), calcType == L"pure" ? nullptr : phases[0].c_str(), nullptr,
                                     {1.0, 2.0}, calcType.c_str());
                    FAILED(hr))
                    return hr;
            return S_OK;
        };
        EXPECT_EQ(S_OK, Initialize());
        SetContext({L"methane", L"ethane"});
    }

    // A flash over every phase of the package, as clients ask for it.
    HRESULT Flash(const StringList &spec1, const StringList &spec2)
    {
        material->phases = material->presentPhases = Script().phases;
        return RunFlash(spec1, spec2);
    }

    ICapeThermoMaterialObject *Kept() { return package10->lastMaterial.Get(); }

    // How often the 1.1 material logged exactly this call.
    long Logged(const std::wstring &call) { return std::count(material->calls.begin(), material->calls.end(), call); }
};

const StringList tp[2] = {{L"temperature", L"", L"overall"}, {L"pressure", L"", L"overall"}};
const StringList vaporFraction = {L"phaseFraction", L"mole", L"Vapor"};

}  // namespace

TEST_F(Interoperability, LateCallsOfThe10PackageReachNothingOfAFinishedCall)
{
    // A 1.0 package that stores a constant it computes, as it would a result.
    Script().onGetComponentConstant = [](auto &self, ICapeThermoMaterialObject *m, auto &, VARIANT *) {
        SetProp10(m, L"vaporPressure", nullptr, nullptr, {99.0}, L"pure");
        return self.FailWith(ECapeUnknownHR, L"no constants", L"GetComponentConstant");
    };
    FlashSets({L"Vapor"}, {{L"Vapor", 1.0}});
    ScopedVariant handedOut, constant, lnPhi;
    const ScopedVariant pair = Strings({L"Vapor", L"Liquid"});
    const struct {
        const wchar_t *call;
        std::function<HRESULT()> run;
        const wchar_t *property, *phase;  // what the 1.0 package sets afterwards
    } cases[] = {
        {L"T-dependent, then a constant",
         [&] {
             HRESULT hr = package->GetTDependentProperty(Strings({L"vaporPressure"}).Value(), 300.0, VARIANT{},
                                                         handedOut.Get());
             if (SUCCEEDED(hr))
                 package->GetCompoundConstant(Strings({L"molecularWeight"}).Value(), Strings({L"methane"}).Value(),
                                              constant.Get());
             return hr;
         },
         L"vaporPressure", nullptr},
        {L"single-phase, then Edit",
         [&] {
             HRESULT hr = package->CalcSinglePhaseProp(Strings({L"enthalpy"}).Value(), ScopedBstr(L"Vapor").Get());
             return FAILED(hr) ? hr : Utilities()->Edit();
         },
         L"Enthalpy", nullptr},
        {L"two-phase", [&] { return package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), pair.Value()); },
         L"kvalues", L"VaporLiquid"},
        {L"flash", [&] { return Flash(tp[0], tp[1]); }, L"fraction", L"Vapor"},
        {L"lnPhi",
         [&] {
             return package->CalcAndGetLnPhi(ScopedBstr(L"Vapor").Get(), 300.0, 1e5, Doubles({1, 1}).Value(), 1,
                                             lnPhi.Get(), nullptr, nullptr, nullptr);
         },
         L"logFugacityCoefficient", L"Vapor"},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(S_OK, c.run()) << c.call << ": " << Error();
        const size_t stored = material->store.Size();
        EXPECT_EQ(S_OK, SetProp10(Kept(), c.property, c.phase, L"mole", {7.0, 7.0})) << c.call;
        EXPECT_EQ(stored, material->store.Size()) << c.call;
        EXPECT_EQ(ECapeUnknownHR, GetProp10(Kept(), L"temperature", nullptr, nullptr)) << c.call;
        EXPECT_EQ(L"Unexpected call or arguments", package->materialObject->ErrorDescription()) << c.call;
        EXPECT_EQ((std::vector<double>{1.0, 2.0}), ReadDoubles(handedOut.Value())) << c.call;
    }
}

TEST_F(Interoperability, PhaseFractionsOfAVaporFractionFlashAddUpToOne)
{
    const struct {
        double specified;
        StringList compositions;
        std::vector<std::pair<std::wstring, double>> fractions;  // what the 1.0 package sets
        std::vector<double> expected;                            // per present phase, package order
    } cases[] = {
        {0.25, {L"Vapor", L"Liquid"}, {}, {0.25, 0.75}},
        {0.1, {L"Vapor", L"Liquid"}, {{L"Vapor", 0.1}}, {0.1, 0.9}},
        {0.3, {L"Vapor", L"Liquid"}, {{L"Liquid", 0.7}}, {0.3, 0.7}},
        {0.0, {L"Liquid"}, {}, {1.0}},
        {1.0 / 3.0, {L"Vapor", L"Liquid"}, {}, {1.0 / 3.0, 2.0 / 3.0}},
    };
    for (const auto &c : cases) {
        material->Put(L"phaseFraction", L"Vapor", L"mole", {c.specified});
        FlashSets(c.compositions, c.fractions);
        ASSERT_EQ(S_OK, Flash(vaporFraction, tp[1])) << c.specified << ": " << Error();
        ASSERT_EQ(c.compositions, material->presentPhases);
        SCOPED_TRACE(c.specified);
        for (size_t p = 0; p < c.expected.size(); ++p)
            ExpectNear({c.expected[p]}, material->Values(L"phaseFraction", c.compositions[p], L"mole"), 0, 1e-15);
    }
    // Two phases without a fraction and no way to tell them apart still fail.
    Script().phases = {L"Vapor", L"Liquid", L"Liquid2"};
    Utilities()->Edit();
    FlashSets({L"Liquid", L"Liquid2"}, {});
    EXPECT_EQ(ECapeUnknownHR, Flash(vaporFraction, tp[1]));
    EXPECT_EQ(L"Phase fraction was not set for present phase Liquid", Error());
}

TEST_F(Interoperability, LnPhiIsThatOfTheFractionsWithDerivativesPerMoleOfTheCallersAmount)
{
    // A 1.0 package that takes what it reads for fractions.
    std::vector<double> read;
    Script().onCalcProp = [&](auto &, ICapeThermoMaterialObject *m, const StringList &props, const StringList &phases,
                              auto &) {
        const wchar_t *phase = phases[0].c_str();
        if (HRESULT hr = GetProp10(m, L"fraction", phase, L"mole", &read); FAILED(hr)) return hr;
        std::vector<double> lnPhi, dn;
        Margules(read, lnPhi, dn);
        for (const std::wstring &p : props)
            if (HRESULT hr = SetProp10(m, p.c_str(), phase, nullptr, p.find(L'.') == p.npos ? lnPhi : dn); FAILED(hr))
                return hr;
        return S_OK;
    };
    ScopedVariant value, derivative;
    ASSERT_EQ(S_OK, package->CalcAndGetLnPhi(ScopedBstr(L"Liquid").Get(), 300.0, 3e6, Doubles({3.0, 1.0}).Value(), 9,
                                             value.Get(), nullptr, nullptr, derivative.Get()))
        << Error();
    EXPECT_EQ((std::vector<double>{0.75, 0.25}), read);  // fractions, not moles
    std::vector<double> lnPhi, dn;
    Margules(read, lnPhi, dn);
    EXPECT_EQ(lnPhi, ReadDoubles(value.Value()));
    // d ln phi / d n for the caller's four moles: the one mole's values over four.
    for (double &d : dn) d /= 4.0;
    ExpectNear(dn, ReadDoubles(derivative.Value()), 1e-15);
}

TEST_F(Interoperability, PropertiesReachThe10PackageOnceAndSpelledAsItListsThem)
{
    ScopedBstr vapor(L"Vapor");
    ASSERT_EQ(S_OK, package->CalcSinglePhaseProp(Strings({L"enthalpy", L"ENTHALPY"}).Value(), vapor.Get())) << Error();
    EXPECT_EQ(L"CalcProp [Enthalpy] [Vapor] mixture", package10->script.calls.back());
    EXPECT_EQ(1, material->CountCalls(L"SetSinglePhaseProp enthalpy Vapor"));

    ScopedVariant values;
    ASSERT_EQ(S_OK, package->GetTDependentProperty(Strings({L"VAPORPRESSURE", L"vaporPressure"}).Value(), 300.0,
                                                   Strings({L"methane", L"ethane"}).Value(), values.Get()))
        << Error();
    EXPECT_EQ(L"CalcProp [vaporPressure] [Liquid] pure", package10->script.calls.back());
    EXPECT_EQ((std::vector<double>{1, 2, 1, 2}), ReadDoubles(values.Value()));

    // lnPhi asks with the names as listed now, also after the user's Edit respelt one.
    ScopedVariant lnPhi, dn;
    Script().onCalcProp = nullptr;
    for (const std::wstring spelling : {L"logFugacityCoefficient", L"LOGFUGACITYCOEFFICIENT"}) {
        Script().propList[4] = spelling;
        ASSERT_EQ(S_OK, Utilities()->Edit());
        package->CalcAndGetLnPhi(vapor.Get(), 300.0, 1e5, Doubles({1, 1}).Value(), 9, lnPhi.Get(), nullptr, nullptr,
                                 dn.Get());
        EXPECT_EQ(L"CalcProp [" + spelling + L", logFugacityCoefficient.dmoles] [Vapor] mixture",
                  package10->script.calls.back());
    }
}

TEST_F(Interoperability, MaterialObjectTakesStateVariablesAsReal10PackagesWriteThem)
{
    // Calls a 1.0 package makes inside a calculation, what each returns, for
    // reads what the package gets back, and for failures the message.
    struct Call {
        bool set;
        const wchar_t *property, *phase, *basis;
        std::vector<double> values;
        HRESULT expected;
        const wchar_t *error = nullptr;
    };
    std::vector<Call> calls;
    StringList phaseIds;  // what the material object names as this call's phases
    std::wstring phaseIdsError;
    auto run = [&](ICapeThermoMaterialObject *m) {
        for (const Call &c : calls) {
            SCOPED_TRACE(testing::Message() << (c.set ? "SetProp " : "GetProp ") << c.property);
            std::vector<double> read;
            EXPECT_EQ(c.expected, c.set ? SetProp10(m, c.property, c.phase, c.basis, c.values, nullptr)
                                        : GetProp10(m, c.property, c.phase, c.basis, &read, nullptr));
            if (c.error) {
                EXPECT_EQ(c.error, package->materialObject->ErrorDescription());
            }
            if (!c.set && c.expected == S_OK) ExpectNear(c.values, read, 1e-15);
        }
        calls.clear();  // checked
        ScopedVariant ids;
        phaseIdsError = SUCCEEDED(m->get_PhaseIds(ids.Get())) ? L"" : package->materialObject->ErrorDescription();
        phaseIds = ReadStrings(ids.Value());
    };
    // Only single- and two-phase calculations have phases to name.
    auto check = [&](const wchar_t *mode, const StringList &phases = {}) {
        EXPECT_TRUE(calls.empty()) << mode << ": the 1.0 package's calls were not made";
        EXPECT_EQ(phases, phaseIds) << mode;
        EXPECT_EQ(phases.empty() ? L"CMaterialObject::get_PhaseIds is not implemented" : L"", phaseIdsError) << mode;
    };
    // The result first, so that the calls can try to overwrite it.
    Script().onCalcProp = [&](auto &, ICapeThermoMaterialObject *m, const StringList &props, const StringList &phases,
                              const std::wstring &calcType) {
        const bool pure = calcType == L"pure";
        if (HRESULT hr = SetProp10(m, props[0].c_str(), pure ? nullptr : phases[0].c_str(), nullptr, {0.0, 0.0},
                                   calcType.c_str());
            FAILED(hr))
            return hr;
        run(m);
        return S_OK;
    };
    const wchar_t *refused = L"Unexpected call or arguments";
    material->Put(L"temperature", L"Vapor", L"", {320.0});
    material->Put(L"totalFlow", L"Vapor", L"mole", {2.0});
    material->Put(L"pressure", L"Overall", L"", {1e5});
    material->Put(L"phaseFraction", L"Vapor", L"mole", {0.5});
    material->calls.clear();

    // Single phase: 1.1 spellings and no basis for T and P on the 1.1 side.
    calls = {{false, L"Temperature", L"Vapor", L"mole", {320.0}, S_OK},
             {false, L"TOTALFLOW", L"Vapor", L"mole", {2.0}, S_OK},
             {true, L"flow", L"Vapor", L"mole", {1, 1}, S_OK},
             {false, L"enthalpy", L"Vapor", L"mole", {}, ECapeUnknownHR, refused}};
    ASSERT_EQ(S_OK, package->CalcSinglePhaseProp(Strings({L"enthalpy"}).Value(), ScopedBstr(L"Vapor").Get()))
        << Error();
    check(L"single-phase", {L"Vapor"});
    EXPECT_EQ(1, Logged(L"GetSinglePhaseProp temperature Vapor "));
    EXPECT_EQ(1, Logged(L"GetSinglePhaseProp totalFlow Vapor mole"));

    // Fugacity coefficients: an empty phase is no phase; amounts are those of one mole.
    const double mass = 0.25 * 16.043 + 0.75 * 30.07;  // g per mole of the call's composition
    calls = {{false, L"temperature", L"", nullptr, {300.0}, S_OK},
             {false, L"totalFlow", nullptr, L"mole", {1.0}, S_OK},
             {false, L"flow", L"Vapor", L"mole", {0.25, 0.75}, S_OK},
             {false, L"totalFlow", L"Vapor", L"mass", {0.25 * 0.016043 + 0.75 * 0.03007}, S_OK},
             {true, L"totalFlow", L"Vapor", L"mole", {4.0}, S_OK},
             {false, L"fraction", L"Vapor", L"mass", {0.25 * 16.043 / mass, 0.75 * 30.07 / mass}, S_OK},
             {false, L"fraction", L"Vapor", L"molar", {}, ECapeUnknownHR, L"Unexpected basis. Should be \"mole\" or \"mass\""},
             {false, L"fraction", L"Liquid", L"mole", {}, ECapeUnknownHR, refused},
             {true, L"logFugacityCoefficient", L"Vapor", L"mole", {1, 2}, ECapeUnknownHR, L"Invalid basis"},
             {true, L"logFugacityCoefficient", L"Liquid", nullptr, {9, 9}, S_OK}};  // not this call's phase
    ScopedVariant lnPhi;
    ASSERT_EQ(S_OK, package->CalcAndGetLnPhi(ScopedBstr(L"Vapor").Get(), 300.0, 1e5, Doubles({1, 3}).Value(), 1,
                                             lnPhi.Get(), nullptr, nullptr, nullptr))
        << Error();
    check(L"lnPhi");
    EXPECT_EQ((std::vector<double>{0, 0}), ReadDoubles(lnPhi.Value()));

    // Pure values: temperature of no phase but overall, one value per compound.
    calls = {{false, L"temperature", L"OVERALL", nullptr, {300.0}, S_OK},
             {false, L"temperature", L"Vapor", nullptr, {}, ECapeUnknownHR, refused},
             {false, L"enthalpy", nullptr, nullptr, {}, ECapeUnknownHR, refused},
             {true, L"vaporPressure", nullptr, nullptr, {1, 2, 3}, ECapeUnknownHR, L"Unexpected number of values"}};
    ScopedVariant pure;
    ASSERT_EQ(S_OK, package->GetTDependentProperty(Strings({L"vaporPressure"}).Value(), 300.0, VARIANT{}, pure.Get()))
        << Error();
    check(L"pure");

    // Two-phase values belong to the pair only.
    calls = {{true, L"kvalues", L"Vapor", nullptr, {7, 7}, S_OK},
             {true, L"kvalues", L"liquid", nullptr, {7, 7}, ECapeUnknownHR, refused}};
    ASSERT_EQ(S_OK, package->CalcTwoPhaseProp(Strings({L"kvalue"}).Value(), Strings({L"Vapor", L"Liquid"}).Value()))
        << Error();
    check(L"two-phase", {L"Vapor", L"Liquid"});
    EXPECT_EQ((std::vector<double>{0, 0}), material->Values(L"kvalue", L"Vapor,Liquid", L""));

    // Flash: bases on T and P ignored, amounts and the overall composition
    // dropped, an empty phase refused like a null one.
    calls = {{false, L"pressure", L"Overall", L"mole", {1e5}, S_OK},
             {false, L"phaseFraction", L"Vapor", L"mole", {0.5}, S_OK},
             {true, L"temperature", nullptr, L"mole", {350.0}, S_OK},
             {true, L"Pressure", L"", L"mole", {1e5}, S_OK},
             {true, L"totalFlow", L"Overall", L"mole", {1.0}, S_OK},
             {true, L"flow", L"Vapor", L"mole", {0.5, 0.5}, S_OK},
             {true, L"fraction", L"Overall", L"mole", {0.5, 0.5}, S_OK},
             {true, L"fraction", L"", L"mole", {0.5, 0.5}, E_POINTER},
             {true, L"pressure", nullptr, nullptr, {1, 2}, ECapeUnknownHR,
              L"Unexpected number of values for pressure: scalar expected"},
             {true, L"fraction", L"Vapor", L"molar", {1, 0}, ECapeUnknownHR, L"Invalid basis for fraction"},
             {true, L"phaseFraction", L"Solid", L"mole", {1}, ECapeUnknownHR, L"Unknown/unsupported phase"},
             {true, L"viscosity", L"Vapor", nullptr, {1}, ECapeUnknownHR, refused},
             {true, L"enthalpy", L"Vapor", L"mole", {1}, S_OK},  // not a flash result: dropped
             {false, L"enthalpy", L"overall", L"mole", {}, ECapeUnknownHR,
              L"Property \"enthalpy\" in \"mole\" basis is not set for overall"},
             {true, L"fraction", L"VAPOR", L"mass", {16.043 / 46.113, 30.07 / 46.113}, S_OK}};
    Script().onCalcEquilibrium = [&](auto &, ICapeThermoMaterialObject *m, auto &) {
        run(m);
        return S_OK;
    };
    ASSERT_EQ(S_OK, Flash(vaporFraction, tp[1])) << Error();
    check(L"flash");
    EXPECT_EQ(1, Logged(L"GetOverallProp pressure Overall "));
    EXPECT_EQ((std::vector<double>{350.0}), material->Values(L"temperature", L"Overall", L""));
    EXPECT_EQ((std::vector<double>{1.0}), material->Values(L"phaseFraction", L"Vapor", L"mole"));
    ExpectNear({16.043 / 46.113, 30.07 / 46.113}, material->Values(L"fraction", L"Vapor", L"mass"), 1e-15);
}

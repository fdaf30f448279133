#include "IdealMixtureModel.h"

#include <algorithm>
#include <cmath>

#include "ComHolders.h"
#include "Names.h"

namespace {

const IdealCompound standardCompounds[] = {
    {L"benzene", 78.112, 4.01814, 1203.835, -53.226, 1.56, 0.2713, 30720.0, 89.4e-6, 0.0282, 353.24},
    {L"toluene", 92.139, 4.07827, 1343.943, -53.773, 11.9, 0.308, 33180.0, 106.9e-6, 0.0279, 383.75},
    {L"p-xylene", 106.165, 4.14553, 1474.403, -55.377, 21.9, 0.352, 35670.0, 123.9e-6, 0.0280, 411.5},
    {L"ethylbenzene", 106.165, 4.06861, 1415.77, -60.115, 24.7, 0.348, 35570.0, 123.1e-6, 0.0288, 409.3},
};

constexpr double gasConstant = 8.314462618;   // J/(mol K)
constexpr double referenceTemperature = 298.15;  // ideal gas enthalpy 0 here
const double ln10 = std::log(10.0);

// Root of an increasing function f on [low, high] by bisection.
template <class F>
double Bisect(F f, double low, double high)
{
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (low + high);
        if (f(mid) > 0.0)
            high = mid;
        else
            low = mid;
    }
    return 0.5 * (low + high);
}

double RachfordRice(const std::vector<double> &z, const std::vector<double> &k, double beta)
{
    double sum = 0.0;
    for (size_t i = 0; i < z.size(); ++i) sum += z[i] * (k[i] - 1.0) / (1.0 + beta * (k[i] - 1.0));
    return sum;
}

// Phase compositions for a known vapour fraction.
void SplitPhases(const std::vector<double> &z, const std::vector<double> &k, IdealFlashResult &result)
{
    result.x.resize(z.size());
    result.y.resize(z.size());
    for (size_t i = 0; i < z.size(); ++i) {
        result.x[i] = z[i] / (1.0 + result.vaporFraction * (k[i] - 1.0));
        result.y[i] = k[i] * result.x[i];
    }
}

// ---- talking to the 1.0 material object

bool Read(ICapeThermoMaterialObject *material, const wchar_t *property, const wchar_t *phase,
          const wchar_t *calcType, const wchar_t *basis, std::vector<double> &values)
{
    ScopedBstr p(property), ph(phase), ct(calcType), b(basis);
    VARIANT noCompounds;
    VariantInit(&noCompounds);
    ScopedVariant result;
    if (FAILED(material->GetProp(p.Get(), ph.Get(), noCompounds, ct.Get(), b.Get(), result.Get()))) return false;
    bool ok = false;
    values = ReadDoubles(result.Value(), &ok);
    return ok;
}

bool ReadScalar(ICapeThermoMaterialObject *material, const wchar_t *property, const wchar_t *phase,
                const wchar_t *calcType, double &value)
{
    std::vector<double> values;
    if (!Read(material, property, phase, calcType, nullptr, values) || values.size() != 1) return false;
    value = values[0];
    return true;
}

HRESULT Write(ICapeThermoMaterialObject *material, const std::wstring &property, const wchar_t *phase,
              const wchar_t *calcType, const wchar_t *basis, const std::vector<double> &values)
{
    ScopedBstr p(property.c_str()), ph(phase), ct(calcType), b(basis);
    VARIANT noCompounds;
    VariantInit(&noCompounds);
    OwnedVariant array = OwnedVariant::Adopt(MakeDoubleArray(values));
    return material->SetProp(p.Get(), ph.Get(), noCompounds, ct.Get(), b.Get(), array.Value());
}

}  // namespace

IdealMixtureModel::IdealMixtureModel(size_t count)
    : compounds(standardCompounds, standardCompounds + std::min<size_t>(std::max<size_t>(count, 2), 4))
{
}

std::vector<std::wstring> IdealMixtureModel::Ids() const
{
    std::vector<std::wstring> ids;
    for (const IdealCompound &c : compounds) ids.push_back(c.id);
    return ids;
}

double IdealMixtureModel::VaporPressure(size_t i, double temperature) const
{
    const IdealCompound &c = compounds[i];
    return 1e5 * std::pow(10.0, c.antoineA - c.antoineB / (temperature + c.antoineC));
}

double IdealMixtureModel::IdealGasHeatCapacity(size_t i, double temperature) const
{
    return compounds[i].cpA + compounds[i].cpB * temperature;
}

double IdealMixtureModel::BoilingPointTemperature(size_t i, double pressure) const
{
    const IdealCompound &c = compounds[i];
    return c.antoineB / (c.antoineA - std::log10(pressure / 1e5)) - c.antoineC;
}

double IdealMixtureModel::Enthalpy(bool vapor, double temperature, const std::vector<double> &z) const
{
    double h = 0.0;
    for (size_t i = 0; i < z.size(); ++i) {
        const IdealCompound &c = compounds[i];
        double hi = c.cpA * (temperature - referenceTemperature) +
                    0.5 * c.cpB * (temperature * temperature - referenceTemperature * referenceTemperature);
        if (!vapor) hi -= c.heatOfVaporization;
        h += z[i] * hi;
    }
    return h;
}

double IdealMixtureModel::MolarVolume(bool vapor, double temperature, double pressure,
                                      const std::vector<double> &z) const
{
    if (vapor) return gasConstant * temperature / pressure;
    double v = 0.0;
    for (size_t i = 0; i < z.size(); ++i) v += z[i] * compounds[i].liquidVolume;
    return v;
}

std::vector<double> IdealMixtureModel::LnPhi(bool vapor, double temperature, double pressure) const
{
    std::vector<double> lnPhi(compounds.size(), 0.0);
    if (!vapor)
        for (size_t i = 0; i < compounds.size(); ++i)
            lnPhi[i] = std::log(VaporPressure(i, temperature) / pressure);
    return lnPhi;
}

std::vector<double> IdealMixtureModel::KValues(double temperature, double pressure) const
{
    std::vector<double> k(compounds.size());
    for (size_t i = 0; i < compounds.size(); ++i) k[i] = VaporPressure(i, temperature) / pressure;
    return k;
}

IdealFlashResult IdealMixtureModel::FlashTP(double temperature, double pressure, const std::vector<double> &z) const
{
    IdealFlashResult result;
    result.temperature = temperature;
    result.pressure = pressure;
    const std::vector<double> k = KValues(temperature, pressure);
    if (RachfordRice(z, k, 0.0) <= 0.0)
        result.vaporFraction = 0.0;  // below the bubble point
    else if (RachfordRice(z, k, 1.0) >= 0.0)
        result.vaporFraction = 1.0;  // above the dew point
    else
        result.vaporFraction = Bisect([&](double beta) { return -RachfordRice(z, k, beta); }, 0.0, 1.0);
    SplitPhases(z, k, result);
    result.converged = true;
    return result;
}

IdealFlashResult IdealMixtureModel::FlashPH(double pressure, double enthalpy, const std::vector<double> &z) const
{
    auto totalEnthalpy = [&](double t) {
        IdealFlashResult r = FlashTP(t, pressure, z);
        return r.vaporFraction * Enthalpy(true, t, r.y) + (1.0 - r.vaporFraction) * Enthalpy(false, t, r.x);
    };
    const double temperature = Bisect([&](double t) { return totalEnthalpy(t) - enthalpy; }, 150.0, 1000.0);
    return FlashTP(temperature, pressure, z);
}

IdealFlashResult IdealMixtureModel::FlashPVF(double pressure, double vaporFraction,
                                             const std::vector<double> &z) const
{
    const double temperature = Bisect(
        [&](double t) { return RachfordRice(z, KValues(t, pressure), vaporFraction); }, 150.0, 1000.0);
    IdealFlashResult result;
    result.temperature = temperature;
    result.pressure = pressure;
    result.vaporFraction = vaporFraction;
    SplitPhases(z, KValues(temperature, pressure), result);
    result.converged = true;
    return result;
}

IdealFlashResult IdealMixtureModel::FlashTVF(double temperature, double vaporFraction,
                                             const std::vector<double> &z) const
{
    // The residual falls with pressure: bisect on -residual over ln P.
    const double lnP = Bisect(
        [&](double lp) { return -RachfordRice(z, KValues(temperature, std::exp(lp)), vaporFraction); },
        std::log(1.0), std::log(1e9));
    IdealFlashResult result;
    result.temperature = temperature;
    result.pressure = std::exp(lnP);
    result.vaporFraction = vaporFraction;
    SplitPhases(z, KValues(temperature, result.pressure), result);
    result.converged = true;
    return result;
}

void IdealMixtureModel::Install(ScriptedPackage10Script &script)
{
    script.compoundIds = Ids();
    script.formulae.assign(Count(), L"");
    script.names = Ids();
    script.casNumbers.assign(Count(), L"");
    script.molecularWeights.clear();
    script.boilingPoints.clear();
    for (const IdealCompound &c : compounds) {
        script.molecularWeights.push_back(c.molecularWeight);
        script.boilingPoints.push_back(c.normalBoilingPoint);
        script.constants[L"molecularWeight"][c.id] = OwnedVariant::Adopt(MakeDouble(c.molecularWeight));
        script.constants[L"normalBoilingPoint"][c.id] = OwnedVariant::Adopt(MakeDouble(c.normalBoilingPoint));
    }
    script.phases = {L"Vapor", L"Liquid"};
    script.propList = {L"vaporPressure", L"idealGasHeatCapacity", L"boilingPointTemperature", L"enthalpy",
                       L"volume", L"density", L"fugacityCoefficient", L"logFugacityCoefficient",
                       L"logFugacityCoefficient.dtemperature", L"logFugacityCoefficient.dpressure",
                       L"logFugacityCoefficient.dmoles", L"kvalues", L"surfaceTension"};
    script.onCalcProp = [this](CScriptedPackage10 &package, ICapeThermoMaterialObject *material,
                               const std::vector<std::wstring> &props, const std::vector<std::wstring> &phases,
                               const std::wstring &calcType) {
        return CalcProp(package, material, props, phases, calcType);
    };
    script.onCalcEquilibrium = [this](CScriptedPackage10 &package, ICapeThermoMaterialObject *material,
                                      const std::wstring &flashType) {
        return CalcEquilibrium(package, material, flashType);
    };
}

namespace {

// Model indices of the compounds the material presents, in its order.
bool PresentedCompounds(const IdealMixtureModel &model, ICapeThermoMaterialObject *material,
                        std::vector<size_t> &indices)
{
    indices.clear();
    ScopedVariant ids;
    if (FAILED(material->get_ComponentIds(ids.Get()))) return false;
    const std::vector<std::wstring> names = ReadStrings(ids.Value());
    if (names.empty()) {
        // An empty identifier list with a count means every compound in order.
        long count = 0;
        if (FAILED(material->GetNumComponents(&count)) || static_cast<size_t>(count) != model.Count()) return false;
        for (size_t i = 0; i < model.Count(); ++i) indices.push_back(i);
        return true;
    }
    for (const std::wstring &name : names) {
        size_t i = 0;
        while (i < model.Count() && !NamesEqual(model.Compound(i).id, name.c_str())) ++i;
        if (i == model.Count()) return false;
        indices.push_back(i);
    }
    return true;
}

// Spreads values of the presented compounds over the model's compound slots.
std::vector<double> Spread(const IdealMixtureModel &model, const std::vector<size_t> &indices,
                           const std::vector<double> &values)
{
    std::vector<double> full(model.Count(), 0.0);
    for (size_t j = 0; j < indices.size() && j < values.size(); ++j) full[indices[j]] = values[j];
    return full;
}

std::vector<double> Gather(const std::vector<size_t> &indices, const std::vector<double> &full)
{
    std::vector<double> values;
    for (size_t i : indices) values.push_back(full[i]);
    return values;
}

}  // namespace

HRESULT IdealMixtureModel::CalcProp(CScriptedPackage10 &package, ICapeThermoMaterialObject *material,
                                    const std::vector<std::wstring> &props, const std::vector<std::wstring> &phases,
                                    const std::wstring &calcType) const
{
    auto fail = [&](const std::wstring &why) { return package.FailWith(ECapeUnknownHR, why, L"CalcProp"); };
    std::vector<size_t> indices;
    if (!material || !PresentedCompounds(*this, material, indices)) return fail(L"Unknown compounds");
    if (phases.size() != 1) return fail(L"One phase expected");
    const wchar_t *phase = phases[0].c_str();
    const size_t n = indices.size();

    if (NamesEqual(calcType.c_str(), L"pure")) {
        double temperature = 0.0, pressure = 0.0;
        if (!ReadScalar(material, L"temperature", nullptr, nullptr, temperature) ||
            !ReadScalar(material, L"pressure", nullptr, nullptr, pressure))
            return fail(L"No conditions");
        for (const std::wstring &prop : props) {
            std::vector<double> values;
            const wchar_t *basis = nullptr;
            for (size_t i : indices) {
                if (NamesEqual(prop.c_str(), L"vaporPressure")) {
                    values.push_back(VaporPressure(i, temperature));
                } else if (NamesEqual(prop.c_str(), L"idealGasHeatCapacity")) {
                    double cp = IdealGasHeatCapacity(i, temperature);
                    if (pureValuesInMassBasis) {
                        cp /= compounds[i].molecularWeight * 1e-3;  // J/(kg K)
                        basis = L"mass";
                    }
                    values.push_back(cp);
                } else if (NamesEqual(prop.c_str(), L"boilingPointTemperature")) {
                    values.push_back(BoilingPointTemperature(i, pressure));
                }
            }
            if (values.size() != n) continue;  // not a property of this model
            if (FAILED(Write(material, prop, phase, L"pure", basis, values))) return fail(L"SetProp failed");
        }
        return S_OK;
    }

    // Mixture properties: conditions and composition of the phase asked for.
    const bool twoPhase = NamesEqual(phase, L"VaporLiquid") ||
                          (props.size() == 1 && NamesEqual(props[0].c_str(), L"surfaceTension"));
    double temperature = 0.0, pressure = 0.0;
    if (!ReadScalar(material, L"temperature", phase, L"mixture", temperature) ||
        !ReadScalar(material, L"pressure", phase, L"mixture", pressure))
        return fail(L"No conditions");
    if (twoPhase) {
        for (const std::wstring &prop : props) {
            if (NamesEqual(prop.c_str(), L"kvalues")) {
                if (FAILED(Write(material, prop, phase, L"mixture", nullptr,
                                 Gather(indices, KValues(temperature, pressure)))))
                    return fail(L"SetProp failed");
            } else if (NamesEqual(prop.c_str(), L"surfaceTension")) {
                if (surfaceTensionOnlyOnLiquid && !NamesEqual(phase, L"Liquid"))
                    return fail(L"Surface tension is given for the phase Liquid only");
                std::vector<double> x;
                if (!Read(material, L"fraction", L"Liquid", L"mixture", L"mole", x) || x.size() != n)
                    return fail(L"No liquid composition");
                double sigma = 0.0;
                for (size_t j = 0; j < n; ++j) sigma += x[j] * compounds[indices[j]].surfaceTension;
                if (FAILED(Write(material, prop, phase, L"mixture", nullptr, {sigma})))
                    return fail(L"SetProp failed");
            }
        }
        return S_OK;
    }

    const bool vapor = NamesEqual(phase, L"Vapor");
    std::vector<double> amounts;
    if (!Read(material, L"fraction", phase, L"mixture", L"mole", amounts) || amounts.size() != n)
        return fail(L"No composition");
    double total = 0.0;
    for (double a : amounts) total += a;
    std::vector<double> z = amounts;
    if (total > 0.0)
        for (double &v : z) v /= total;
    const std::vector<double> full = Spread(*this, indices, z);
    const std::vector<double> lnPhi = Gather(indices, LnPhi(vapor, temperature, pressure));
    for (const std::wstring &prop : props) {
        std::vector<double> values;
        const wchar_t *basis = nullptr;
        if (NamesEqual(prop.c_str(), L"enthalpy")) {
            values = {Enthalpy(vapor, temperature, full)};
            basis = L"mole";
        } else if (NamesEqual(prop.c_str(), L"volume")) {
            values = {MolarVolume(vapor, temperature, pressure, full)};
            basis = L"mole";
        } else if (NamesEqual(prop.c_str(), L"density")) {
            values = {1.0 / MolarVolume(vapor, temperature, pressure, full)};
            basis = L"mole";
        } else if (NamesEqual(prop.c_str(), L"fugacityCoefficient")) {
            for (double l : lnPhi) values.push_back(std::exp(l));
        } else if (NamesEqual(prop.c_str(), L"logFugacityCoefficient")) {
            values = lnPhi;
        } else if (NamesEqual(prop.c_str(), L"logFugacityCoefficient.dtemperature")) {
            for (size_t i : indices) {
                const IdealCompound &c = compounds[i];
                const double shifted = temperature + c.antoineC;
                values.push_back(vapor ? 0.0 : ln10 * c.antoineB / (shifted * shifted));
            }
        } else if (NamesEqual(prop.c_str(), L"logFugacityCoefficient.dpressure")) {
            values.assign(n, vapor ? 0.0 : -1.0 / pressure);
        } else if (NamesEqual(prop.c_str(), L"logFugacityCoefficient.dmoles")) {
            values.assign(n * n, 0.0);  // ideal in both phases
            basis = L"mole";
        } else {
            continue;  // not a property of this model
        }
        if (FAILED(Write(material, prop, phase, L"mixture", basis, values))) return fail(L"SetProp failed");
    }
    return S_OK;
}

HRESULT IdealMixtureModel::CalcEquilibrium(CScriptedPackage10 &package, ICapeThermoMaterialObject *material,
                                           const std::wstring &flashType) const
{
    auto fail = [&](const std::wstring &why) { return package.FailWith(ECapeUnknownHR, why, L"CalcEquilibrium"); };
    std::vector<size_t> indices;
    if (!material || !PresentedCompounds(*this, material, indices)) return fail(L"Unknown compounds");
    std::vector<double> z;
    if (!Read(material, L"fraction", L"Overall", L"mixture", L"mole", z) || z.size() != indices.size())
        return fail(L"No overall composition");
    const std::vector<double> full = Spread(*this, indices, z);

    double temperature = 0.0, pressure = 0.0;
    std::vector<double> beta;
    const bool specifiesT = flashType == L"TP" || flashType == L"TVF";
    const bool specifiesP = flashType == L"TP" || flashType == L"PH" || flashType == L"PVF";
    if (specifiesT && !ReadScalar(material, L"temperature", L"Overall", nullptr, temperature))
        return fail(L"No temperature");
    if (specifiesP && !ReadScalar(material, L"pressure", L"Overall", nullptr, pressure)) return fail(L"No pressure");
    IdealFlashResult result;
    if (flashType == L"TP") {
        result = FlashTP(temperature, pressure, full);
    } else if (flashType == L"PH") {
        std::vector<double> h;
        if (!Read(material, L"enthalpy", L"Overall", nullptr, L"mole", h) || h.size() != 1)
            return fail(L"No enthalpy");
        result = FlashPH(pressure, h[0], full);
    } else if (flashType == L"PVF" || flashType == L"TVF") {
        if (!Read(material, L"phaseFraction", L"Vapor", nullptr, L"mole", beta) || beta.size() != 1)
            return fail(L"No vapour fraction");
        result = flashType == L"PVF" ? FlashPVF(pressure, beta[0], full) : FlashTVF(temperature, beta[0], full);
    } else {
        return fail(L"Flash type " + flashType + L" is not supported");
    }

    if (!specifiesT || setsSpecifiedConditions)
        if (FAILED(Write(material, L"temperature", L"Overall", nullptr, nullptr, {result.temperature})))
            return fail(L"SetProp failed");
    if (!specifiesP || setsSpecifiedConditions)
        if (FAILED(Write(material, L"pressure", L"Overall", nullptr, nullptr, {result.pressure})))
            return fail(L"SetProp failed");
    const struct {
        const wchar_t *label;
        bool present;
        const std::vector<double> &composition;
        double fraction;
    } phases[] = {{L"Vapor", result.vaporFraction > 0.0, result.y, result.vaporFraction},
                  {L"Liquid", result.vaporFraction < 1.0, result.x, 1.0 - result.vaporFraction}};
    for (const auto &phase : phases) {
        if (!phase.present) continue;
        if (FAILED(Write(material, L"fraction", phase.label, nullptr, L"mole", Gather(indices, phase.composition))))
            return fail(L"SetProp failed");
        if (setsPhaseFractions && FAILED(Write(material, L"phaseFraction", phase.label, nullptr, L"mole",
                                               {phase.fraction})))
            return fail(L"SetProp failed");
    }
    return S_OK;
}

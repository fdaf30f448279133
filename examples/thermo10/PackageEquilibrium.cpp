// CalcEquilibrium of the example packages: "TP", "PH", "PS", "PVF" and "TVF"
// flashes of the material's overall composition.
#include "ExamplePropertyPackage.h"

#include "Names.h"

namespace {

const wchar_t *const Interface = L"ICapeThermoPropertyPackage";
const wchar_t *const Scope = L"CExamplePropertyPackage::CalcEquilibrium";

}  // namespace

STDMETHODIMP CExamplePropertyPackage::CalcEquilibrium(IDispatch *materialObject, BSTR flashType, VARIANT)
{
    return ComGuard([&] {
        std::wstring error;
        MaterialBinding binding(material);
        if (!material.Bind(materialObject, error) || !material.ReadCompounds(indices, error))
            return Fail(error, Scope, Interface);
        UseCompounds(indices);
        if (!RunFlash(flashType, error) || !WriteFlashResult(error)) return Fail(error, Scope, Interface);
        return S_OK;
    });
}

bool CExamplePropertyPackage::RunFlash(const wchar_t *flashType, std::wstring &error)
{
    std::vector<double> &z = values;
    if (!material.Read(fraction.Get(), overall.Get(), mixture.Get(), mole.Get(), model->Size(), z, error) ||
        !NormalizeComposition(z, error))
        return false;
    double T = 0, P = 0, specified = 0;
    auto read = [&](ScopedBstr &property, ScopedBstr &phase, BSTR basis, double &value) {
        return material.ReadScalar(property.Get(), phase.Get(), mixture.Get(), basis, value, error);
    };
    bool ok;
    if (NamesEqual(flashType, L"TP")) {
        ok = read(temperature, overall, nullptr, T) && read(pressure, overall, nullptr, P) &&
             flash->TP(T, P, z, flashResult, error);
    } else if (NamesEqual(flashType, L"PH")) {
        ok = read(pressure, overall, nullptr, P) && read(enthalpy, overall, mole.Get(), specified) &&
             flash->PH(P, specified, z, flashResult, error);
    } else if (NamesEqual(flashType, L"PS")) {
        ok = read(pressure, overall, nullptr, P) && read(entropy, overall, mole.Get(), specified) &&
             flash->PS(P, specified, z, flashResult, error);
    } else if (NamesEqual(flashType, L"PVF")) {
        ok = read(pressure, overall, nullptr, P) && read(phaseFraction, vapor, mole.Get(), specified) &&
             flash->PVF(P, specified, z, flashResult, error);
    } else if (NamesEqual(flashType, L"TVF")) {
        ok = read(temperature, overall, nullptr, T) && read(phaseFraction, vapor, mole.Get(), specified) &&
             flash->TVF(T, specified, z, flashResult, error);
    } else {
        error = std::wstring(L"Unsupported flash type \"") + (flashType ? flashType : L"") +
                L"\": supported are \"TP\", \"PH\", \"PS\", \"PVF\" and \"TVF\"";
        return false;
    }
    return ok;
}

bool CExamplePropertyPackage::WriteFlashResult(std::wstring &error)
{
    const FlashResult &r = flashResult;
    if (!material.Write(temperature.Get(), overall.Get(), false, mixture.Get(), nullptr, &r.temperature, 1,
                        error) ||
        !material.Write(pressure.Get(), overall.Get(), false, mixture.Get(), nullptr, &r.pressure, 1, error))
        return false;
    const std::size_t n = model->Size();
    if (r.hasVapor) {
        double beta = r.hasLiquid ? r.vaporFraction : 1.0;
        if (!material.Write(fraction.Get(), vapor.Get(), true, mixture.Get(), mole.Get(), r.y.data(), n,
                            error) ||
            !material.Write(phaseFraction.Get(), vapor.Get(), false, mixture.Get(), mole.Get(), &beta, 1,
                            error))
            return false;
    }
    if (r.hasLiquid) {
        double beta = r.hasVapor ? 1 - r.vaporFraction : 1.0;
        if (!material.Write(fraction.Get(), liquid.Get(), true, mixture.Get(), mole.Get(), r.x.data(), n,
                            error) ||
            !material.Write(phaseFraction.Get(), liquid.Get(), false, mixture.Get(), mole.Get(), &beta, 1,
                            error))
            return false;
    }
    return true;
}

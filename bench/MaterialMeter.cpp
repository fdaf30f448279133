#include "MaterialMeter.h"

#include "Allocations.h"
#include "Clock.h"

namespace {

template <class Call>
HRESULT Metered(MeterReading &reading, Call &&call)
{
    ++reading.calls;
    const long long allocations = AllocationCount();
    const long long start = Ticks();
    const HRESULT hr = call();
    reading.ticks += Ticks() - start;
    reading.allocations += AllocationCount() - allocations;
    return hr;
}

}  // namespace

ComPtr<CMaterial11Meter> CMaterial11Meter::Create(ICapeThermoMaterial *material)
{
    ComPtr<ICapeThermoMaterial> created;
    CreateComObject<CMaterial11Meter>(nullptr, __uuidof(ICapeThermoMaterial), created.ReceiveVoid());
    auto *meter = static_cast<CMaterial11Meter *>(static_cast<DispatchPart<ICapeThermoMaterial> *>(created.Get()));
    meter->material_ = material;
    QueryFrom(material, meter->compounds_);
    return ComPtr<CMaterial11Meter>(meter);
}

IUnknown *CMaterial11Meter::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoMaterial))) return Interface();
    if (IsEqualIID(riid, __uuidof(ICapeThermoCompounds)) && compounds_)
        return static_cast<DispatchPart<ICapeThermoCompounds> *>(this);
    return nullptr;
}

HRESULT CMaterial11Meter::ClearAllProps()
{
    return Metered(reading, [&] { return material_->ClearAllProps(); });
}

HRESULT CMaterial11Meter::CopyFromMaterial(IDispatch **source)
{
    return Metered(reading, [&] { return material_->CopyFromMaterial(source); });
}

HRESULT CMaterial11Meter::CreateMaterial(IDispatch **materialObject)
{
    return Metered(reading, [&] { return material_->CreateMaterial(materialObject); });
}

HRESULT CMaterial11Meter::GetOverallProp(BSTR property, BSTR basis, VARIANT *results)
{
    return Metered(reading, [&] { return material_->GetOverallProp(property, basis, results); });
}

HRESULT CMaterial11Meter::GetOverallTPFraction(double *temperature, double *pressure, VARIANT *composition)
{
    return Metered(reading, [&] { return material_->GetOverallTPFraction(temperature, pressure, composition); });
}

HRESULT CMaterial11Meter::GetPresentPhases(VARIANT *phaseLabels, VARIANT *phaseStatus)
{
    return Metered(reading, [&] { return material_->GetPresentPhases(phaseLabels, phaseStatus); });
}

HRESULT CMaterial11Meter::GetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT *results)
{
    return Metered(reading, [&] { return material_->GetSinglePhaseProp(property, phaseLabel, basis, results); });
}

HRESULT CMaterial11Meter::GetTPFraction(BSTR phaseLabel, double *temperature, double *pressure, VARIANT *composition)
{
    return Metered(reading, [&] { return material_->GetTPFraction(phaseLabel, temperature, pressure, composition); });
}

HRESULT CMaterial11Meter::GetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT *results)
{
    return Metered(reading, [&] { return material_->GetTwoPhaseProp(property, phaseLabels, basis, results); });
}

HRESULT CMaterial11Meter::SetOverallProp(BSTR property, BSTR basis, VARIANT values)
{
    return Metered(reading, [&] { return material_->SetOverallProp(property, basis, values); });
}

HRESULT CMaterial11Meter::SetPresentPhases(VARIANT phaseLabels, VARIANT phaseStatus)
{
    return Metered(reading, [&] { return material_->SetPresentPhases(phaseLabels, phaseStatus); });
}

HRESULT CMaterial11Meter::SetSinglePhaseProp(BSTR property, BSTR phaseLabel, BSTR basis, VARIANT values)
{
    return Metered(reading, [&] { return material_->SetSinglePhaseProp(property, phaseLabel, basis, values); });
}

HRESULT CMaterial11Meter::SetTwoPhaseProp(BSTR property, VARIANT phaseLabels, BSTR basis, VARIANT values)
{
    return Metered(reading, [&] { return material_->SetTwoPhaseProp(property, phaseLabels, basis, values); });
}

HRESULT CMaterial11Meter::GetCompoundConstant(VARIANT props, VARIANT compIds, VARIANT *propVals)
{
    return Metered(reading, [&] { return compounds_->GetCompoundConstant(props, compIds, propVals); });
}

HRESULT CMaterial11Meter::GetCompoundList(VARIANT *compIds, VARIANT *formulae, VARIANT *names, VARIANT *boilTemps, VARIANT *molwts, VARIANT *casnos)
{
    return Metered(reading, [&] { return compounds_->GetCompoundList(compIds, formulae, names, boilTemps, molwts, casnos); });
}

HRESULT CMaterial11Meter::GetConstPropList(VARIANT *props)
{
    return Metered(reading, [&] { return compounds_->GetConstPropList(props); });
}

HRESULT CMaterial11Meter::GetNumCompounds(long *num)
{
    return Metered(reading, [&] { return compounds_->GetNumCompounds(num); });
}

HRESULT CMaterial11Meter::GetPDependentProperty(VARIANT props, double pressure, VARIANT compIds, VARIANT *propVals)
{
    return Metered(reading, [&] { return compounds_->GetPDependentProperty(props, pressure, compIds, propVals); });
}

HRESULT CMaterial11Meter::GetPDependentPropList(VARIANT *props)
{
    return Metered(reading, [&] { return compounds_->GetPDependentPropList(props); });
}

HRESULT CMaterial11Meter::GetTDependentProperty(VARIANT props, double temperature, VARIANT compIds, VARIANT *propVals)
{
    return Metered(reading, [&] { return compounds_->GetTDependentProperty(props, temperature, compIds, propVals); });
}

HRESULT CMaterial11Meter::GetTDependentPropList(VARIANT *props)
{
    return Metered(reading, [&] { return compounds_->GetTDependentPropList(props); });
}

ComPtr<CMaterial10Meter> CMaterial10Meter::Create(ICapeThermoMaterialObject *material)
{
    ComPtr<ICapeThermoMaterialObject> created;
    CreateComObject<CMaterial10Meter>(nullptr, __uuidof(ICapeThermoMaterialObject), created.ReceiveVoid());
    auto *meter =
        static_cast<CMaterial10Meter *>(static_cast<DispatchPart<ICapeThermoMaterialObject> *>(created.Get()));
    meter->material_ = material;
    return ComPtr<CMaterial10Meter>(meter);
}

IUnknown *CMaterial10Meter::FindOwnInterface(REFIID riid)
{
    return IsEqualIID(riid, __uuidof(ICapeThermoMaterialObject)) ? Interface() : nullptr;
}

HRESULT CMaterial10Meter::get_ComponentIds(VARIANT *compIds)
{
    return Metered(reading, [&] { return material_->get_ComponentIds(compIds); });
}

HRESULT CMaterial10Meter::get_PhaseIds(VARIANT *phaseIds)
{
    return Metered(reading, [&] { return material_->get_PhaseIds(phaseIds); });
}

HRESULT CMaterial10Meter::GetUniversalConstant(VARIANT props, VARIANT *propVals)
{
    return Metered(reading, [&] { return material_->GetUniversalConstant(props, propVals); });
}

HRESULT CMaterial10Meter::GetComponentConstant(VARIANT props, VARIANT compIds, VARIANT *propVals)
{
    return Metered(reading, [&] { return material_->GetComponentConstant(props, compIds, propVals); });
}

HRESULT CMaterial10Meter::CalcProp(VARIANT props, VARIANT phases, BSTR calcType)
{
    return Metered(reading, [&] { return material_->CalcProp(props, phases, calcType); });
}

HRESULT CMaterial10Meter::GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis, VARIANT *results)
{
    return Metered(reading, [&] { return material_->GetProp(property, phase, compIds, calcType, basis, results); });
}

HRESULT CMaterial10Meter::SetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis, VARIANT values)
{
    return Metered(reading, [&] { return material_->SetProp(property, phase, compIds, calcType, basis, values); });
}

HRESULT CMaterial10Meter::CalcEquilibrium(BSTR flashType, VARIANT props)
{
    return Metered(reading, [&] { return material_->CalcEquilibrium(flashType, props); });
}

HRESULT CMaterial10Meter::SetIndependentVar(VARIANT indVars, VARIANT values)
{
    return Metered(reading, [&] { return material_->SetIndependentVar(indVars, values); });
}

HRESULT CMaterial10Meter::GetIndependentVar(VARIANT indVars, VARIANT *values)
{
    return Metered(reading, [&] { return material_->GetIndependentVar(indVars, values); });
}

HRESULT CMaterial10Meter::PropCheck(VARIANT props, VARIANT *valid)
{
    return Metered(reading, [&] { return material_->PropCheck(props, valid); });
}

HRESULT CMaterial10Meter::AvailableProps(VARIANT *props)
{
    return Metered(reading, [&] { return material_->AvailableProps(props); });
}

HRESULT CMaterial10Meter::RemoveResults(VARIANT props)
{
    return Metered(reading, [&] { return material_->RemoveResults(props); });
}

HRESULT CMaterial10Meter::CreateMaterialObject(IDispatch **materialObject)
{
    return Metered(reading, [&] { return material_->CreateMaterialObject(materialObject); });
}

HRESULT CMaterial10Meter::Duplicate(IDispatch **clone)
{
    return Metered(reading, [&] { return material_->Duplicate(clone); });
}

HRESULT CMaterial10Meter::ValidityCheck(VARIANT props, VARIANT *valid)
{
    return Metered(reading, [&] { return material_->ValidityCheck(props, valid); });
}

HRESULT CMaterial10Meter::GetPropList(VARIANT *props)
{
    return Metered(reading, [&] { return material_->GetPropList(props); });
}

HRESULT CMaterial10Meter::GetNumComponents(long *count)
{
    return Metered(reading, [&] { return material_->GetNumComponents(count); });
}

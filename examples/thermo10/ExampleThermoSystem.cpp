#include "ExampleThermoSystem.h"

#include "ComHolders.h"
#include "ExampleIds.h"
#include "ExamplePropertyPackage.h"
#include "Names.h"
#include "VariantArray.h"

namespace {

const wchar_t *const Interface = L"ICapeThermoSystem";
const wchar_t *const PackageNames[] = {L"Peng-Robinson", L"Ideal"};

}  // namespace

CExampleThermoSystem::CExampleThermoSystem()
{
    SetIdentification(ExampleThermoName, L"Example CAPE-OPEN 1.0 thermo system: Peng-Robinson and Ideal");
}

IUnknown *CExampleThermoSystem::FindOwnInterface(REFIID riid)
{
    if (IsEqualIID(riid, __uuidof(ICapeThermoSystem)))
        return static_cast<DispatchPart<ICapeThermoSystem> *>(this);
    if (IsEqualIID(riid, __uuidof(ICapeUtilities))) return static_cast<DispatchPart<ICapeUtilities> *>(this);
    return nullptr;
}

STDMETHODIMP CExampleThermoSystem::GetPropertyPackages(VARIANT *propPackageList)
{
    return ComGuard([&] {
        if (!propPackageList) return E_POINTER;
        CVariantArray list;
        list.Create(2, VT_BSTR);
        for (LONG i = 0; i < 2; ++i) {
            ScopedBstr name(PackageNames[i]);
            list.PutElement(i, name.Get());
        }
        *propPackageList = list.Value();
        list.Disown();
        return S_OK;
    });
}

STDMETHODIMP CExampleThermoSystem::ResolvePropertyPackage(BSTR propertyPackage, IDispatch **propPackObject)
{
    return ComGuard([&] {
        const wchar_t *scope = L"CExampleThermoSystem::ResolvePropertyPackage";
        if (!propPackObject) return E_POINTER;
        *propPackObject = nullptr;
        ExampleModel kind;
        if (NamesEqual(propertyPackage, PackageNames[0])) {
            kind = ExampleModel::PengRobinson;
        } else if (NamesEqual(propertyPackage, PackageNames[1])) {
            kind = ExampleModel::Ideal;
        } else {
            return Fail(L"Unknown property package \"" +
                            std::wstring(propertyPackage ? propertyPackage : L"") +
                            L"\": available are \"Peng-Robinson\" and \"Ideal\"",
                        scope, Interface);
        }
        ComPtr<ICapeThermoPropertyPackage> package;
        HRESULT hr = CreateComObject<CExamplePropertyPackage>(nullptr, __uuidof(ICapeThermoPropertyPackage),
                                                              package.ReceiveVoid());
        if (FAILED(hr)) return Fail(L"Failed to create the property package", scope, Interface);
        auto *object = static_cast<CExamplePropertyPackage *>(
            static_cast<DispatchPart<ICapeThermoPropertyPackage> *>(package.Get()));
        object->SetModel(kind);
        *propPackObject = package.Detach();  // the package interface is also its IDispatch
        return S_OK;
    });
}

STDMETHODIMP CExampleThermoSystem::get_parameters(IDispatch **)
{
    return ComGuard(
        [&] { return NotImplemented(L"CExampleThermoSystem::get_parameters", L"ICapeUtilities"); });
}

STDMETHODIMP CExampleThermoSystem::put_simulationContext(IDispatch *)
{
    return ComGuard([] { return S_OK; });
}

STDMETHODIMP CExampleThermoSystem::Initialize()
{
    return ComGuard([] { return S_OK; });
}

STDMETHODIMP CExampleThermoSystem::Terminate()
{
    return ComGuard([] { return S_OK; });
}

STDMETHODIMP CExampleThermoSystem::Edit()
{
    return ComGuard([&] { return NotImplemented(L"CExampleThermoSystem::Edit", L"ICapeUtilities"); });
}

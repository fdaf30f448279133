#include "ClassTable.h"

#include "CapeOpenBaseObject.h"
#include "Corvanta.h"
#include "MaterialObject.h"
#include "PropertyPackage.h"
#include "PropertyPackageManager.h"
#include "Registration.h"

namespace {

// A package always belongs to the manager that made it: never aggregated.
HRESULT CreatePropertyPackage(IUnknown *outer, REFIID riid, void **ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CreateComObject<CPropertyPackage>(nullptr, riid, ppv);
}

HRESULT CreateMaterialObject(IUnknown *outer, REFIID riid, void **ppv)
{
    return CreateComObject<CMaterialObject>(outer, riid, ppv);
}

HRESULT CreatePropertyPackageManager(IUnknown *outer, REFIID riid, void **ppv)
{
    return CreateComObject<CPropertyPackageManager>(outer, riid, ppv);
}

}  // namespace

const ClassTableRow classTable[] = {
    {&CLSID_PropertyPackage, L"CPropertyPackage", nullptr, CreatePropertyPackage},
    {&CLSID_MaterialObject, L"CMaterialObject", nullptr, CreateMaterialObject},
    {&CLSID_PropertyPackageManager, L"CPropertyPackageManager", RegisterManagerClass,
     CreatePropertyPackageManager},
};
const size_t classTableSize = sizeof(classTable) / sizeof(classTable[0]);

size_t FindClassRow(REFCLSID clsid)
{
    for (size_t i = 0; i < classTableSize; ++i)
        if (IsEqualCLSID(clsid, *classTable[i].clsid)) return i;
    return classTableSize;
}

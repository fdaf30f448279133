// ICapeThermoUniversalConstant: five constants fixed in the system, given
// by their bit patterns so that no compiler rounding can change them.
#include "PropertyPackage.h"

#include <bit>
#include <cstdint>

#include "Names.h"

namespace {

struct UniversalConstant {
    const wchar_t *id;
    uint64_t bits;
};

const UniversalConstant universalConstants[] = {
    {L"avogadroConstant", 0x44DFE186380198FCull},               // 6.0221419947e23 1/mol
    {L"boltzmannConstant", 0x3B30B0E7E1E86726ull},              // 1.380650324e-23 J/K
    {L"molarGasConstant", 0x4020A1027E5F8170ull},               // 8.31447215 J/(mol K)
    {L"speedOfLightInVacuum", 0x41B1DE784A19999Aull},           // 299792458.1 m/s
    {L"standardAccelerationOfGravity", 0x40239D013A92A305ull},  // 9.80665 m/s2
};

constexpr const wchar_t *constantInterface = L"ICapeThermoUniversalConstant";

}  // namespace

HRESULT CPropertyPackage::GetUniversalConstant(BSTR constantId, VARIANT *constantValue)
{
    return ComGuard([&]() -> HRESULT {
        if (!constantValue) return E_POINTER;
        for (const UniversalConstant &constant : universalConstants) {
            if (constantId && *constantId && NamesEqual(constantId, constant.id)) {
                V_VT(constantValue) = VT_R8;
                V_R8(constantValue) = std::bit_cast<double>(constant.bits);
                return S_OK;
            }
        }
        return Fail(L"Unknown/unsupported constant", PACKAGE_SCOPE(L"GetUniversalConstant"), constantInterface);
    });
}

HRESULT CPropertyPackage::GetUniversalConstantList(VARIANT *constantIds)
{
    return ComGuard([&]() -> HRESULT {
        if (!constantIds) return E_POINTER;
        CVariantArray list;
        list.Create(static_cast<LONG>(std::size(universalConstants)), VT_BSTR);
        for (LONG i = 0; i < static_cast<LONG>(std::size(universalConstants)); ++i) {
            ScopedBstr id(universalConstants[i].id);
            list.PutElement(i, id.Get());
        }
        *constantIds = list.Value();
        list.Disown();
        return S_OK;
    });
}

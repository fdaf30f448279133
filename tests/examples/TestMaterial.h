// A small CAPE-OPEN 1.0 material object for driving the example packages:
// it holds values by property and phase, answers GetProp from them and keeps
// whatever SetProp delivers, with the basis it came in.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "CapeOpenBaseObject.h"

class CTestMaterial : public CapeObject<ICapeThermoMaterialObject> {
public:
    std::vector<std::wstring> compounds;
    std::map<std::wstring, std::vector<double>> values;  // key: Key(property, phase)
    std::map<std::wstring, std::wstring> bases;          // basis of each SetProp, same key

    static std::wstring Key(const wchar_t *property, const wchar_t *phase);
    void Put(const wchar_t *property, const wchar_t *phase, std::vector<double> v)
    {
        values[Key(property, phase)] = v;
    }
    bool Has(const wchar_t *property, const wchar_t *phase) const
    {
        return values.count(Key(property, phase)) != 0;
    }
    const std::vector<double> &At(const wchar_t *property, const wchar_t *phase)
    {
        return values[Key(property, phase)];
    }

    STDMETHODIMP get_ComponentIds(VARIANT *compIds) override;
    STDMETHODIMP get_PhaseIds(VARIANT *) override
    {
        return NotImplemented(L"CTestMaterial::get_PhaseIds", Name);
    }
    STDMETHODIMP GetUniversalConstant(VARIANT, VARIANT *) override
    {
        return NotImplemented(L"GetUniversalConstant", Name);
    }
    STDMETHODIMP GetComponentConstant(VARIANT, VARIANT, VARIANT *) override
    {
        return NotImplemented(L"GetComponentConstant", Name);
    }
    STDMETHODIMP CalcProp(VARIANT, VARIANT, BSTR) override { return NotImplemented(L"CalcProp", Name); }
    STDMETHODIMP GetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                         VARIANT *results) override;
    STDMETHODIMP SetProp(BSTR property, BSTR phase, VARIANT compIds, BSTR calcType, BSTR basis,
                         VARIANT values) override;
    STDMETHODIMP CalcEquilibrium(BSTR, VARIANT) override { return NotImplemented(L"CalcEquilibrium", Name); }
    STDMETHODIMP SetIndependentVar(VARIANT, VARIANT) override
    {
        return NotImplemented(L"SetIndependentVar", Name);
    }
    STDMETHODIMP GetIndependentVar(VARIANT, VARIANT *) override
    {
        return NotImplemented(L"GetIndependentVar", Name);
    }
    STDMETHODIMP PropCheck(VARIANT, VARIANT *) override { return NotImplemented(L"PropCheck", Name); }
    STDMETHODIMP AvailableProps(VARIANT *) override { return NotImplemented(L"AvailableProps", Name); }
    STDMETHODIMP RemoveResults(VARIANT) override { return S_OK; }
    STDMETHODIMP CreateMaterialObject(IDispatch **) override
    {
        return NotImplemented(L"CreateMaterialObject", Name);
    }
    STDMETHODIMP Duplicate(IDispatch **) override { return NotImplemented(L"Duplicate", Name); }
    STDMETHODIMP ValidityCheck(VARIANT, VARIANT *) override { return NotImplemented(L"ValidityCheck", Name); }
    STDMETHODIMP GetPropList(VARIANT *) override { return NotImplemented(L"GetPropList", Name); }
    STDMETHODIMP GetNumComponents(long *count) override;

protected:
    IUnknown *MainInterface() override
    {
        return static_cast<DispatchPart<ICapeThermoMaterialObject> *>(this);
    }
    IUnknown *FindOwnInterface(REFIID riid) override
    {
        return IsEqualIID(riid, __uuidof(ICapeThermoMaterialObject)) ? MainInterface() : nullptr;
    }

private:
    static constexpr const wchar_t *Name = L"ICapeThermoMaterialObject";
};

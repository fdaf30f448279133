#include "MaterialAccess.h"

#include <cmath>

#include "CompoundData.h"
#include "ErrorText.h"

namespace {

std::wstring Quoted(BSTR name)
{
    return std::wstring(L"\"") + (name ? name : L"") + L"\"";
}

}  // namespace

bool MaterialAccess::Bind(IDispatch *object, std::wstring &error)
{
    if (!object) {
        error = L"No material object given";
        return false;
    }
    if (FAILED(QueryFrom(object, material))) {
        error = L"The material object does not support ICapeThermoMaterialObject";
        return false;
    }
    return true;
}

bool MaterialAccess::ReadCompounds(std::vector<int> &indices, std::wstring &error)
{
    HRESULT hr = material->get_ComponentIds(ids.Receive());
    if (FAILED(hr)) {
        error = L"Failed to get compound identifiers from the material object: " +
                CapeErrorText(material.Get(), hr);
        return false;
    }
    std::wstring reason;
    if (!ids.Check(VT_BSTR, reason)) {
        error = L"Invalid compound identifiers from the material object: " + reason;
        return false;
    }
    if (ids.Count() == 0) {
        error = L"The material object has no compounds";
        return false;
    }
    indices.clear();
    for (LONG i = 0; i < ids.Count(); ++i) {
        ScopedBstr id = ScopedBstr::Adopt(ids.GetString(i));
        const CompoundData *compound = FindCompound(id.Get());
        if (!compound) {
            error = L"Unknown compound " + Quoted(id.Get());
            return false;
        }
        indices.push_back(static_cast<int>(compound - KnownCompounds));
    }
    return true;
}

bool MaterialAccess::Read(BSTR property, BSTR phase, BSTR calcType, BSTR basis, std::size_t expected,
                          std::vector<double> &values, std::wstring &error)
{
    VARIANT none;
    VariantInit(&none);
    HRESULT hr = material->GetProp(property, phase, none, calcType, basis, results.Receive());
    if (FAILED(hr)) {
        error = L"Failed to get " + Quoted(property) + L" of phase " + Quoted(phase) +
                L" from the material object: " + CapeErrorText(material.Get(), hr);
        return false;
    }
    std::wstring reason;
    if (!results.Check(VT_R8, reason)) {
        error = L"Invalid " + Quoted(property) + L" from the material object: " + reason;
        return false;
    }
    if (expected && static_cast<std::size_t>(results.Count()) != expected) {
        error = L"Unexpected number of values for " + Quoted(property) + L" from the material object";
        return false;
    }
    values.resize(results.Count());
    for (LONG i = 0; i < results.Count(); ++i) values[i] = results.GetDouble(i);
    return true;
}

bool MaterialAccess::ReadScalar(BSTR property, BSTR phase, BSTR calcType, BSTR basis, double &value,
                                std::wstring &error)
{
    std::vector<double> one;
    if (!Read(property, phase, calcType, basis, 1, one, error)) return false;
    value = one[0];
    if (!std::isfinite(value)) {
        error = L"Invalid " + Quoted(property) + L" from the material object: not a number";
        return false;
    }
    return true;
}

bool MaterialAccess::Write(BSTR property, BSTR phase, bool perCompound, BSTR calcType, BSTR basis,
                           const double *values, std::size_t count, std::wstring &error)
{
    outgoing.Create(static_cast<LONG>(count), VT_R8);
    for (std::size_t i = 0; i < count; ++i)
        outgoing.PutElement(static_cast<LONG>(i), const_cast<double *>(&values[i]));
    VARIANT none;
    VariantInit(&none);
    HRESULT hr = material->SetProp(property, phase, perCompound ? ids.Value() : none, calcType, basis,
                                   outgoing.Value());
    if (FAILED(hr)) {
        error = L"Failed to set " + Quoted(property) + L" of phase " + Quoted(phase) +
                L" on the material object: " + CapeErrorText(material.Get(), hr);
        return false;
    }
    return true;
}

bool NormalizeComposition(std::vector<double> &x, std::wstring &error)
{
    double sum = 0;
    for (double value : x) {
        if (!(value >= 0) || !std::isfinite(value)) {
            error = L"The composition holds a negative or invalid value";
            return false;
        }
        sum += value;
    }
    if (!(sum > 0)) {
        error = L"The composition sums to zero";
        return false;
    }
    for (double &value : x) value /= sum;
    return true;
}

#include "PropertyStore.h"

#include <cwchar>

bool ParseBasis(const wchar_t *text, ValueBasis &basis)
{
    if (!text || !*text || NamesEqual(text, L"undefined")) basis = ValueBasis::Undefined;
    else if (NamesEqual(text, L"mole")) basis = ValueBasis::Mole;
    else if (NamesEqual(text, L"mass")) basis = ValueBasis::Mass;
    else return false;
    return true;
}

const wchar_t *BasisName(ValueBasis basis)
{
    switch (basis) {
    case ValueBasis::Mole: return L"mole";
    case ValueBasis::Mass: return L"mass";
    default: return L"";
    }
}

// phase, property and basis joined by separators no CAPE-OPEN name uses
const wchar_t *PropertyStore::Key(const wchar_t *phase, const wchar_t *property, ValueBasis basis) const
{
    key_.assign(phase ? phase : L"");
    key_ += L'\x1f';
    key_ += property ? property : L"";
    key_ += L'\x1f';
    key_ += static_cast<wchar_t>(L'0' + static_cast<int>(basis));
    return key_.c_str();
}

void PropertyStore::Set(const wchar_t *phase, const wchar_t *property, ValueBasis basis, const double *values,
                        size_t count)
{
    // A value replaces its stand-in of the other basis, so reads never see a stale one.
    if (basis != ValueBasis::Mass) {
        ValueBasis other = basis == ValueBasis::Mole ? ValueBasis::Undefined : ValueBasis::Mole;
        if (std::vector<double> *stale = values_.Lookup(Key(phase, property, other))) stale->clear();
    }
    const wchar_t *key = Key(phase, property, basis);
    std::vector<double> *stored = values_.Lookup(key);
    if (!stored) stored = &values_.Entry(key);
    stored->assign(values, values + count);
}

const std::vector<double> *PropertyStore::Find(const wchar_t *phase, const wchar_t *property,
                                               ValueBasis basis) const
{
    const std::vector<double> *found = values_.Lookup(Key(phase, property, basis));
    return found && !found->empty() ? found : nullptr;
}

const std::vector<double> *PropertyStore::Get(const wchar_t *phase, const wchar_t *property,
                                              ValueBasis basis) const
{
    if (const std::vector<double> *found = Find(phase, property, basis)) return found;
    if (basis == ValueBasis::Mole) return Find(phase, property, ValueBasis::Undefined);
    if (basis == ValueBasis::Undefined) return Find(phase, property, ValueBasis::Mole);
    return nullptr;
}

const std::vector<double> *PropertyStore::GetAnyBasis(const wchar_t *phase, const wchar_t *property,
                                                      ValueBasis &basis) const
{
    for (ValueBasis candidate : {ValueBasis::Undefined, ValueBasis::Mole, ValueBasis::Mass}) {
        if (const std::vector<double> *found = Find(phase, property, candidate)) {
            basis = candidate;
            return found;
        }
    }
    return nullptr;
}

void PropertyStore::ClearPhase(const wchar_t *phase)
{
    // Stored keys are folded, so the folded phase and separator are their prefix.
    key_.assign(phase ? phase : L"");
    LowerInPlace(key_);
    key_ += L'\x1f';
    values_.ForEach([&](const wchar_t *key, const std::vector<double> &stored) {
        // values_ is this store's own map, so its values may change.
        if (std::wcsncmp(key, key_.c_str(), key_.size()) == 0) const_cast<std::vector<double> &>(stored).clear();
    });
}

void PropertyStore::Remove(const wchar_t *phase, const wchar_t *property)
{
    for (ValueBasis basis : {ValueBasis::Undefined, ValueBasis::Mole, ValueBasis::Mass})
        if (std::vector<double> *stored = values_.Lookup(Key(phase, property, basis))) stored->clear();
}

std::wstring PhasePairLabel(const std::wstring &first, const std::wstring &second)
{
    return first + L',' + second;
}

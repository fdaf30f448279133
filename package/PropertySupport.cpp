// Which properties the package supports, under which 1.1 names, and how
// each name translates between the 1.0 and 1.1 vocabularies.
#include "PropertyPackage.h"

#include <cwchar>

#include "Names.h"
#include "PropertyNameTable.h"

namespace {

struct DerivativeSuffix {
    const wchar_t *suffix10;  // compared without regard to case
    const wchar_t *suffix11;
};

// Indexed by PropertyDerivative.
const DerivativeSuffix derivativeSuffixes[] = {
    {L"", L""},
    {L"dtemperature", L".Dtemperature"},
    {L"dpressure", L".Dpressure"},
    {L"dmolfraction", L".DmolFraction"},
    {L"dmoles", L".Dmoles"},
};

// The derivative named by the text after the first ".", or -1.
int DerivativeOf(const wchar_t *suffix)
{
    for (int d = DerivativeTemperature; d <= DerivativeMoles; ++d)
        if (NamesEqual(suffix, derivativeSuffixes[d].suffix10)) return d;
    return -1;
}

bool CategoryAccepts(PropertyCategory category, int derivative)
{
    switch (category) {
    case PropertyCategory::TDependent: return derivative == DerivativeNone || derivative == DerivativeTemperature;
    case PropertyCategory::PDependent: return derivative == DerivativeNone || derivative == DerivativePressure;
    case PropertyCategory::SinglePhase: return true;
    case PropertyCategory::TwoPhase: return derivative <= DerivativePressure;
    default: return false;
    }
}

// Replaces list by a zero-based string array of names, or by an empty
// VARIANT when there are none.
void Publish(CVariantArray &list, const std::vector<std::wstring> &names)
{
    list.Receive();
    if (names.empty()) return;
    list.Create(static_cast<LONG>(names.size()), VT_BSTR);
    for (LONG i = 0; i < static_cast<LONG>(names.size()); ++i) {
        ScopedBstr name(names[i].c_str());
        list.PutElement(i, name.Get());
    }
}

}  // namespace

bool TranslatePropertyName10(const wchar_t *name10, std::wstring &name11, const PropertyRow *&row,
                             int32_t &derivative)
{
    const wchar_t *dot = std::wcschr(name10, L'.');
    derivative = DerivativeNone;
    std::wstring base(name10, dot ? static_cast<size_t>(dot - name10) : std::wcslen(name10));
    if (dot) {
        derivative = DerivativeOf(dot + 1);
        if (derivative < 0) return false;
    }
    row = LookupPropertyRow(base.c_str());
    if (!row || !CategoryAccepts(row->category, derivative)) return false;
    name11 = row->name11;
    name11 += derivativeSuffixes[derivative].suffix11;
    return true;
}

void CPropertyPackage::LoadPropertySupport()
{
    EnsurePropertyIndexes();
    propsBy11Name.Clear();
    propsBy10Name.Clear();
    constantsBy11Name.Clear();

    // The state variables are never listed, but the material object has to
    // translate them when the 1.0 package asks for them.
    for (const wchar_t *word : {L"Temperature", L"Pressure", L"PhaseFraction", L"Fraction"}) {
        PropertyRecord record;
        record.name10 = ScopedBstr(word);
        record.name11 = ScopedBstr(word);
        record.row = LookupPropertyRow(word);
        propsBy11Name.Entry(word) = record;
        propsBy10Name.Entry(word) = record;
    }

    // ---- Properties the 1.0 package lists; any failure only means fewer.
    CVariantArray list10;
    std::wstring reason;
    const bool listed = package10 && SUCCEEDED(package10->GetPropList(list10.Receive())) &&
                        list10.Check(VT_BSTR, reason);
    std::vector<std::wstring> tDependent, pDependent, singlePhase, twoPhase;
    for (LONG i = 0; listed && i < list10.Count(); ++i) {
        ScopedBstr name10 = ScopedBstr::Adopt(list10.GetString(i));
        if (name10.IsEmpty()) continue;
        const wchar_t *text = name10.Text();
        std::wstring name11;
        const PropertyRow *row = nullptr;
        int32_t derivative = DerivativeNone;
        if (!TranslatePropertyName10(text, name11, row, derivative)) continue;
        switch (row->category) {
        case PropertyCategory::TDependent: tDependent.push_back(name11); break;
        case PropertyCategory::PDependent: pDependent.push_back(name11); break;
        case PropertyCategory::SinglePhase: singlePhase.push_back(name11); break;
        default: twoPhase.push_back(name11); break;
        }

        PropertyRecord record;
        record.namesDiffer = !NamesEqual(text, name11.c_str());
        record.name10 = std::move(name10);
        record.name11 = ScopedBstr(name11.c_str());
        record.row = row;
        record.derivative = derivative;
        // A name listed twice (case ignored) keeps its last record.
        propsBy11Name.Entry(name11.c_str()) = record;
        propsBy10Name.Entry(record.name10.Text()) = std::move(record);
    }
    Publish(tDependentPropList, tDependent);
    Publish(pDependentPropList, pDependent);
    Publish(singlePhasePropList, singlePhase);
    Publish(twoPhasePropList, twoPhase);

    // ---- Constants are not listed by 1.0 packages: probe each known one
    // compound by compound until the 1.0 package computes it once. The
    // material object presents the one compound being probed.
    selectionIds.Create(1, VT_BSTR);
    selectionIndices.assign(1, -1);
    CVariantArray nameList;
    nameList.Create(1, VT_BSTR);
    IDispatch *material = MaterialObject10();
    const int compoundCount = static_cast<int>(compoundIds.size());
    std::vector<std::wstring> constants;
    for (const PropertyRow *row : ConstantPropertyRows()) {
        ScopedBstr name10(row->name10);
        nameList.PutElement(0, name10.Get());
        bool supported = false;
        for (int c = 0; c < compoundCount && !supported && package10; ++c) {
            if (selectionIndices[0] != c) {
                selectionIndices[0] = c;
                selectionIds.PutElement(0, compoundIds[c].Get());
            }
            ScopedVariant values;
            supported = SUCCEEDED(package10->GetComponentConstant(material, nameList.Value(), values.Get()));
        }
        if (!supported) continue;
        constants.push_back(row->name11);
        PropertyRecord record;
        record.name10 = std::move(name10);
        record.name11 = ScopedBstr(row->name11);
        record.row = row;
        record.namesDiffer = !NamesEqual(row->name10, row->name11);
        constantsBy11Name.Entry(row->name11) = std::move(record);
    }
    selectionIds.Receive();
    Publish(constPropList, constants);
}

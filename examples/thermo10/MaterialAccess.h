// How the example packages talk to the CAPE-OPEN 1.0 material object they are
// handed: compounds, reads through GetProp and results through SetProp.
#pragma once

#include <string>
#include <vector>

#include "CapeOpen.h"
#include "ComHolders.h"
#include "VariantArray.h"

class MaterialAccess {
public:
    // Takes the material object argument of a call; false with a reason.
    bool Bind(IDispatch *material, std::wstring &error);
    // Lets go of the material at the end of a call.
    void Unbind() { material.Reset(); }
    // Reads the material's compound identifiers and maps each onto the
    // known compounds (index into KnownCompounds, in material order).
    bool ReadCompounds(std::vector<int> &indices, std::wstring &error);
    // The identifiers read by ReadCompounds, as the material gave them.
    const VARIANT &CompoundIds() const { return ids.Value(); }

    // GetProp of a list of doubles; expected is the count wanted (0: any).
    bool Read(BSTR property, BSTR phase, BSTR calcType, BSTR basis, std::size_t expected,
              std::vector<double> &values, std::wstring &error);
    bool ReadScalar(BSTR property, BSTR phase, BSTR calcType, BSTR basis, double &value, std::wstring &error);
    // SetProp of count doubles; perCompound passes the compound identifiers.
    bool Write(BSTR property, BSTR phase, bool perCompound, BSTR calcType, BSTR basis, const double *values,
               std::size_t count, std::wstring &error);

private:
    ComPtr<ICapeThermoMaterialObject> material;
    CVariantArray ids;
    CVariantArray results;
    CVariantArray outgoing;
};

// Releases the material when a package call ends, however it ends.
class MaterialBinding {
public:
    explicit MaterialBinding(MaterialAccess &access) : access(access) {}
    ~MaterialBinding() { access.Unbind(); }
    MaterialBinding(const MaterialBinding &) = delete;
    MaterialBinding &operator=(const MaterialBinding &) = delete;

private:
    MaterialAccess &access;
};

// A mole-fraction vector read from a material, normalised; false when it
// cannot be (negative entries, zero sum).
bool NormalizeComposition(std::vector<double> &x, std::wstring &error);

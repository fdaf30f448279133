// The probe as a CAPE-OPEN 1.0 simulator: one 1.0 property package, reached
// the way the manager reaches it (the discovered thermo system of that name,
// created, initialised and asked for the package) but called directly, on
// in-memory 1.0 material objects.
#pragma once

#include <string>
#include <vector>

#include "CapeOpen.h"
#include "ComHolders.h"
#include "CompoundTable.h"
#include "NameMap.h"

class Package10Client {
public:
    Package10Client() = default;
    Package10Client(const Package10Client &) = delete;
    Package10Client &operator=(const Package10Client &) = delete;
    // Terminates the package.
    ~Package10Client();

    // Resolves "System//Package", initialises the package and reads its
    // compounds, phases and properties.
    bool Open(const std::wstring &fullName, std::wstring &error);

    CompoundTable compounds;          // molecular weights in g/mol, as 1.0 gives them
    std::vector<std::wstring> phases;  // as listed, "Overall" and combined phases included
    std::vector<std::wstring> props;   // GetPropList, as listed

    // The package's own name of a property the bridge lists under name11;
    // empty when it lists no such property.
    std::wstring Name10(const std::wstring &name11) const;
    // The 1.1 names of every listed property the bridge knows, sorted.
    const std::vector<std::wstring> &Names11() const { return names11; }

    // The package's calls; on false, error holds its failure text.
    bool CalcProp(ICapeThermoMaterialObject *material, const std::vector<std::wstring> &properties,
                  const std::wstring &phase, const wchar_t *calcType, std::wstring &error);
    bool CalcEquilibrium(ICapeThermoMaterialObject *material, const wchar_t *flashType, std::wstring &error);
    bool ComponentConstant(ICapeThermoMaterialObject *material, const std::wstring &name10, VARIANT *values,
                           std::wstring &error);

private:
    bool Failed(HRESULT hr, const wchar_t *call, std::wstring &error) const;

    ComPtr<ICapeThermoPropertyPackage> package;
    ComPtr<ICapeUtilities> utilities;  // held once Initialize succeeded
    NameMap<std::wstring> names10;     // 1.1 name -> listed 1.0 name
    std::vector<std::wstring> names11;
};

// The probe's side of CAPE-OPEN 1.1: a property package manager found by
// ProgID, and one package with the interfaces a client uses, its compounds
// and phases read once.
#pragma once

#include <string>
#include <vector>

#include "CapeOpen.h"
#include "ComHolders.h"
#include "CompoundTable.h"

// "scope: description" from the component's ECapeUser, or the text of the
// code when the component records nothing.
std::wstring FailureText(IUnknown *component, HRESULT hr);

class ManagerClient {
public:
    ManagerClient() = default;
    ManagerClient(const ManagerClient &) = delete;
    ManagerClient &operator=(const ManagerClient &) = delete;
    ~ManagerClient();

    bool Open(const std::wstring &progId, std::wstring &error);
    bool ListPackages(std::vector<std::wstring> &names, std::wstring &error);
    bool GetPackage(const std::wstring &name, ComPtr<IDispatch> &package, std::wstring &error);

private:
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    ComPtr<ICapeUtilities> utilities;  // held only when Initialize was called
};

class PackageClient {
public:
    PackageClient() = default;
    PackageClient(const PackageClient &) = delete;
    PackageClient &operator=(const PackageClient &) = delete;
    // Unsets the material and terminates the package.
    ~PackageClient();

    // Takes the package, queries its interfaces and reads compounds and phases.
    bool Open(const ComPtr<IDispatch> &package, std::wstring &error);

    ComPtr<ICapeThermoCompounds> compounds;
    ComPtr<ICapeThermoPhases> phases;
    ComPtr<ICapeThermoPropertyRoutine> routine;
    ComPtr<ICapeThermoEquilibriumRoutine> equilibrium;
    ComPtr<ICapeThermoMaterialContext> context;
    ComPtr<ICapeThermoUniversalConstant> constants;
    ComPtr<ICapeUtilities> utilities;

    CompoundTable compoundTable;
    std::vector<std::wstring> phaseLabels, statesOfAggregation;

    // One of the package's lists (GetConstPropList and the like).
    bool ReadList(IUnknown *component, HRESULT (*call)(IUnknown *, VARIANT *), std::vector<std::wstring> &names,
                  std::wstring &error);
    bool ConstPropList(std::vector<std::wstring> &names, std::wstring &error);
    bool TDependentPropList(std::vector<std::wstring> &names, std::wstring &error);
    bool PDependentPropList(std::vector<std::wstring> &names, std::wstring &error);
    bool SinglePhasePropList(std::vector<std::wstring> &names, std::wstring &error);
    bool TwoPhasePropList(std::vector<std::wstring> &names, std::wstring &error);
    bool UniversalConstantList(std::vector<std::wstring> &names, std::wstring &error);

    // The package's label of its first phase of that state, or empty.
    std::wstring PhaseOfState(const wchar_t *state) const;

private:
    ComPtr<IDispatch> package;
};

// CPropertyPackageManager: the CAPE-OPEN 1.1 property package manager that
// simulators create. It lists the packages of the installed 1.0 thermo
// systems and wraps one of them, on request, in a new CPropertyPackage.
#pragma once

#include "CapeOpenBaseObject.h"

class CPropertyPackageManager : public CapeObject<ICapeThermoPropertyPackageManager> {
public:
    CPropertyPackageManager();

    // ICapeThermoPropertyPackageManager
    STDMETHODIMP GetPropertyPackageList(VARIANT *packageNames) override;
    STDMETHODIMP GetPropertyPackage(BSTR packageName, IDispatch **package) override;

protected:
    IUnknown *MainInterface() override;
    IUnknown *FindOwnInterface(REFIID riid) override;

private:
    HRESULT CreatePackage(const std::wstring &systemName, const std::wstring &packageName,
                          IDispatch **package);
    // Records a failure of GetPropertyPackage and returns ECapeUnknownHR.
    HRESULT FailRequest(const std::wstring &description);
};

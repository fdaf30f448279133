// The example CAPE-OPEN 1.0 thermo system: lists its two packages and
// creates a new package object for each resolve.
#pragma once

#include "CapeOpenBaseObject.h"

class CExampleThermoSystem : public CapeObject<ICapeThermoSystem, ICapeUtilities> {
public:
    CExampleThermoSystem();

    // ICapeThermoSystem
    STDMETHODIMP GetPropertyPackages(VARIANT *propPackageList) override;
    STDMETHODIMP ResolvePropertyPackage(BSTR propertyPackage, IDispatch **propPackObject) override;

    // ICapeUtilities: nothing to set up or tear down
    STDMETHODIMP get_parameters(IDispatch **parameters) override;
    STDMETHODIMP put_simulationContext(IDispatch *context) override;
    STDMETHODIMP Initialize() override;
    STDMETHODIMP Terminate() override;
    STDMETHODIMP Edit() override;

protected:
    IUnknown *MainInterface() override { return static_cast<DispatchPart<ICapeThermoSystem> *>(this); }
    IUnknown *FindOwnInterface(REFIID riid) override;
};

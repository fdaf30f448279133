// ICapeUtilities, the package's interface table, persistence passed to the
// 1.0 package, and what happens when the package goes away.
#include "PackageCoreFixture.h"

namespace {
ICapeUtilities *Utilities(CPropertyPackage *package) { return package; }
}

TEST_F(PackageCoreTest, InitializeRunsOnceAndTerminateEndsTheLinks)
{
    ASSERT_EQ(S_OK, Utilities(package)->Initialize());
    ASSERT_EQ(S_OK, Utilities(package)->Initialize());
    EXPECT_EQ(1, package10->script.CountCalls(L"Initialize"));

    ASSERT_EQ(S_OK, Utilities(package)->Terminate());
    EXPECT_EQ(1, package10->script.CountCalls(L"Terminate"));
    EXPECT_FALSE(package->package10);
    EXPECT_FALSE(package->packageUtilities10);
    EXPECT_FALSE(package->packageIdentification10);
    // A second Terminate has nothing left to terminate.
    ASSERT_EQ(S_OK, Utilities(package)->Terminate());
    EXPECT_EQ(1, package10->script.CountCalls(L"Terminate"));
    // Cached answers are still given.
    long count = 0;
    ASSERT_EQ(S_OK, static_cast<ICapeThermoPhases *>(package)->GetNumPhases(&count));
    EXPECT_EQ(2, count);
}

TEST_F(PackageCoreTest, TerminateWithoutInitializationReleasesThe10PackageUntouched)
{
    bool destroyed = false;
    package10->destroyedFlag = &destroyed;
    SetContext({L"methane"});
    // The context reaches the 1.0 utilities, yet nothing was initialised.
    ASSERT_EQ(S_OK, Utilities(package)->put_simulationContext(nullptr));
    ASSERT_EQ(S_OK, Utilities(package)->Terminate());
    EXPECT_EQ(StringList{L"put_simulationContext"}, package10->script.calls);
    EXPECT_FALSE(package->contextMaterial);
    package10Ref.Reset();
    EXPECT_TRUE(destroyed);
    // Not pending any more: no later call tries to initialise.
    long count = -1;
    EXPECT_EQ(S_OK, static_cast<ICapeThermoPhases *>(package)->GetNumPhases(&count));
    EXPECT_EQ(0, count);
}

TEST_F(PackageCoreTest, SimulationContextReachesThe10PackageBeforeInitialization)
{
    ComPtr<ICapeThermoMaterial> context(CMaterial11::Create({})->Interface());
    ASSERT_EQ(S_OK, Utilities(package)->put_simulationContext(context.Get()));
    EXPECT_EQ(StringList{L"put_simulationContext"}, package10->script.calls);
    EXPECT_EQ(static_cast<IDispatch *>(context.Get()), package10->simulationContext.Get());
    EXPECT_TRUE(package->initPending);

    Script().failures[L"put_simulationContext"] = {E_ACCESSDENIED, L"refused"};
    EXPECT_EQ(E_ACCESSDENIED, Utilities(package)->put_simulationContext(context.Get()));
    EXPECT_EQ(L"", package->ErrorDescription());
}


TEST_F(PackageCoreTest, ParametersComeFromThe10Package)
{
    ComPtr<ICapeThermoMaterial> parameters(CMaterial11::Create({})->Interface());
    Script().parameters = ComPtr<IDispatch>(parameters.Get());
    ComPtr<IDispatch> answer;
    ASSERT_EQ(S_OK, Utilities(package)->get_parameters(answer.Receive()));
    EXPECT_EQ(static_cast<IDispatch *>(parameters.Get()), answer.Get());
    EXPECT_FALSE(package->initPending);

    Script().failures[L"get_parameters"] = {ECapeUnknownHR, L"parameters are private"};
    EXPECT_EQ(ECapeUnknownHR, Utilities(package)->get_parameters(answer.Receive()));
    EXPECT_EQ(L"parameters are private", package->ErrorDescription());
    EXPECT_EQ(L"CPropertyPackage::get_parameters", package->ErrorScope());
    EXPECT_EQ(L"ICapeUtilities", package->ErrorInterface());
    EXPECT_EQ(E_POINTER, Utilities(package)->get_parameters(nullptr));
}

TEST_F(PackageCoreTest, WithoutUtilitiesContextIsDroppedAndThereAreNoParametersNorEditor)
{
    Script().hasUtilities = false;
    ComPtr<ICapeThermoMaterial> context(CMaterial11::Create({})->Interface());
    ASSERT_EQ(S_OK, Utilities(package)->put_simulationContext(context.Get()));
    EXPECT_TRUE(package10->script.calls.empty());
    // Initialisation without utilities skips the 1.0 Initialize.
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(0, package10->script.CountCalls(L"Initialize"));

    ComPtr<IDispatch> answer;
    EXPECT_EQ(ECapeUnknownHR, Utilities(package)->get_parameters(answer.Receive()));
    EXPECT_EQ(L"This object does not expose parameters", package->ErrorDescription());

    package->SetError(L"earlier", L"CPropertyPackage::Earlier", L"ICapeTest");
    EXPECT_EQ(ECapeNoImplHR, Utilities(package)->Edit());
    EXPECT_EQ(L"earlier", package->ErrorDescription());
    EXPECT_EQ(0, package10->script.CountCalls(L"Edit"));
}

TEST_F(PackageCoreTest, EditReloadsWhatTheUserChanged)
{
    Script().propList = {L"enthalpy"};
    ASSERT_EQ(S_OK, Initialize());
    Script().onEdit = [](CScriptedPackage10 &self) {
        self.script.compoundIds = {L"propane"};
        self.script.molecularWeights = {44.097};
        self.script.phases = {L"Vapor", L"Liquid", L"Solid"};
        self.script.propList = {L"entropy"};
    };
    // A failing 1.0 editor is passed on as it is, after the reload.
    Script().failures[L"Edit"] = {E_ABORT, L"user cancelled"};
    EXPECT_EQ(E_ABORT, Utilities(package)->Edit());
    EXPECT_EQ(L"", package->ErrorDescription());
    ASSERT_EQ(1u, package->compoundIds.size());
    EXPECT_STREQ(L"propane", package->compoundIds[0].Text());
    EXPECT_DOUBLE_EQ(0.044097, package->molecularWeights[0]);
    EXPECT_EQ((StringList{L"Vapor", L"Liquid", L"Solid"}), Labels(package->phaseLabelsList));
    EXPECT_EQ(nullptr, package->compoundIndex.Lookup(L"methane"));
    EXPECT_EQ(StringList{L"entropy"}, Labels(package->singlePhasePropList));
    EXPECT_EQ(nullptr, package->propsBy10Name.Lookup(L"enthalpy"));
    EXPECT_EQ(1, package10->script.CountCalls(L"Initialize"));
}

TEST_F(PackageCoreTest, EditReportsAFailedReload)
{
    ASSERT_EQ(S_OK, Initialize());
    Script().onEdit = [](CScriptedPackage10 &self) { self.script.phases.clear(); };
    EXPECT_EQ(ECapeUnknownHR, Utilities(package)->Edit());
    EXPECT_EQ(L"Property package contains no phases", package->ErrorDescription());
    EXPECT_EQ(L"CPropertyPackage::Edit", package->ErrorScope());
    EXPECT_EQ(L"ICapeUtilities", package->ErrorInterface());
    EXPECT_FALSE(package->initPending);
}

TEST_F(PackageCoreTest, AnswersForEveryOwnInterfaceAndIdentification)
{
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, packageRef.As(dispatch));
    EXPECT_EQ(static_cast<IDispatch *>(static_cast<ICapeThermoCompounds *>(package)), dispatch.Get());
    const IID own[] = {__uuidof(ICapeThermoCompounds),        __uuidof(ICapeThermoEquilibriumRoutine),
                       __uuidof(ICapeThermoMaterialContext),  __uuidof(ICapeThermoPhases),
                       __uuidof(ICapeThermoPropertyRoutine),  __uuidof(ICapeThermoUniversalConstant),
                       __uuidof(ICapeUtilities),              __uuidof(ICapeIdentification),
                       __uuidof(ECapeUser)};
    for (const IID &iid : own) {
        ComPtr<IUnknown> found;
        EXPECT_EQ(S_OK, packageRef->QueryInterface(iid, found.ReceiveVoid()));
        EXPECT_TRUE(found);
    }
    // Identification is left to the manager.
    ScopedBstr name;
    ComPtr<ICapeIdentification> identification;
    ASSERT_EQ(S_OK, packageRef.As(identification));
    ASSERT_EQ(S_OK, identification->get_ComponentName(name.Receive()));
    EXPECT_TRUE(name.IsEmpty());
}

TEST_F(PackageCoreTest, PersistenceIsThe10PackagesWhileItIsHeld)
{
    ComPtr<IPersistStreamInit> persist;
    EXPECT_EQ(E_NOINTERFACE, packageRef->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid()));
    EXPECT_FALSE(persist);

    Script().hasPersistStreamInit = true;
    ASSERT_EQ(S_OK, packageRef->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid()));
    ASSERT_EQ(S_OK, persist->InitNew());
    EXPECT_EQ(StringList{L"InitNew"}, package10->script.calls);
    // The scripted package has no IPersistStream: its own answer is passed on.
    ComPtr<IPersistStream> stream;
    EXPECT_EQ(E_NOINTERFACE, packageRef->QueryInterface(IID_IPersistStream, stream.ReceiveVoid()));
    EXPECT_FALSE(stream);

    persist.Reset();
    ASSERT_EQ(S_OK, Utilities(package)->Terminate());
    EXPECT_EQ(E_NOINTERFACE, packageRef->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid()));
    EXPECT_FALSE(persist);
}

TEST_F(PackageCoreTest, ReleasingThePackageTerminatesAndReleasesThe10Package)
{
    bool destroyed = false;
    package10->destroyedFlag = &destroyed;
    ASSERT_EQ(S_OK, Initialize());
    // The scripted package keeps the material object it was last given.
    ComPtr<ICapeThermoMaterialObject> kept = package10->lastMaterial;
    ASSERT_TRUE(kept);
    package10->lastMaterial.Reset();
    CScriptedPackage10 *raw = package10;
    package10Ref.Reset();

    raw->AddRef();
    packageRef.Reset();
    EXPECT_EQ(L"Terminate", raw->script.calls.back());
    EXPECT_FALSE(destroyed);
    raw->Release();
    EXPECT_TRUE(destroyed);

    // The material object outlives its package and fails cleanly.
    long count = -1;
    EXPECT_EQ(ECapeUnknownHR, kept->GetNumComponents(&count));
    ComPtr<ECapeUser> error;
    ASSERT_EQ(S_OK, kept.As(error));
    ScopedBstr description;
    ASSERT_EQ(S_OK, error->get_description(description.Receive()));
    EXPECT_STREQ(L"Material object is not connected to a property package", description.Text());
    ScopedVariant ids;
    EXPECT_EQ(ECapeUnknownHR, kept->get_ComponentIds(ids.Get()));
    EXPECT_EQ(ECapeUnknownHR, kept->get_PhaseIds(ids.Get()));
    ScopedVariant results;
    EXPECT_EQ(ECapeUnknownHR, kept->GetProp(ScopedBstr(L"temperature").Get(), ScopedBstr(L"Vapor").Get(),
                                            VARIANT{}, nullptr, nullptr, results.Get()));
}

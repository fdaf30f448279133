// ICapeUtilities, the package's interface table, persistence passed to the
// 1.0 package, and what happens when the package goes away.
#include "PackageCoreFixture.h"

#include <functional>

#include "ErrorText.h"

TEST_F(PackageCoreTest, InitializeRunsOnceAndTerminateEndsTheLinksOnce)
{
    ASSERT_EQ(S_OK, Initialize());
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(1, Script().CountCalls(L"Initialize"));
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(S_OK, Utilities()->Terminate());
        EXPECT_EQ(1, Script().CountCalls(L"Terminate"));
        EXPECT_FALSE(package->package10 || package->packageUtilities10 || package->packageIdentification10);
    }
    long count = 0;  // cached answers are still given
    ASSERT_EQ(S_OK, Phases()->GetNumPhases(&count));
    EXPECT_EQ(2, count);

    // Without initialisation the 1.0 package is released untouched.
    Fresh();
    bool destroyed = false;
    package10->destroyedFlag = &destroyed;
    SetContext({L"methane"});
    ASSERT_EQ(S_OK, Utilities()->put_simulationContext(nullptr));
    ASSERT_EQ(S_OK, Utilities()->Terminate());
    EXPECT_EQ(StringList{L"put_simulationContext"}, Script().calls);
    EXPECT_FALSE(package->contextMaterial);
    package10Ref.Reset();
    EXPECT_TRUE(destroyed);
    ASSERT_EQ(S_OK, Phases()->GetNumPhases(&count));  // nor initialised later
    EXPECT_EQ(0, count);
}

TEST_F(PackageCoreTest, ContextAndParametersAreThe10PackagesWhenItHasUtilities)
{
    ComPtr<ICapeThermoMaterial> context(CMaterial11::Create({})->Interface());
    ASSERT_EQ(S_OK, Utilities()->put_simulationContext(context.Get()));
    EXPECT_EQ(static_cast<IDispatch *>(context.Get()), package10->simulationContext.Get());
    EXPECT_TRUE(package->initPending);
    Script().failures[L"put_simulationContext"] = {E_ACCESSDENIED, L"refused"};
    EXPECT_EQ(E_ACCESSDENIED, Utilities()->put_simulationContext(context.Get()));
    EXPECT_EQ(L"", Error());

    Script().parameters = ComPtr<IDispatch>(context.Get());
    ComPtr<IDispatch> answer;
    ASSERT_EQ(S_OK, Utilities()->get_parameters(answer.Receive()));
    EXPECT_EQ(static_cast<IDispatch *>(context.Get()), answer.Get());
    EXPECT_FALSE(package->initPending);
    Script().failures[L"get_parameters"] = {ECapeUnknownHR, L"parameters are private"};
    EXPECT_EQ(ECapeUnknownHR, Utilities()->get_parameters(answer.Receive()));
    ExpectError(L"parameters are private", L"CPropertyPackage::get_parameters", L"ICapeUtilities");
    EXPECT_EQ(E_POINTER, Utilities()->get_parameters(nullptr));

    // Without 1.0 utilities: the context is dropped, no Initialize, no parameters, no editor.
    Fresh();
    Script().hasUtilities = false;
    ASSERT_EQ(S_OK, Utilities()->put_simulationContext(context.Get()));
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(0, Script().CountCalls(L"Initialize"));
    EXPECT_EQ(0, Script().CountCalls(L"put_simulationContext"));
    EXPECT_EQ(ECapeUnknownHR, Utilities()->get_parameters(answer.Receive()));
    EXPECT_EQ(L"This object does not expose parameters", Error());
    package->SetError(L"earlier", L"CPropertyPackage::Earlier", L"ICapeTest");
    EXPECT_EQ(ECapeNoImplHR, Utilities()->Edit());
    EXPECT_EQ(L"earlier", Error());
}

TEST_F(PackageCoreTest, EditReloadsWhatTheUserChangedAndReportsAFailedReload)
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
    EXPECT_EQ(E_ABORT, Utilities()->Edit());
    EXPECT_EQ(L"", Error());
    ASSERT_EQ(1u, package->compoundIds.size());
    EXPECT_DOUBLE_EQ(0.044097, package->molecularWeights[0]);
    EXPECT_EQ((StringList{L"Vapor", L"Liquid", L"Solid"}), Labels(package->phaseLabelsList));
    EXPECT_EQ(nullptr, package->compoundIndex.Lookup(L"methane"));
    EXPECT_EQ(StringList{L"entropy"}, Labels(package->singlePhasePropList));
    EXPECT_EQ(nullptr, package->propsBy10Name.Lookup(L"enthalpy"));
    EXPECT_EQ(1, Script().CountCalls(L"Initialize"));

    Script().failures.clear();
    Script().onEdit = [](CScriptedPackage10 &self) { self.script.phases.clear(); };
    EXPECT_EQ(ECapeUnknownHR, Utilities()->Edit());
    ExpectError(L"Property package contains no phases", L"CPropertyPackage::Edit", L"ICapeUtilities");
}

TEST_F(PackageCoreTest, AnswersForEveryOwnInterfaceAndPersistenceWhileThe10PackageHasIt)
{
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, packageRef.As(dispatch));
    EXPECT_EQ(static_cast<IDispatch *>(static_cast<ICapeThermoCompounds *>(package)), dispatch.Get());
    for (const IID &iid : {__uuidof(ICapeThermoEquilibriumRoutine), __uuidof(ICapeThermoMaterialContext),
                           __uuidof(ICapeThermoPhases), __uuidof(ICapeThermoPropertyRoutine),
                           __uuidof(ICapeThermoUniversalConstant), __uuidof(ICapeUtilities),
                           __uuidof(ICapeIdentification), __uuidof(ECapeUser)})
        EXPECT_EQ(S_OK, packageRef->QueryInterface(iid, ComPtr<IUnknown>().ReceiveVoid()));
    ComPtr<IPersistStreamInit> persist;
    EXPECT_EQ(E_NOINTERFACE, packageRef->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid()));
    Script().hasPersistStreamInit = true;
    ASSERT_EQ(S_OK, packageRef->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid()));
    ASSERT_EQ(S_OK, persist->InitNew());
    EXPECT_EQ(StringList{L"InitNew"}, Script().calls);
    ComPtr<IPersistStream> stream;  // the scripted package's own refusal is passed on
    EXPECT_EQ(E_NOINTERFACE, packageRef->QueryInterface(IID_IPersistStream, stream.ReceiveVoid()));
    persist.Reset();
    ASSERT_EQ(S_OK, Utilities()->Terminate());
    EXPECT_EQ(E_NOINTERFACE, packageRef->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid()));

    // Answers of success with no object are failures, never pointers to use.
    Fresh();
    Script().hasPersistStreamInit = true;
    Script().nullAnswers = {__uuidof(ICapeUtilities), IID_IPersistStreamInit};
    EXPECT_EQ(E_POINTER, packageRef->QueryInterface(IID_IPersistStreamInit, persist.ReceiveVoid()));
    EXPECT_FALSE(persist);

    EXPECT_EQ(ECapeUnknownHR, Initialize());
    EXPECT_EQ(L"Initialize failed: " + ErrorText(E_POINTER), Error());
    EXPECT_EQ(0, Script().CountCalls(L"Initialize"));
}

TEST_F(PackageCoreTest, ReleasingThePackageTerminatesAndReleasesThe10Package)
{
    bool destroyed = false;
    package10->destroyedFlag = &destroyed;
    ASSERT_EQ(S_OK, Initialize());
    // The test keeps the material object, as a 1.0 package may; the
    // scripted package's own reference is dropped.
    ComPtr<CMaterialObject> kept = package->materialObject;
    package10->lastMaterial.Reset();
    CScriptedPackage10 *raw = package10;
    package10Ref.Reset();
    raw->AddRef();
    packageRef.Reset();
    EXPECT_EQ(L"Terminate", raw->script.calls.back());
    EXPECT_FALSE(destroyed);
    raw->Release();
    EXPECT_TRUE(destroyed);

    // The material object outlives its package and every call fails cleanly.
    long count = -1;
    ScopedVariant ids;
    const wchar_t *notConnected = L"Material object is not connected to a property package";
    const struct {
        const wchar_t *method;
        std::function<HRESULT()> call;
        const wchar_t *message;
    } calls[] = {
        {L"GetNumComponents", [&] { return kept->GetNumComponents(&count); }, notConnected},
        {L"get_ComponentIds", [&] { return kept->get_ComponentIds(ids.Receive()); }, notConnected},
        {L"get_PhaseIds", [&] { return kept->get_PhaseIds(ids.Receive()); }, notConnected},
        {L"GetProp",
         [&] {
             return kept->GetProp(ScopedBstr(L"temperature").Get(), ScopedBstr(L"Vapor").Get(),
                                  Strings({L"methane"}).Value(), nullptr, nullptr, ids.Receive());
         },
         L"Unexpected call or arguments"}};
    for (const auto &[method, call, message] : calls) {
        EXPECT_EQ(ECapeUnknownHR, call()) << method;
        EXPECT_EQ(message, kept->ErrorDescription()) << method;
        EXPECT_EQ(std::wstring(L"CMaterialObject::") + method, kept->ErrorScope());
    }
}

// A failed initialisation is still reported after the package's own Terminate.
TEST_F(PackageCoreTest, AnInitialised10PackageIsTerminatedOnceWhateverFailedAfterwards)
{
    for (bool terminateFirst : {true, false}) {
        Fresh();
        Script().failures[L"GetComponentList"] = {ECapeUnknownHR, L"database missing"};
        ASSERT_EQ(ECapeUnknownHR, Initialize());
        ASSERT_EQ(1, Script().CountCalls(L"Initialize"));
        if (terminateFirst) {
            ASSERT_EQ(S_OK, Utilities()->Terminate());
            EXPECT_EQ(1, Script().CountCalls(L"Terminate"));
            long count = -1;
            EXPECT_EQ(ECapeUnknownHR, Phases()->GetNumPhases(&count));
            ExpectError(L"Failed to get list of compounds: database missing", L"CPropertyPackage::GetNumPhases",
                        L"ICapeThermoPhases");
            EXPECT_EQ(ECapeUnknownHR, Initialize());
        }
        packageRef.Reset();  // released without Terminate when not terminateFirst
        EXPECT_EQ(1, Script().CountCalls(L"Terminate")) << terminateFirst;
    }
}

TEST_F(PackageCoreTest, DependentPropertiesOfAllCompoundsShowEveryCompoundAndFreeTheCallersInOutValue)
{
    Script().propList = {L"vaporPressure"};
    StringList seen;
    long count = -1;
    Script().onCalcProp = [&](auto &, ICapeThermoMaterialObject *material, const StringList &props, auto &, auto &) {
        ScopedVariant ids;
        material->get_ComponentIds(ids.Get());
        seen = ReadStrings(ids.Value());
        material->GetNumComponents(&count);
        return SetProp10(material, props.at(0).c_str(), nullptr, nullptr, {1.0, 2.0}, L"pure");
    };
    ComPtr<CMaterial11> held = CMaterial11::Create({L"methane"});
    const ScopedVariant props = Strings({L"vaporPressure"});
    const ScopedVariant none;
    for (const VARIANT *request : {&none.Value(), &props.Value()}) {
        ScopedVariant inOut;
        V_VT(inOut.Get()) = VT_UNKNOWN;
        V_UNKNOWN(inOut.Get()) = held->Interface();
        held->AddRef();
        ASSERT_EQ(S_OK, package->GetTDependentProperty(*request, 300.0, none.Value(), inOut.Get()));
        EXPECT_NE(VT_UNKNOWN, inOut.Type());
        EXPECT_EQ(2u, held->AddRef()) << "the value passed in was not freed";
        held->Release();
    }
    EXPECT_EQ((StringList{L"methane", L"ethane"}), seen);
    EXPECT_EQ(2, count);
}

// A 1.0 package (or anything it calls) may call the 1.1 package back from
// inside a call. Such calls are refused, so that nothing starts a second
// initialisation or pulls the links and the material from under the call
// that is running; the running call itself completes.
TEST_F(PackageCoreTest, CallsBackIntoThePackageFromInsideItsCallsAreRefused)
{
    std::vector<HRESULT> answers;
    Script().onGetComponentConstant = [&](auto &self, ICapeThermoMaterialObject *, auto &, VARIANT *) {
        if (answers.empty()) {
            long count = 0;
            answers.push_back(Phases()->GetNumPhases(&count));
            answers.push_back(Utilities()->Terminate());
        }
        return self.FailWith(ECapeUnknownHR, L"no constants", L"GetComponentConstant");
    };
    ASSERT_EQ(S_OK, Initialize());
    EXPECT_EQ(1, Script().CountCalls(L"Initialize"));
    EXPECT_EQ((std::vector<HRESULT>{ECapeUnknownHR, ECapeUnknownHR}), answers);
    EXPECT_EQ(L"Property package is busy with another call", Error());
    EXPECT_EQ(L"CPropertyPackage::Terminate", package->ErrorScope());

    SetContext({L"methane", L"ethane"});
    answers.clear();
    FlashSets({L"Vapor"}, {{L"Vapor", 1.0}});
    Script().onCalcEquilibrium = [&, flash = Script().onCalcEquilibrium](auto &self, auto *material, auto &type) {
        answers.push_back(Utilities()->Terminate());
        answers.push_back(static_cast<ICapeThermoMaterialContext *>(package)->UnsetMaterial());
        return flash(self, material, type);
    };
    ASSERT_EQ(S_OK, RunFlash({L"temperature", L"", L"overall"}, {L"pressure", L"", L"overall"}));
    EXPECT_EQ((std::vector<HRESULT>{ECapeUnknownHR, ECapeUnknownHR}), answers);
    EXPECT_EQ((StringList{L"Vapor"}), material->presentPhases);
    EXPECT_TRUE(package->package10);
    EXPECT_EQ(0, Script().CountCalls(L"Terminate"));
}

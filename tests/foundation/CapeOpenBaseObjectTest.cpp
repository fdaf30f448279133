// The base object: identification, the error convention and the interface
// table. Aggregation is checked on the server's classes (ClientTest), late-bound
// calls by a script client (latebound-package.vbs).
#include <gtest/gtest.h>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"

namespace {

// A minimal object with one interface of its own.
class CTestObject : public CapeObject<ICapeUtilities> {
public:
    CTestObject() { SetIdentification(L"Tester", L"A test object"); }

    STDMETHODIMP get_parameters(IDispatch **) override { return NotImplemented(L"CTestObject::get_parameters", L"ICapeUtilities"); }
    STDMETHODIMP put_simulationContext(IDispatch *) override { return S_OK; }
    STDMETHODIMP Initialize() override { return Fail(L"first failure, a long one", L"CTestObject::Initialize", L"ICapeUtilities"); }
    STDMETHODIMP Terminate() override { return S_OK; }
    STDMETHODIMP Edit() override { return Fail(L"second", L"CTestObject::Edit", L"ICapeEdit"); }

protected:
    IUnknown *MainInterface() override { return static_cast<ICapeUtilities *>(this); }
    IUnknown *FindOwnInterface(REFIID riid) override
    {
        return IsEqualIID(riid, __uuidof(ICapeUtilities)) ? static_cast<ICapeUtilities *>(this) : nullptr;
    }
};

ComPtr<ICapeUtilities> NewTestObject()
{
    ComPtr<ICapeUtilities> object;
    EXPECT_EQ(S_OK, CreateComObject<CTestObject>(nullptr, __uuidof(ICapeUtilities), object.ReceiveVoid()));
    return object;
}

std::wstring Read(HRESULT (STDMETHODCALLTYPE ECapeUser::*getter)(BSTR *), ECapeUser *user)
{
    ScopedBstr text;
    EXPECT_EQ(S_OK, (user->*getter)(text.Receive()));
    return text.Text();
}

}  // namespace

TEST(CapeOpenBaseObject, ErrorStateFollowsTheConventionAndNamesCanChange)
{
    ComPtr<ICapeUtilities> object = NewTestObject();
    ComPtr<ECapeUser> user;
    ASSERT_EQ(S_OK, object.As(user));
    EXPECT_EQ(L"", Read(&ECapeUser::get_description, user.Get()));
    EXPECT_EQ(L"", Read(&ECapeUser::get_scope, user.Get()));
    EXPECT_EQ(L"", Read(&ECapeUser::get_interfaceName, user.Get()));
    EXPECT_EQ(L"N/A", Read(&ECapeUser::get_operation, user.Get()));
    long code = -1;
    EXPECT_EQ(S_OK, user->get_code(&code));
    EXPECT_EQ(0, code);

    EXPECT_EQ(ECapeUnknownHR, object->Initialize());
    EXPECT_EQ(ECapeUnknownHR, object->Edit());  // a shorter second message replaces all three strings
    EXPECT_EQ(L"second", Read(&ECapeUser::get_description, user.Get()));
    EXPECT_EQ(L"CTestObject::Edit", Read(&ECapeUser::get_scope, user.Get()));
    EXPECT_EQ(L"ICapeEdit", Read(&ECapeUser::get_interfaceName, user.Get()));
    EXPECT_EQ(S_OK, object->Terminate());  // success does not clear the state
    EXPECT_EQ(L"second", Read(&ECapeUser::get_description, user.Get()));
    EXPECT_EQ(S_OK, user->get_code(&code));
    EXPECT_EQ(0, code);

    ComPtr<ECapeRoot> root;
    ASSERT_EQ(S_OK, object.As(root));
    ScopedBstr name;
    EXPECT_EQ(S_OK, root->get_name(name.Receive()));
    EXPECT_STREQ(L"second", name.Text());

    // A simulator renames the objects it holds; a null name reads as empty.
    ComPtr<ICapeIdentification> id;
    ASSERT_EQ(S_OK, object.As(id));
    ScopedBstr renamed(L"Renamed");
    EXPECT_EQ(S_OK, id->put_ComponentName(renamed.Get()));
    EXPECT_EQ(S_OK, id->get_ComponentName(name.Receive()));
    EXPECT_STREQ(L"Renamed", name.Text());
    EXPECT_EQ(S_OK, id->put_ComponentDescription(nullptr));
    EXPECT_EQ(S_OK, id->get_ComponentDescription(name.Receive()));
    EXPECT_EQ(0u, name.Length());

    EXPECT_EQ(ECapeUnknownHR, object->get_parameters(nullptr));
    EXPECT_EQ(L"CTestObject::get_parameters is not implemented", Read(&ECapeUser::get_description, user.Get()));
    EXPECT_EQ(E_POINTER, user->get_description(nullptr));
}

// The module lock an object holds is checked on the server's classes, through DllCanUnloadNow (ClientTest).
TEST(CapeOpenBaseObject, InterfaceTable)
{
    ComPtr<ICapeUtilities> object = NewTestObject();
    ComPtr<IUnknown> unknown, again;
    ASSERT_EQ(S_OK, object.As(unknown));
    ComPtr<IDispatch> dispatch;
    ASSERT_EQ(S_OK, object.As(dispatch));
    EXPECT_EQ(static_cast<IUnknown *>(object.Get()), unknown.Get());  // IUnknown is the first row
    EXPECT_EQ(static_cast<IDispatch *>(object.Get()), dispatch.Get());  // IDispatch is the main interface
    ComPtr<ECapeUser> user;
    ASSERT_EQ(S_OK, object.As(user));
    ASSERT_EQ(S_OK, user.As(again));
    EXPECT_EQ(unknown.Get(), again.Get());  // one identity
    ComPtr<ECapeNoImpl> noImpl;
    EXPECT_EQ(S_OK, object.As(noImpl));
    ComPtr<ECapeUnknown> unknownError;
    EXPECT_EQ(S_OK, object.As(unknownError));

    void *raw = reinterpret_cast<void *>(1);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(__uuidof(ICapeThermoCompounds), &raw));
    EXPECT_EQ(nullptr, raw);
    EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));
}

TEST(TypeInfo, TheEmbeddedLibraryMatchesTheInterfaces)
{
    ITypeLib *library = nullptr;
    ASSERT_EQ(S_OK, LoadEmbeddedCapeOpenTypeLib(&library));
    TLIBATTR *attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_CAPEOPEN110, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(1, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);

    // Member order and DISPIDs of an interface called by slot.
    ITypeInfo *dispatchInfo = nullptr, *info = nullptr;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(__uuidof(ICapeThermoMaterialObject), &dispatchInfo));
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(S_OK, dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef));
    ASSERT_EQ(S_OK, dispatchInfo->GetRefTypeInfo(vtableRef, &info));
    dispatchInfo->Release();
    const wchar_t *expected[] = {L"ComponentIds", L"PhaseIds", L"GetUniversalConstant", L"GetComponentConstant",
                                 L"CalcProp", L"GetProp", L"SetProp", L"CalcEquilibrium", L"SetIndependentVar",
                                 L"GetIndependentVar", L"PropCheck", L"AvailableProps", L"RemoveResults",
                                 L"CreateMaterialObject", L"Duplicate", L"ValidityCheck", L"GetPropList",
                                 L"GetNumComponents"};
    for (int i = 0; i < 18; ++i) {
        FUNCDESC *function = nullptr;
        ASSERT_EQ(S_OK, info->GetFuncDesc(i, &function));
        BSTR name = nullptr;
        UINT got = 0;
        info->GetNames(function->memid, &name, 1, &got);
        EXPECT_STREQ(expected[i], name) << "member " << i;
        EXPECT_EQ(i + 1, function->memid);
        EXPECT_EQ((7 + i) * static_cast<int>(sizeof(void *)), function->oVft);
        SysFreeString(name);
        info->ReleaseFuncDesc(function);
    }
    info->Release();
    library->Release();
}

// The base object: identification, the error convention and the interface
// table. Aggregation is checked on the server's classes (ClientTest), late-bound
// calls by a script client (latebound-package.vbs).
#include <gtest/gtest.h>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"
#include "Material11.h"

namespace {

// The texts the object's ECapeUser gives: description, scope, interface, operation.
std::vector<std::wstring> ErrorState(ECapeUser *user)
{
    std::vector<std::wstring> texts;
    for (auto getter : {&ECapeUser::get_description, &ECapeUser::get_scope, &ECapeUser::get_interfaceName,
                        &ECapeUser::get_operation}) {
        ScopedBstr text;
        EXPECT_EQ(S_OK, (user->*getter)(text.Receive()));
        texts.push_back(text.Text());
    }
    return texts;
}

}  // namespace

// On the in-memory material, a plain CapeObject of the shared test components.
// Replacing a failure, ECapeRoot's name, the "not implemented" text and the
// component name are read back by the package, material and manager tests.
TEST(CapeOpenBaseObject, ErrorStateFollowsTheConvention)
{
    ComPtr<CMaterial11> object = CMaterial11::Create({L"methane"});
    ComPtr<ECapeUser> user;
    ASSERT_EQ(S_OK, object.As(user));
    EXPECT_EQ((std::vector<std::wstring>{L"", L"", L"", L"N/A"}), ErrorState(user.Get()));
    EXPECT_EQ(ECapeUnknownHR, object->Fail(L"failed", L"A::Call", L"ICapeEdit"));
    EXPECT_EQ((std::vector<std::wstring>{L"failed", L"A::Call", L"ICapeEdit", L"N/A"}), ErrorState(user.Get()));
    long code = -1;
    EXPECT_EQ(S_OK, user->get_code(&code));
    EXPECT_EQ(0, code);
    EXPECT_EQ(E_POINTER, user->get_description(nullptr));

    // A simulator may clear the description of the objects it holds; a null one reads as empty.
    ComPtr<ICapeIdentification> id;
    ASSERT_EQ(S_OK, object.As(id));
    ScopedBstr description;
    EXPECT_EQ(S_OK, id->put_ComponentDescription(nullptr));
    EXPECT_EQ(S_OK, id->get_ComponentDescription(description.Receive()));
    EXPECT_EQ(0u, description.Length());
}

// The module lock an object holds is checked on the server's classes, through DllCanUnloadNow (ClientTest).
TEST(CapeOpenBaseObject, InterfaceTable)
{
    ComPtr<CMaterial11> material = CMaterial11::Create({L"methane"});
    ICapeThermoMaterial *object = material->Interface();
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, material.As(unknown));
    EXPECT_EQ(static_cast<IUnknown *>(object), unknown.Get());  // IUnknown is the first row; IDispatch: package tests
    for (const IID &iid : {__uuidof(ECapeUser), __uuidof(ECapeNoImpl), __uuidof(ECapeUnknown)}) {
        ComPtr<IUnknown> error, again;
        ASSERT_EQ(S_OK, object->QueryInterface(iid, error.ReceiveVoid()));
        ASSERT_EQ(S_OK, error.As(again));
        EXPECT_EQ(unknown.Get(), again.Get());  // one identity
    }

    void *raw = reinterpret_cast<void *>(1);
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(__uuidof(ICapeUtilities), &raw));
    EXPECT_EQ(nullptr, raw);
    EXPECT_EQ(E_POINTER, object->QueryInterface(IID_IUnknown, nullptr));
}

TEST(TypeInfo, TheEmbeddedLibraryMatchesTheInterfaces)
{
    ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadEmbeddedCapeOpenTypeLib(library.Receive()));
    TLIBATTR *attributes = nullptr;
    ASSERT_EQ(S_OK, library->GetLibAttr(&attributes));
    EXPECT_TRUE(IsEqualGUID(LIBID_CAPEOPEN110, attributes->guid));
    EXPECT_EQ(1, attributes->wMajorVerNum);
    EXPECT_EQ(1, attributes->wMinorVerNum);
    library->ReleaseTLibAttr(attributes);

    // Member order and DISPIDs of an interface called by slot.
    ComPtr<ITypeInfo> dispatchInfo, info;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(__uuidof(ICapeThermoMaterialObject), dispatchInfo.Receive()));
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(S_OK, dispatchInfo->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef));
    ASSERT_EQ(S_OK, dispatchInfo->GetRefTypeInfo(vtableRef, info.Receive()));
    const wchar_t *expected[] = {L"ComponentIds", L"PhaseIds", L"GetUniversalConstant", L"GetComponentConstant",
                                 L"CalcProp", L"GetProp", L"SetProp", L"CalcEquilibrium", L"SetIndependentVar",
                                 L"GetIndependentVar", L"PropCheck", L"AvailableProps", L"RemoveResults",
                                 L"CreateMaterialObject", L"Duplicate", L"ValidityCheck", L"GetPropList",
                                 L"GetNumComponents"};
    for (int i = 0; i < 18; ++i) {
        FUNCDESC *function = nullptr;
        ASSERT_EQ(S_OK, info->GetFuncDesc(i, &function));
        ScopedBstr name;
        UINT got = 0;
        info->GetNames(function->memid, name.Receive(), 1, &got);
        EXPECT_STREQ(expected[i], name.Text()) << "member " << i;
        EXPECT_EQ(i + 1, function->memid);
        EXPECT_EQ((7 + i) * static_cast<int>(sizeof(void *)), function->oVft);
        info->ReleaseFuncDesc(function);
    }
}

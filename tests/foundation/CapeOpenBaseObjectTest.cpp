// The base object: identification, the error convention and IDispatch.
#include <gtest/gtest.h>

#include "CapeOpenBaseObject.h"
#include "ComHolders.h"

namespace {

// A minimal object with no interfaces of its own.
class CTestObject : public CapeObject<> {
public:
    CTestObject() { SetIdentification(L"Tester", L"A test object"); }

protected:
    IUnknown *MainInterface() override { return static_cast<DispatchPart<ICapeIdentification> *>(this); }
    IUnknown *FindOwnInterface(REFIID) override { return nullptr; }
};

ComPtr<ICapeIdentification> NewTestObject()
{
    ComPtr<ICapeIdentification> object;
    EXPECT_EQ(S_OK, CreateComObject<CTestObject>(nullptr, __uuidof(ICapeIdentification), object.ReceiveVoid()));
    return object;
}

VARIANT InvokeGet(IDispatch *dispatch, const wchar_t *member)
{
    LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
    DISPID id = 0;
    EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                                     nullptr, nullptr));
    return result;
}

}  // namespace

TEST(CapeOpenBaseObject, LateBoundCallsReachTheObject)
{
    ComPtr<ICapeIdentification> object = NewTestObject();
    VARIANT name = InvokeGet(object.Get(), L"ComponentName");
    ASSERT_EQ(VT_BSTR, V_VT(&name));
    EXPECT_STREQ(L"Tester", V_BSTR(&name));
    VariantClear(&name);

    ComPtr<ECapeUser> user;
    ASSERT_EQ(S_OK, object.As(user));
    static_cast<CTestObject *>(static_cast<DispatchPart<ICapeIdentification> *>(object.Get()))
        ->SetError(L"it broke", L"CTestObject::Run", L"ICapeTest");
    VARIANT description = InvokeGet(user.Get(), L"description");
    ASSERT_EQ(VT_BSTR, V_VT(&description));
    EXPECT_STREQ(L"it broke", V_BSTR(&description));
    VariantClear(&description);
}

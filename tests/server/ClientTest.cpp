// A client process using the registered server through COM alone, as a
// simulator does: manager and package creation, class objects, aggregation
// and unloading.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "ComHolders.h"
#include "Corvanta.h"

namespace {

using DllGetClassObjectFn = HRESULT(WINAPI *)(REFCLSID, REFIID, void **);
using DllCanUnloadNowFn = HRESULT(WINAPI *)();

// An entry point of the server as loaded into this process by COM, which
// makes sure it is the registered module.
template <typename EntryPoint>
EntryPoint ServerEntry(const char *name)
{
    ComPtr<IUnknown> warmUp;
    CoCreateInstance(CLSID_PropertyPackageManager, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, warmUp.ReceiveVoid());
    HMODULE module = GetModuleHandleW(L"Corvanta.dll");
    return module ? reinterpret_cast<EntryPoint>(reinterpret_cast<void *>(GetProcAddress(module, name))) : nullptr;
}

// An outer object of an aggregate: counts its own references and hands
// every other interface to the inner object.
class OuterObject : public IUnknown {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = static_cast<IUnknown *>(this);
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }

    ULONG refs = 1;
    IUnknown *inner = nullptr;
};

TEST(ClientTest, CreatesManagerAndPackagesThenLetsTheServerUnload)
{
    const auto canUnloadNow = ServerEntry<DllCanUnloadNowFn>("DllCanUnloadNow");
    ASSERT_TRUE(canUnloadNow) << "Corvanta.dll was not loaded by COM";
    {
        // Creation by ProgID is the concurrent clients' (manager_thread_tests).
        ComPtr<ICapeThermoPropertyPackageManager> manager;
        ASSERT_EQ(CoCreateInstance(CLSID_PropertyPackageManager, nullptr, CLSCTX_INPROC_SERVER,
                                   __uuidof(ICapeThermoPropertyPackageManager), manager.ReceiveVoid()),
                  S_OK);
        // The list and the package's own calls are the late-bound client's (latebound-package.vbs).
        ComPtr<IDispatch> package;
        ASSERT_EQ(manager->GetPropertyPackage(ScopedBstr(L"Sys//B").Get(), package.Receive()), S_OK);
        manager.Reset();
        EXPECT_EQ(canUnloadNow(), S_FALSE) << "the package alone keeps the server loaded";
    }
    EXPECT_EQ(canUnloadNow(), S_OK);

    // COM unloads the idle server; the next tests load it again.
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(GetModuleHandleW(L"Corvanta.dll"), nullptr);
}

TEST(ClientTest, ClassObjectsAreSharedKeepTheServerLoadedAndAggregatePerClass)
{
    const auto getClassObject = ServerEntry<DllGetClassObjectFn>("DllGetClassObject");
    const auto canUnloadNow = ServerEntry<DllCanUnloadNowFn>("DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnloadNow);
    ASSERT_EQ(canUnloadNow(), S_OK);

    ComPtr<IClassFactory> first, second;
    ASSERT_EQ(getClassObject(CLSID_PropertyPackageManager, IID_IClassFactory, first.ReceiveVoid()), S_OK);
    ASSERT_EQ(getClassObject(CLSID_PropertyPackageManager, IID_IClassFactory, second.ReceiveVoid()), S_OK);
    EXPECT_EQ(first.Get(), second.Get());
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    second.Reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    first.Reset();
    EXPECT_EQ(canUnloadNow(), S_OK);

    for (BOOL lock : {TRUE, FALSE}) {
        ComPtr<IClassFactory> factory;
        ASSERT_EQ(getClassObject(CLSID_MaterialObject, IID_IClassFactory, factory.ReceiveVoid()), S_OK);
        EXPECT_EQ(factory->LockServer(lock), S_OK);
        factory.Reset();
        EXPECT_EQ(canUnloadNow(), lock ? S_FALSE : S_OK);
    }

    void *object = reinterpret_cast<void *>(0x1234);
    EXPECT_EQ(getClassObject(IID_IUnknown, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject(CLSID_PropertyPackageManager, IID_IClassFactory, nullptr), E_POINTER);

    // The manager aggregates: its interfaces then count on the outer object.
    OuterObject outer;
    ComPtr<IUnknown> inner;
    ASSERT_EQ(CoCreateInstance(CLSID_PropertyPackageManager, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               inner.ReceiveVoid()), S_OK);
    outer.inner = inner.Get();
    ComPtr<ICapeThermoPropertyPackageManager> manager;
    ASSERT_EQ(QueryFrom(inner.Get(), manager), S_OK);
    EXPECT_EQ(outer.refs, 2u);
    ComPtr<IUnknown> identity;
    ASSERT_EQ(QueryFrom(manager.Get(), identity), S_OK);
    EXPECT_EQ(identity.Get(), static_cast<IUnknown *>(&outer));
    identity.Reset();
    manager.Reset();
    outer.inner = nullptr;
    inner.Reset();
    EXPECT_EQ(outer.refs, 1u);

    EXPECT_EQ(CoCreateInstance(CLSID_PropertyPackageManager, &outer, CLSCTX_INPROC_SERVER,
                               __uuidof(ICapeThermoPropertyPackageManager), &object),
              CLASS_E_NOAGGREGATION);

    {
        ComPtr<IClassFactory> packageFactory, materialFactory;
        ASSERT_EQ(getClassObject(CLSID_PropertyPackage, IID_IClassFactory, packageFactory.ReceiveVoid()), S_OK);
        object = reinterpret_cast<void *>(0x1234);
        EXPECT_EQ(packageFactory->CreateInstance(&outer, IID_IUnknown, &object), CLASS_E_NOAGGREGATION);
        EXPECT_EQ(object, nullptr);
        ComPtr<IUnknown> package, material;
        EXPECT_EQ(packageFactory->CreateInstance(nullptr, __uuidof(ICapeThermoCompounds), package.ReceiveVoid()),
                  S_OK);

        ASSERT_EQ(getClassObject(CLSID_MaterialObject, IID_IClassFactory, materialFactory.ReceiveVoid()),
                  S_OK);
        EXPECT_EQ(materialFactory->CreateInstance(&outer, IID_IUnknown, material.ReceiveVoid()), S_OK);
        EXPECT_EQ(materialFactory->CreateInstance(nullptr, IID_IClassFactory, &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
    }
    EXPECT_EQ(canUnloadNow(), S_OK);
}

}  // namespace

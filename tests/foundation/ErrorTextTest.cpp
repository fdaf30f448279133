// Texts for failures of other components.
#include <gtest/gtest.h>

#include "CapeOpen.h"
#include "CapeOpenResults.h"
#include "ErrorText.h"

namespace {

// A component whose error interfaces are scripted: it may offer ECapeUser
// and/or ECapeRoot, each with its own text.
class ErrorSource : public ECapeUser, public ECapeRoot {
public:
    ErrorSource(bool user, const wchar_t *description, bool root, const wchar_t *name)
        : user_(user), root_(root), description_(description), name_(name) {}

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown)) *ppv = static_cast<ECapeUser *>(this);
        if (user_ && IsEqualIID(riid, __uuidof(ECapeUser))) *ppv = static_cast<ECapeUser *>(this);
        if (root_ && IsEqualIID(riid, __uuidof(ECapeRoot))) *ppv = static_cast<ECapeRoot *>(this);
        if (!*ppv) return E_NOINTERFACE;
        ++queries;
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetTypeInfoCount(UINT *) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }
    STDMETHODIMP get_name(BSTR *name) override { return Text(name_, name); }
    STDMETHODIMP get_code(long *code) override { *code = 0; return S_OK; }
    STDMETHODIMP get_description(BSTR *description) override { return Text(description_, description); }
    STDMETHODIMP get_scope(BSTR *scope) override { return Text(L"", scope); }
    STDMETHODIMP get_interfaceName(BSTR *name) override { return Text(L"", name); }
    STDMETHODIMP get_operation(BSTR *operation) override { return Text(L"", operation); }
    STDMETHODIMP get_moreInfo(BSTR *moreInfo) override { return Text(L"", moreInfo); }

    int queries = 0;

private:
    static HRESULT Text(const wchar_t *text, BSTR *out)
    {
        *out = text ? SysAllocString(text) : nullptr;
        return S_OK;
    }
    bool user_, root_;
    const wchar_t *description_, *name_;
};

IUnknown *AsUnknown(ErrorSource &source) { return static_cast<ECapeUser *>(&source); }

}  // namespace

TEST(ErrorText, SystemTextsAndTheFallback)
{
    std::wstring text = ErrorText(E_OUTOFMEMORY);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(L'\n', text.back());
    EXPECT_NE(L'\r', text.back());

    EXPECT_EQ(L"error code 0x8004051B", ErrorText(static_cast<HRESULT>(0x8004051B)));
    EXPECT_EQ(L"error code 0xA0000001", ErrorText(static_cast<HRESULT>(0xA0000001)));
}

TEST(CapeErrorText, PrefersTheComponentsOwnWordsInsideTheCapeRangeOnly)
{
    ErrorSource both(true, L"user words", true, L"root words"), emptyUser(true, L"", true, L"root words"),
        nullTexts(true, nullptr, true, nullptr), mute(false, nullptr, false, nullptr);
    const struct {
        ErrorSource &source;
        HRESULT code;
        std::wstring expected;
    } cases[] = {
        {both, ECapeUnknownHR, L"user words"},
        {emptyUser, ECapeNoImplHR, L"root words"},
        {nullTexts, ECapeNoImplHR, L"not implemented"},
        {mute, ECapeNoImplHR, L"not implemented"},
        {mute, ECapeUnknownHR, L"Failed to get error name for ECapeUnknown"},
        {mute, ECapeThrmPropertyNotAvailableHR,
         L"One or more of the requested thermodynamic properties are not set on the material"},
        // Outside the range the component is not asked.
        {both, E_FAIL, ErrorText(E_FAIL)},
        {both, static_cast<HRESULT>(0x8004051B), L"error code 0x8004051B"},
    };
    for (const auto &c : cases) EXPECT_EQ(c.expected, CapeErrorText(AsUnknown(c.source), c.code)) << std::hex << c.code;
    const int queries = both.queries;
    CapeErrorText(AsUnknown(both), E_FAIL);
    EXPECT_EQ(queries, both.queries);
}

// Texts for failures of other components.
#include <gtest/gtest.h>

#include "CapeOpenBaseObject.h"
#include "CapeOpenResults.h"
#include "ErrorText.h"

namespace {

// A component whose error interfaces are scripted: it may offer ECapeUser
// and/or ECapeRoot, each with its own text.
class ErrorSource : public CapeObject<> {
public:
    ErrorSource(bool user, const wchar_t *description, bool root, const wchar_t *name)
        : user_(user), root_(root), description_(description), name_(name) {}

    STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override
    {
        *ppv = nullptr;
        if ((!user_ && IsEqualIID(riid, __uuidof(ECapeUser))) || (!root_ && IsEqualIID(riid, __uuidof(ECapeRoot))))
            return E_NOINTERFACE;
        ++queries;
        return CapeObject::QueryInterface(riid, ppv);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP get_name(BSTR *name) override { return Text(name_, name); }
    STDMETHODIMP get_description(BSTR *description) override { return Text(description_, description); }

    IUnknown *MainInterface() override { return static_cast<DispatchPart<ECapeUser> *>(this); }
    int queries = 0;

protected:
    IUnknown *FindOwnInterface(REFIID) override { return nullptr; }

private:
    static HRESULT Text(const wchar_t *text, BSTR *out)
    {
        *out = text ? SysAllocString(text) : nullptr;
        return S_OK;
    }
    bool user_, root_;
    const wchar_t *description_, *name_;
};

}  // namespace

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
        // Outside the range the component is not asked; codes without a system text are shown as numbers.
        {both, E_FAIL, ErrorText(E_FAIL)},
        {both, static_cast<HRESULT>(0x8004051B), L"error code 0x8004051B"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.expected, CapeErrorText(c.source.MainInterface(), c.code)) << std::hex << c.code;
    const int queries = both.queries;
    CapeErrorText(both.MainInterface(), E_FAIL);
    EXPECT_EQ(queries, both.queries);
    // System texts are shown without the line break they come with.
    const std::wstring system = ErrorText(E_OUTOFMEMORY);
    EXPECT_TRUE(!system.empty() && system.back() != L'\n' && system.back() != L'\r');
}

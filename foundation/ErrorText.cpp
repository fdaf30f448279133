#include "ErrorText.h"

#include <memory>
#include <new>

#include "CapeOpen.h"
#include "CapeOpenResults.h"
#include "ComHolders.h"

namespace {

const wchar_t *const capeFixedTexts[] = {
    L"Failed to get error name for ECapeUnknown",  // 0x80040501
    L"invalid data",
    L"license problem",
    L"Bad Cape-Open parameter",
    L"Bad argument",
    L"Invalid argument",
    L"index out of bounds",
    L"current implementation related error",
    L"not implemented",  // 0x80040509
    L"implementation is limited",
    L"computation error",
    L"out of resources",
    L"out of memory",
    L"operation was timed out",
    L"initialization error",
    L"solution error",
    L"invalid order of invocations",
    L"invalid operation",
    L"storage / persistence error",
    L"illegal access",
    L"persistence error: not found",
    L"persistence system error",
    L"persistence overflow error",
    L"solver scope error",
    L"Hessian information not available",
    L"One or more of the requested thermodynamic properties are not set on the material",  // 0x8004051A
};

bool InCapeRange(HRESULT code)
{
    return static_cast<ULONG>(code) >= static_cast<ULONG>(ECapeFirstHR) &&
           static_cast<ULONG>(code) <= static_cast<ULONG>(ECapeLastHR);
}

}  // namespace

const wchar_t *CapeFixedErrorText(HRESULT code)
{
    if (!InCapeRange(code)) return nullptr;
    return capeFixedTexts[static_cast<ULONG>(code) - static_cast<ULONG>(ECapeFirstHR)];
}

std::wstring ErrorText(HRESULT code)
{
    constexpr DWORD bufferSize = 1024;
    std::unique_ptr<wchar_t[]> buffer(new (std::nothrow) wchar_t[bufferSize]);
    if (!buffer) return L"<out of memory>";
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  buffer.get(), bufferSize, nullptr);
    if (length == 0)
        length = static_cast<DWORD>(wsprintfW(buffer.get(), L"error code 0x%08X", static_cast<ULONG>(code)));
    std::wstring text(buffer.get(), length);
    if (!text.empty() && text.back() == L'\n') {
        text.pop_back();
        if (!text.empty() && text.back() == L'\r') text.pop_back();
    }
    if (text.empty()) text = L"<unknown error>";
    return text;
}

std::wstring CapeErrorText(IUnknown *component, HRESULT code)
{
    if (!InCapeRange(code)) return ErrorText(code);
    if (component) {
        ComPtr<ECapeUser> user;
        if (SUCCEEDED(QueryFrom(component, user)) && user) {
            ScopedBstr description;
            if (SUCCEEDED(user->get_description(description.Receive())) && !description.IsEmpty())
                return description.Text();
        }
        ComPtr<ECapeRoot> root;
        if (SUCCEEDED(QueryFrom(component, root)) && root) {
            ScopedBstr name;
            if (SUCCEEDED(root->get_name(name.Receive())) && !name.IsEmpty()) return name.Text();
        }
    }
    return CapeFixedErrorText(code);
}

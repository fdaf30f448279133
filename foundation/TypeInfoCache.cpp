#include "TypeInfoCache.h"

#include <oleauto.h>

#include "CapeOpen.h"
#include "ComHolders.h"
#include "ModuleLock.h"

namespace {

constexpr WORD capeOpenMajor = 1;
constexpr WORD capeOpenMinor = 1;
constexpr WORD embeddedCapeOpenTypeLibId = 2;

ITypeLib *library = nullptr;

struct CachedInfo {
    IID iid;
    ITypeInfo *info;
};
// Every interface the system serves through IDispatch fits in here.
CachedInfo cache[24];
int cacheSize = 0;

HRESULT LoadLibraryLocked()
{
    if (library) return S_OK;
    HRESULT hr = LoadRegTypeLib(LIBID_CAPEOPEN110, capeOpenMajor, capeOpenMinor, 0, &library);
    if (SUCCEEDED(hr = ObjectResult(hr, library))) return hr;
    library = nullptr;
    hr = LoadEmbeddedCapeOpenTypeLib(&library);
    hr = ObjectResult(hr, library);
    if (FAILED(hr)) library = nullptr;
    return hr;
}

// A dual interface is found as its dispinterface; DispInvoke needs the
// vtable description, which calls methods by slot instead of re-entering
// IDispatch::Invoke.
HRESULT VtableInfo(ITypeInfo *&info)
{
    TYPEATTR *attributes = nullptr;
    HRESULT hr = info->GetTypeAttr(&attributes);
    hr = ObjectResult(hr, attributes);
    if (FAILED(hr)) {
        info->Release();
        return hr;
    }
    const bool dualDispatch = attributes->typekind == TKIND_DISPATCH && (attributes->wTypeFlags & TYPEFLAG_FDUAL);
    info->ReleaseTypeAttr(attributes);
    if (!dualDispatch) return S_OK;
    HREFTYPE vtableRef = 0;
    ITypeInfo *vtable = nullptr;
    hr = info->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef);
    if (SUCCEEDED(hr)) hr = info->GetRefTypeInfo(vtableRef, &vtable);
    hr = ObjectResult(hr, vtable);
    info->Release();
    info = SUCCEEDED(hr) ? vtable : nullptr;
    return hr;
}

}  // namespace

HRESULT LoadEmbeddedCapeOpenTypeLib(ITypeLib **result)
{
    *result = nullptr;
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&LoadEmbeddedCapeOpenTypeLib), &module))
        return HRESULT_FROM_WIN32(GetLastError());
    wchar_t path[MAX_PATH + 8];
    DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
    wsprintfW(path + length, L"\\%u", embeddedCapeOpenTypeLibId);
    return LoadTypeLibEx(path, REGKIND_NONE, result);
}

HRESULT GetCapeOpenTypeInfo(REFIID iid, ITypeInfo **info)
{
    if (!info) return E_POINTER;
    *info = nullptr;
    ModuleLockGuard guard;
    for (int i = 0; i < cacheSize; ++i) {
        if (IsEqualIID(cache[i].iid, iid)) {
            *info = cache[i].info;
            (*info)->AddRef();
            return S_OK;
        }
    }
    HRESULT hr = LoadLibraryLocked();
    if (FAILED(hr)) return hr;
    ITypeInfo *loaded = nullptr;
    hr = library->GetTypeInfoOfGuid(iid, &loaded);
    hr = ObjectResult(hr, loaded);
    if (FAILED(hr)) return hr;
    hr = VtableInfo(loaded);
    if (FAILED(hr)) return hr;
    if (cacheSize < static_cast<int>(sizeof(cache) / sizeof(cache[0]))) {
        cache[cacheSize++] = {iid, loaded};
        loaded->AddRef();
    }
    *info = loaded;
    return S_OK;
}

void ReleaseCapeOpenTypeInfo()
{
    ModuleLockGuard guard;
    for (int i = 0; i < cacheSize; ++i) cache[i].info->Release();
    cacheSize = 0;
    if (library) library->Release();
    library = nullptr;
}

#include "CorvantaModule.h"

#include <cstdio>
#include <new>

#include "ClassFactory.h"
#include "ClassTable.h"
#include "ModuleLock.h"
#include "ThermoSystemDiscovery.h"
#include "TypeInfoCache.h"

CCorvantaModule corvantaModule;

namespace {

constexpr DWORD modulePathCapacity = 1024;
constexpr DWORD versionInfoBytes = 1024;

// One slot per class table row; filled on first request, kept until unload.
IClassFactory *classObjects[8] = {};

}  // namespace

void FormatVersionText(const void *versionBlock, wchar_t *text, size_t capacity)
{
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (!versionBlock || !VerQueryValueW(versionBlock, L"\\", reinterpret_cast<void **>(&fixed), &length) ||
        !fixed || length < sizeof(VS_FIXEDFILEINFO)) {
        swprintf(text, capacity, L"<unknown>");
        return;
    }
    swprintf(text, capacity, L"%d.%d.%d.%d", static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
             static_cast<int>(LOWORD(fixed->dwFileVersionMS)), static_cast<int>(HIWORD(fixed->dwFileVersionLS)),
             static_cast<int>(LOWORD(fixed->dwFileVersionLS)));
}

void FileVersionText(const wchar_t *path, wchar_t *text, size_t capacity)
{
    text[0] = L'\0';
    // The fixed part sits at the start of the block, so a block cut short
    // at 1024 bytes still holds it.
    alignas(8) unsigned char block[versionInfoBytes];
    if (!GetFileVersionInfoW(path, 0, sizeof(block), block)) return;
    FormatVersionText(block, text, capacity);
}

void CCorvantaModule::Attach(HMODULE module)
{
    handle = module;
    MakeVersionText();
}

bool CCorvantaModule::Ready() const
{
    return ModuleLockReady();
}

void CCorvantaModule::MakeVersionText()
{
    versionText[0] = L'\0';
    wchar_t path[modulePathCapacity + 1];
    DWORD length = GetModuleFileNameW(handle, path, modulePathCapacity);
    if (length == 0 || length >= modulePathCapacity) return;
    path[length] = L'\0';
    FileVersionText(path, versionText, sizeof(versionText) / sizeof(versionText[0]));
}

IClassFactory *CCorvantaModule::ClassObject(size_t index)
{
    if (index >= classTableSize || index >= sizeof(classObjects) / sizeof(classObjects[0])) return nullptr;
    ModuleLockGuard guard;
    if (!classObjects[index]) {
        classObjects[index] = new (std::nothrow) CClassFactory(classTable[index].create);
        if (!classObjects[index]) return nullptr;
    }
    classObjects[index]->AddRef();
    return classObjects[index];
}

void CCorvantaModule::Unload()
{
    for (IClassFactory *&object : classObjects) {
        if (object) object->Release();
        object = nullptr;
    }
    ResetThermoSystemDiscovery();
    ReleaseCapeOpenTypeInfo();
}

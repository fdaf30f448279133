#include "ThermoSystemDiscovery.h"

#include <cwchar>
#include <cwctype>
#include <new>
#include <vector>

#include "CapeOpenIds.h"
#include "ComHolders.h"
#include "ErrorText.h"
#include "ModuleLock.h"
#include "Names.h"
#include "RegistryKey.h"
#include "ThermoSystemSession.h"

namespace {

constexpr DWORD keyNameCapacity = 1024;
constexpr DWORD nameValueBytes = 1024;

ThermoSystemDiscoveryResults results;

// Sorts one class key into the lists by its implemented categories. Most
// classes have none, so their categories key is opened straight from the
// CLSID key (one registry call per class instead of two: every call is a
// round trip to the wineserver under Wine, and there are thousands of
// classes), and the class key itself only for a category that counts.
void ClassifyClass(HKEY clsidKey, const wchar_t *clsidText, wchar_t *categoryName, RegisteredClasses &found)
{
    constexpr wchar_t categoriesKey[] = L"\\Implemented Categories";
    wchar_t path[keyNameCapacity + sizeof categoriesKey / sizeof(wchar_t)];
    const size_t length = wcslen(clsidText);
    if (length >= keyNameCapacity) return;
    wmemcpy(path, clsidText, length);
    wmemcpy(path + length, categoriesKey, sizeof categoriesKey / sizeof(wchar_t));
    RegistryKey categories;
    if (!categories.Open(clsidKey, path, KEY_READ)) return;
    RegistryKey classKey;
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = keyNameCapacity;
        if (RegEnumKeyExW(categories.key, index, categoryName, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        std::vector<ThermoSystemRecord> *list = nullptr;
        if (lstrcmpiW(categoryName, CatidThermoSystem10Text) == 0)
            list = &found.thermoSystems10;
        else if (lstrcmpiW(categoryName, CatidPropertyPackageManager11Text) == 0)
            list = &found.managers11;
        if (!list) continue;
        if (!classKey.key && !classKey.Open(clsidKey, clsidText, KEY_READ)) return;
        ThermoSystemRecord record{{}, clsidText, {}};
        ReadCapeDescription(record, classKey.key);
        MakeProductKey(record);
        list->push_back(std::move(record));
    }
}

void StorePackageList(const std::vector<std::wstring> &packageNames)
{
    results.packageList.Create(static_cast<LONG>(packageNames.size()), VT_BSTR);
    for (LONG i = 0; i < static_cast<LONG>(packageNames.size()); ++i) {
        ScopedBstr name(packageNames[i].c_str());
        results.packageList.PutElement(i, name.Get());
    }
}

// The next word of text from pos, white space as the C locale classifies it.
std::wstring NextWord(const std::wstring &text, size_t &pos)
{
    while (pos < text.size() && iswspace(text[pos])) ++pos;
    size_t start = pos;
    while (pos < text.size() && !iswspace(text[pos])) ++pos;
    return text.substr(start, pos - start);
}

}  // namespace

void FindRegisteredClasses(HKEY clsidKey, RegisteredClasses &found)
{
    std::vector<wchar_t> className(keyNameCapacity);
    std::vector<wchar_t> categoryName(keyNameCapacity);
    for (DWORD index = 0;; ++index) {
        DWORD length = keyNameCapacity;
        if (RegEnumKeyExW(clsidKey, index, className.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        // Running out of memory here leaves out this class alone.
        try {
            ClassifyClass(clsidKey, className.data(), categoryName.data(), found);
        } catch (const std::bad_alloc &) {
        }
    }
}

const ThermoSystemRecord *ExcludingManager(const ThermoSystemRecord &thermoSystem,
                                           const std::vector<ThermoSystemRecord> &managers)
{
    for (const ThermoSystemRecord &manager : managers)
        if (manager.productKey == thermoSystem.productKey) return &manager;
    return nullptr;
}

bool QueryThermoSystemPackages(const ThermoSystemRecord &record, CLSID &clsid, std::vector<std::wstring> &packages,
                               std::wstring &failure)
{
    packages.clear();
    failure.clear();
    HRESULT hr = CLSIDFromString(record.clsid.c_str(), &clsid);
    if (FAILED(hr)) {
        failure = L"Invalid class identifier: " + ErrorText(hr);
        return false;
    }
    ThermoSystemSession session;
    if (FAILED(hr = session.Create(clsid))) {
        failure = L"Failed to create thermo system: " + ErrorText(hr);
        return false;
    }
    if (FAILED(hr = session.InitNew())) {
        failure = L"InitNew failed: " + ErrorText(hr);
        return false;
    }
    if (FAILED(hr = session.Initialize())) {
        failure = L"Initialize failed: " + CapeErrorText(session.Utilities(), hr);
        return false;
    }
    CVariantArray list;
    std::wstring reason;
    hr = session.System()->GetPropertyPackages(list.Receive());
    if (FAILED(hr))
        failure = L"GetPropertyPackages failed: " + CapeErrorText(session.System(), hr);
    else if (!list.Check(VT_BSTR, reason))
        failure = L"Invalid list of packages: " + reason;
    else if (list.Count() == 0)
        failure = L"The thermo system has no packages";
    for (LONG i = 0; failure.empty() && i < list.Count(); ++i) {
        ScopedBstr package = ScopedBstr::Adopt(list.GetString(i));
        packages.push_back(package.Text());
    }
    session.Terminate();
    return failure.empty();
}

void ReadCapeDescription(ThermoSystemRecord &record, HKEY classKey)
{
    RegistryKey description;
    if (!description.Open(classKey, L"CapeDescription", KEY_READ)) {
        record.name = record.clsid;
        return;
    }
    wchar_t name[nameValueBytes / sizeof(wchar_t) + 1] = {};
    DWORD bytes = nameValueBytes;
    DWORD type = 0;
    if (RegQueryValueExW(description.key, L"Name", nullptr, &type, reinterpret_cast<BYTE *>(name), &bytes) !=
        ERROR_SUCCESS) {
        record.name = record.clsid;
        return;
    }
    // The data need not end with a null: the spare slot guarantees one.
    name[bytes / sizeof(wchar_t)] = L'\0';
    record.name = name;
}

void MakeProductKey(ThermoSystemRecord &record)
{
    size_t pos = 0;
    record.productKey = NextWord(record.name, pos);
    // One maker names its products with two words, "Aspen Properties", ...
    if (record.productKey == L"Aspen") record.productKey += NextWord(record.name, pos);
}

void DiscoverThermoSystems()
{
    // Simulators call from several apartments at once: the first caller
    // builds the results under the module lock while the others wait, and
    // afterwards they are only read.
    ModuleLockGuard guard;
    if (!results.discoveryPending) return;
    results.discoveryPending = false;
    // Running out of memory outside one thermo system's turn leaves the
    // results as far as they got.
    try {
        RegisteredClasses found;
        RegistryKey clsidKey;
        if (!clsidKey.Open(HKEY_CLASSES_ROOT, L"CLSID", KEY_ENUMERATE_SUB_KEYS)) return;
        FindRegisteredClasses(clsidKey.key, found);
        std::vector<std::wstring> packageNames, packages;
        std::wstring ignored;
        for (const ThermoSystemRecord &record : found.thermoSystems10) {
            // Running out of memory in one thermo system's turn leaves out that one alone.
            const size_t namesBefore = packageNames.size();
            try {
                CLSID clsid;
                if (ExcludingManager(record, found.managers11) ||
                    !QueryThermoSystemPackages(record, clsid, packages, ignored))
                    continue;
                for (const std::wstring &package : packages) packageNames.push_back(record.name + L"//" + package);
                results.thermoSystemClsids.Entry(record.name.c_str()) = clsid;
            } catch (const std::bad_alloc &) {
                packageNames.resize(namesBefore);
            }
        }
        StorePackageList(packageNames);
    } catch (...) {
    }
}

const ThermoSystemDiscoveryResults &ThermoSystemDiscovery()
{
    return results;
}

void ResetThermoSystemDiscovery()
{
    ModuleLockGuard guard;
    results.packageList.Reset();
    results.thermoSystemClsids.Clear();
    results.discoveryPending = true;
}

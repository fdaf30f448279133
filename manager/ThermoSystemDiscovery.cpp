#include "ThermoSystemDiscovery.h"

#include <cwctype>
#include <vector>

#include "CapeOpenIds.h"
#include "ComHolders.h"
#include "Names.h"
#include "ThermoSystemSession.h"

namespace {

constexpr DWORD keyNameCapacity = 1024;
constexpr DWORD nameValueBytes = 1024;

ThermoSystemDiscoveryResults results;

class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    ~RegistryKey()
    {
        if (key) RegCloseKey(key);
    }
    bool Open(HKEY parent, const wchar_t *name, REGSAM access)
    {
        return RegOpenKeyExW(parent, name, 0, access, &key) == ERROR_SUCCESS;
    }
    HKEY key = nullptr;
};

struct FoundClasses {
    std::vector<ThermoSystemRecord> thermoSystems10;
    std::vector<ThermoSystemRecord> managers11;
};

// Sorts one class key into the lists by its implemented categories.
void ClassifyClass(HKEY clsidKey, const wchar_t *clsidText, wchar_t *categoryName, FoundClasses &found)
{
    RegistryKey classKey;
    if (!classKey.Open(clsidKey, clsidText, KEY_READ)) return;
    RegistryKey categories;
    if (!categories.Open(classKey.key, L"Implemented Categories", KEY_READ)) return;
    for (DWORD index = 0;; ++index) {
        DWORD length = keyNameCapacity;
        if (RegEnumKeyExW(categories.key, index, categoryName, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        if (lstrcmpiW(categoryName, CatidThermoSystem10Text) == 0) {
            ThermoSystemRecord record{{}, clsidText, {}};
            ReadCapeDescription(record, classKey.key);
            found.thermoSystems10.push_back(std::move(record));
        } else if (lstrcmpiW(categoryName, CatidPropertyPackageManager11Text) == 0) {
            ThermoSystemRecord record{{}, clsidText, {}};
            ReadCapeDescription(record, classKey.key);
            MakeProductKey(record);
            found.managers11.push_back(std::move(record));
        }
    }
}

bool FindClasses(FoundClasses &found)
{
    RegistryKey clsidKey;
    if (!clsidKey.Open(HKEY_CLASSES_ROOT, L"CLSID", KEY_ENUMERATE_SUB_KEYS)) return false;
    std::vector<wchar_t> className(keyNameCapacity);
    std::vector<wchar_t> categoryName(keyNameCapacity);
    for (DWORD index = 0;; ++index) {
        DWORD length = keyNameCapacity;
        if (RegEnumKeyExW(clsidKey.key, index, className.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        ClassifyClass(clsidKey.key, className.data(), categoryName.data(), found);
    }
    return true;
}

bool MadeByListedManager(const ThermoSystemRecord &record, const std::vector<ThermoSystemRecord> &managers)
{
    for (const ThermoSystemRecord &manager : managers)
        if (manager.productKey == record.productKey) return true;
    return false;
}

// Starts one thermo system and collects its package names; a thermo system
// that fails anywhere contributes nothing.
void AskForPackages(const ThermoSystemRecord &record, std::vector<std::wstring> &packageNames)
{
    CLSID clsid;
    if (FAILED(CLSIDFromString(record.clsid.c_str(), &clsid))) return;
    ThermoSystemSession session;
    if (FAILED(session.Create(clsid)) || FAILED(session.InitNew()) || FAILED(session.Initialize())) return;
    CVariantArray packages;
    std::wstring error;
    HRESULT hr = session.System()->GetPropertyPackages(packages.Receive());
    if (SUCCEEDED(hr) && packages.Check(VT_BSTR, error) && packages.Count() > 0) {
        results.thermoSystemClsids.Entry(record.name.c_str()) = clsid;
        for (LONG i = 0; i < packages.Count(); ++i) {
            ScopedBstr package = ScopedBstr::Adopt(packages.GetString(i));
            packageNames.push_back(record.name + L"//" + package.Text());
        }
    }
    session.Terminate();
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
    if (!results.discoveryPending) return;
    results.discoveryPending = false;
    // Running out of memory leaves the results as far as they got.
    try {
        FoundClasses found;
        if (!FindClasses(found)) return;
        std::vector<std::wstring> packageNames;
        for (ThermoSystemRecord &record : found.thermoSystems10) {
            MakeProductKey(record);
            if (MadeByListedManager(record, found.managers11)) continue;
            AskForPackages(record, packageNames);
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
    results.packageList.Reset();
    results.thermoSystemClsids.Clear();
    results.discoveryPending = true;
}

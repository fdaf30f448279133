// corvanta-msi-registry: the registry part of the MSI, made at build time from
// the registry scripts inside the built Corvanta.dll of each flavour, so that
// the installer writes what self-registration writes and nothing is typed twice.
//
//   corvanta-msi-registry WXS IDT FILEID64 DLL64 FILEID32 DLL32
//
// WXS gets a WiX fragment with the component groups MachineRegistration and
// UserRegistration; IDT gets the RemoveRegistry table that clears the keys the
// scripts mark ForceRemove before they are written (wixl has no element for
// it). %MODULE% becomes [#FILEIDxx], the installed path of that flavour's DLL.
//
// Each flavour is registered in the registry view of its own bitness: per
// machine below HKLM\Software\Classes through its own view; per user below
// HKCU\Software\Classes, where a 32-bit server's class keys belong in
// Wow6432Node while its ProgIDs are shared with the 64-bit ones (Windows 7 and
// later). Writing that location directly keeps the two flavours apart on
// Windows Installers that do not redirect per-user classes, such as Wine's.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CorvantaModule.h"
#include "Registration.h"

namespace {

// Stands for the DLL's path until the text is escaped for the MSI.
constexpr wchar_t modulePlaceholder = L'\xE000';

struct Target {
    const wchar_t *component;
    const wchar_t *guid;
    const wchar_t *group;
    const wchar_t *root;  // WiX root, with its MSI number for the RemoveRegistry table
    int rootNumber;
    const wchar_t *classes;
    bool win64;
    bool classKeysOnly;  // only the keys WOW64 keeps apart per view
};

struct Flavour {
    const wchar_t *fileId;
    const wchar_t *dll;
    Target machine, user;
};

// Keys of the classes root that WOW64 redirects; the rest is shared.
bool IsClassKey(const std::wstring &name)
{
    for (const wchar_t *redirected : {L"CLSID", L"Interface", L"DirectShow", L"Media Type", L"MediaFoundation"})
        if (lstrcmpiW(name.c_str(), redirected) == 0) return true;
    return false;
}

// MSI registry columns are formatted text: brackets and braces are escaped,
// and a value that starts with '#' would be read as a number.
std::wstring Formatted(const std::wstring &text, const std::wstring &fileId, bool isValue)
{
    std::wstring result = isValue && !text.empty() && text[0] == L'#' ? L"#" : L"";
    for (wchar_t c : text) {
        if (c == L'[' || c == L']' || c == L'{' || c == L'}')
            result += std::wstring(L"[\\") + c + L"]";
        else if (c == modulePlaceholder)
            result += L"[#" + fileId + L"]";
        else
            result += c;
    }
    return result;
}

std::wstring XmlAttribute(const std::wstring &text)
{
    std::wstring result;
    for (wchar_t c : text) {
        switch (c) {
        case L'&': result += L"&amp;"; break;
        case L'<': result += L"&lt;"; break;
        case L'>': result += L"&gt;"; break;
        case L'"': result += L"&quot;"; break;
        default: result += c;
        }
    }
    return result;
}

std::string Utf8(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                   nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(), size, nullptr,
                        nullptr);
    return result;
}

class ComponentWriter {
public:
    ComponentWriter(const Target &target, const std::wstring &fileId) : target(target), fileId(fileId) {}

    // False (with a message) for what an MSI registry table cannot hold.
    bool AddKey(const RegistryScriptKey &key, const std::wstring &parent)
    {
        const std::wstring path = parent.empty() ? key.name : parent + L"\\" + key.name;
        const std::wstring full = Formatted(target.classes + path, fileId, false);
        if (key.removal == RegistryScriptKey::Removal::ForceRemove) removals.push_back(full);
        if (key.hasDefault || !key.values.empty()) {
            body += L"        <RegistryKey Root=\"" + std::wstring(target.root) + L"\" Key=\"" + XmlAttribute(full) +
                    L"\">\n";
            if (key.hasDefault && !AddValue(nullptr, key.defaultData, path)) return false;
            for (const RegistryScriptValue &value : key.values)
                if (!AddValue(&value.name, value.data, path)) return false;
            body += L"        </RegistryKey>\n";
        } else if (key.subkeys.empty()) {
            // An empty key: created on install, removed with its subtree on uninstall.
            body += L"        <RegistryKey Root=\"" + std::wstring(target.root) + L"\" Key=\"" + XmlAttribute(full) +
                    L"\">\n          <RegistryValue Name=\"*\" Type=\"string\" Value=\"\"/>\n        </RegistryKey>\n";
        }
        for (const RegistryScriptKey &subkey : key.subkeys)
            if (!AddKey(subkey, path)) return false;
        return true;
    }

    bool Finish(std::wstring &wxs, std::wstring &idt) const
    {
        if (!hasKeyPath) {
            fwprintf(stderr, L"corvanta-msi-registry: no value of %ls holds the server's path\n", target.component);
            return false;
        }
        wxs += L"      <Component Id=\"" + std::wstring(target.component) + L"\" Guid=\"" + target.guid +
               L"\" Win64=\"" + (target.win64 ? L"yes" : L"no") + L"\">\n" + body + L"      </Component>\n";
        for (size_t i = 0; i < removals.size(); ++i)
            idt += std::wstring(target.component) + L".ForceRemove" + std::to_wstring(i + 1) + L"\t" +
                   std::to_wstring(target.rootNumber) + L"\t" + removals[i] + L"\t-\t" + target.component + L"\n";
        return true;
    }

private:
    bool AddValue(const std::wstring *name, const std::wstring &data, const std::wstring &path)
    {
        if (data.empty()) {
            fwprintf(stderr, L"corvanta-msi-registry: %ls: an empty string cannot be written by an MSI\n",
                     path.c_str());
            return false;
        }
        body += L"          <RegistryValue";
        if (name) body += L" Name=\"" + XmlAttribute(Formatted(*name, fileId, false)) + L"\"";
        body += L" Type=\"string\" Value=\"" + XmlAttribute(Formatted(data, fileId, true)) + L"\"";
        // The server's path decides whether the component is installed.
        if (!hasKeyPath && data.find(modulePlaceholder) != std::wstring::npos) {
            body += L" KeyPath=\"yes\"";
            hasKeyPath = true;
        }
        body += L"/>\n";
        return true;
    }

    const Target &target;
    std::wstring fileId;
    std::wstring body;
    std::vector<std::wstring> removals;
    bool hasKeyPath = false;
};

// The scripts registration runs, read from the DLL as registration reads them.
bool ReadScripts(const wchar_t *dll, std::vector<RegistryScriptRoot> &roots)
{
    HMODULE module = LoadLibraryExW(dll, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        fwprintf(stderr, L"corvanta-msi-registry: cannot read %ls (error %lu)\n", dll, GetLastError());
        return false;
    }
    wchar_t version[128];
    FileVersionText(dll, version, sizeof(version) / sizeof(version[0]));
    const std::wstring placeholder(1, modulePlaceholder);
    bool ok = true;
    for (WORD id : {moduleScriptId, managerScriptId}) {
        std::vector<RegistryScriptRoot> scriptRoots;
        HRESULT hr = PrepareRegistryScript(module, id, placeholder, id == managerScriptId ? version : nullptr,
                                           scriptRoots);
        if (FAILED(hr)) {
            fwprintf(stderr, L"corvanta-msi-registry: script %u of %ls: error 0x%08lX\n", id, dll,
                     static_cast<unsigned long>(hr));
            ok = false;
            break;
        }
        roots.insert(roots.end(), scriptRoots.begin(), scriptRoots.end());
    }
    FreeLibrary(module);
    return ok;
}

bool AddFlavour(const Flavour &flavour, std::wstring &machine, std::wstring &user, std::wstring &idt)
{
    std::vector<RegistryScriptRoot> roots;
    if (!ReadScripts(flavour.dll, roots)) return false;
    for (const Target *target : {&flavour.machine, &flavour.user}) {
        ComponentWriter writer(*target, flavour.fileId);
        for (const RegistryScriptRoot &root : roots) {
            if (root.root != HKEY_CLASSES_ROOT) {
                fwprintf(stderr, L"corvanta-msi-registry: only HKCR blocks can follow the install mode\n");
                return false;
            }
            for (const RegistryScriptKey &key : root.keys)
                if ((!target->classKeysOnly || IsClassKey(key.name)) && !writer.AddKey(key, L"")) return false;
        }
        if (!writer.Finish(target == &flavour.machine ? machine : user, idt)) return false;
    }
    return true;
}

bool WriteUtf8(const wchar_t *path, const std::wstring &text)
{
    FILE *file = _wfopen(path, L"wb");
    if (!file) {
        fwprintf(stderr, L"corvanta-msi-registry: cannot write %ls\n", path);
        return false;
    }
    const std::string bytes = Utf8(text);
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    if (argc != 7) {
        fwprintf(stderr, L"usage: corvanta-msi-registry WXS IDT FILEID64 DLL64 FILEID32 DLL32\n");
        return 2;
    }
    const Flavour flavours[] = {
        {argv[3], argv[4],
         {L"Registry64.Machine", L"{4CBC16EC-F576-493B-95D0-3B446790A29A}", L"MachineRegistration", L"HKLM", 2,
          L"Software\\Classes\\", true, false},
         {L"Registry64.User", L"{0292C848-B592-4C89-8AD1-B837B6FB47B8}", L"UserRegistration", L"HKCU", 1,
          L"Software\\Classes\\", true, false}},
        {argv[5], argv[6],
         {L"Registry32.Machine", L"{48975D80-3B0F-42D9-8489-444CF689FE85}", L"MachineRegistration", L"HKLM", 2,
          L"Software\\Classes\\", false, false},
         {L"Registry32.User", L"{9EE6776F-1DDC-41A6-AD76-72F1101D04B9}", L"UserRegistration", L"HKCU", 1,
          L"Software\\Classes\\Wow6432Node\\", true, true}},
    };
    std::wstring machine, user;
    std::wstring idt = L"RemoveRegistry\tRoot\tKey\tName\tComponent_\ns72\ti2\tl255\tL255\ts72\n"
                       L"RemoveRegistry\tRemoveRegistry\n";
    for (const Flavour &flavour : flavours)
        if (!AddFlavour(flavour, machine, user, idt)) return 1;

    std::wstring wxs = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                       L"<!-- Made by corvanta-msi-registry from the registry scripts of Corvanta.dll. -->\n"
                       L"<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">\n  <Fragment>\n"
                       L"    <DirectoryRef Id=\"INSTALLDIR\">\n";
    std::wstring groups;
    for (const wchar_t *group : {L"MachineRegistration", L"UserRegistration"}) {
        groups += L"    <ComponentGroup Id=\"" + std::wstring(group) + L"\">\n";
        for (const Flavour &flavour : flavours)
            for (const Target *target : {&flavour.machine, &flavour.user})
                if (lstrcmpW(target->group, group) == 0)
                    groups += L"      <ComponentRef Id=\"" + std::wstring(target->component) + L"\"/>\n";
        groups += L"    </ComponentGroup>\n";
    }
    wxs += machine + user + L"    </DirectoryRef>\n" + groups + L"  </Fragment>\n</Wix>\n";
    return WriteUtf8(argv[1], wxs) && WriteUtf8(argv[2], idt) ? 0 : 1;
}

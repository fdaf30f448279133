// A small processor for the module's registry scripts.
//
// Script format: root blocks (HKCR, HKCU or HKLM) holding keys. A key is
//     [NoRemove | ForceRemove] name [= s 'default value'] [{ values and subkeys }]
// and a named value inside a key's block is
//     val name = s 'data'
// Names with spaces or braces are written in single quotes; inside quotes a
// quote is written twice. Only string values (s) exist.
//
// Registering creates every key, deleting ForceRemove keys with their subtree
// first, and sets every value. Unregistering deletes every value the script
// names and every key it names once the key has no subkeys left, innermost
// first; NoRemove keys stay.
#pragma once

#include <windows.h>
#include <string>
#include <utility>
#include <vector>

using RegistryReplacements = std::vector<std::pair<std::wstring, std::wstring>>;

// Replaces every %NAME% (name matched without regard to case); "%%" gives
// one percent sign. A name longer than 31 characters gives E_FAIL; an unknown
// name or an unclosed percent sign DISP_E_EXCEPTION.
HRESULT SubstituteReplacements(const std::wstring &script, const RegistryReplacements &replacements,
                               std::wstring &result);

struct RegistryScriptValue {
    std::wstring name;
    std::wstring data;
};

struct RegistryScriptKey {
    enum class Removal { Normal, NoRemove, ForceRemove };
    std::wstring name;
    Removal removal = Removal::Normal;
    bool hasDefault = false;
    std::wstring defaultData;
    std::vector<RegistryScriptValue> values;
    std::vector<RegistryScriptKey> subkeys;
};

struct RegistryScriptRoot {
    HKEY root;  // HKEY_CLASSES_ROOT stands for whatever the caller maps it to
    std::vector<RegistryScriptKey> keys;
};

// Parses a substituted script; a syntax error gives DISP_E_EXCEPTION.
HRESULT ParseRegistryScript(const std::wstring &text, std::vector<RegistryScriptRoot> &roots);

// Applies parsed roots; HKCR blocks go below classesRoot. Returns the first
// registry failure code, or S_OK.
HRESULT ApplyRegistryScript(const std::vector<RegistryScriptRoot> &roots, bool registering, HKEY classesRoot);

#include "Registrar.h"

#include <cwctype>

namespace {

constexpr size_t longestReplacementName = 31;

// ---- Tokens ---------------------------------------------------------------

enum class TokenKind { End, Open, Close, Equals, Word, Quoted };

struct Token {
    TokenKind kind = TokenKind::End;
    std::wstring text;
};

class Tokenizer {
public:
    explicit Tokenizer(const std::wstring &text) : text(text) {}

    // False on a quoted string without its closing quote.
    bool Next(Token &token)
    {
        while (pos < text.size() && iswspace(text[pos])) ++pos;
        token.text.clear();
        if (pos == text.size()) {
            token.kind = TokenKind::End;
            return true;
        }
        wchar_t c = text[pos];
        if (c == L'{' || c == L'}' || c == L'=') {
            token.kind = c == L'{' ? TokenKind::Open : c == L'}' ? TokenKind::Close : TokenKind::Equals;
            ++pos;
            return true;
        }
        if (c == L'\'') return ReadQuoted(token);
        token.kind = TokenKind::Word;
        while (pos < text.size() && !iswspace(text[pos]) && text[pos] != L'{' && text[pos] != L'}' &&
               text[pos] != L'=' && text[pos] != L'\'')
            token.text += text[pos++];
        return true;
    }

private:
    bool ReadQuoted(Token &token)
    {
        token.kind = TokenKind::Quoted;
        ++pos;
        while (pos < text.size()) {
            if (text[pos] == L'\'') {
                if (pos + 1 < text.size() && text[pos + 1] == L'\'') {
                    token.text += L'\'';
                    pos += 2;
                    continue;
                }
                ++pos;
                return true;
            }
            token.text += text[pos++];
        }
        return false;
    }

    const std::wstring &text;
    size_t pos = 0;
};

// ---- Parser ---------------------------------------------------------------

class Parser {
public:
    explicit Parser(const std::wstring &text) : tokens(text) {}

    bool ParseScript(std::vector<RegistryScriptRoot> &roots)
    {
        if (!Advance()) return false;
        while (current.kind != TokenKind::End) {
            if (current.kind != TokenKind::Word) return false;
            RegistryScriptRoot root{RootKey(current.text), {}};
            if (!root.root || !Advance() || !Expect(TokenKind::Open)) return false;
            while (current.kind != TokenKind::Close) {
                RegistryScriptKey key;
                if (!ParseKey(key)) return false;
                root.keys.push_back(std::move(key));
            }
            if (!Advance()) return false;
            roots.push_back(std::move(root));
        }
        return true;
    }

private:
    static HKEY RootKey(const std::wstring &name)
    {
        if (name == L"HKCR" || name == L"HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
        if (name == L"HKCU" || name == L"HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
        if (name == L"HKLM" || name == L"HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
        return nullptr;
    }

    bool Advance() { return tokens.Next(current); }

    bool Expect(TokenKind kind)
    {
        if (current.kind != kind) return false;
        return Advance();
    }

    bool IsName() const { return current.kind == TokenKind::Word || current.kind == TokenKind::Quoted; }

    // "= s 'data'"
    bool ParseStringValue(std::wstring &data)
    {
        if (!Expect(TokenKind::Equals)) return false;
        if (current.kind != TokenKind::Word || current.text != L"s") return false;
        if (!Advance() || current.kind != TokenKind::Quoted) return false;
        data = current.text;
        return Advance();
    }

    bool ParseKey(RegistryScriptKey &key)
    {
        const bool flagged = current.text == L"NoRemove" || current.text == L"ForceRemove";
        if (current.kind == TokenKind::Word && flagged) {
            key.removal = current.text == L"NoRemove" ? RegistryScriptKey::Removal::NoRemove
                                                      : RegistryScriptKey::Removal::ForceRemove;
            if (!Advance()) return false;
        }
        if (!IsName()) return false;
        key.name = current.text;
        if (!Advance()) return false;
        if (current.kind == TokenKind::Equals) {
            key.hasDefault = true;
            if (!ParseStringValue(key.defaultData)) return false;
        }
        if (current.kind != TokenKind::Open) return true;
        if (!Advance()) return false;
        while (current.kind != TokenKind::Close) {
            if (current.kind == TokenKind::Word && current.text == L"val") {
                if (!Advance() || !IsName()) return false;
                RegistryScriptValue value{current.text, {}};
                if (!Advance() || !ParseStringValue(value.data)) return false;
                key.values.push_back(std::move(value));
                continue;
            }
            RegistryScriptKey subkey;
            if (!ParseKey(subkey)) return false;
            key.subkeys.push_back(std::move(subkey));
        }
        return Advance();
    }

    Tokenizer tokens;
    Token current;
};

// ---- Applying -------------------------------------------------------------

HRESULT FromStatus(LSTATUS status)
{
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
}

HRESULT SetString(HKEY key, const wchar_t *name, const std::wstring &data)
{
    DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    const BYTE *bytesOfData = reinterpret_cast<const BYTE *>(data.c_str());
    return FromStatus(RegSetValueExW(key, name, 0, REG_SZ, bytesOfData, bytes));
}

class ScopedKey {
public:
    ScopedKey() = default;
    ScopedKey(const ScopedKey &) = delete;
    ScopedKey &operator=(const ScopedKey &) = delete;
    ~ScopedKey()
    {
        if (key) RegCloseKey(key);
    }
    HKEY key = nullptr;
};

HRESULT RegisterKey(HKEY parent, const RegistryScriptKey &entry)
{
    if (entry.removal == RegistryScriptKey::Removal::ForceRemove) {
        LSTATUS status = RegDeleteTreeW(parent, entry.name.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(status);
    }
    ScopedKey key;
    HRESULT hr = FromStatus(RegCreateKeyExW(parent, entry.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE,
                                            nullptr, &key.key, nullptr));
    if (FAILED(hr)) return hr;
    if (entry.hasDefault && FAILED(hr = SetString(key.key, nullptr, entry.defaultData))) return hr;
    for (const RegistryScriptValue &value : entry.values)
        if (FAILED(hr = SetString(key.key, value.name.c_str(), value.data))) return hr;
    for (const RegistryScriptKey &subkey : entry.subkeys)
        if (FAILED(hr = RegisterKey(key.key, subkey))) return hr;
    return S_OK;
}

bool HasSubkeys(HKEY key)
{
    DWORD subkeys = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return true;  // when in doubt, keep the key
    return subkeys != 0;
}

HRESULT UnregisterKey(HKEY parent, const RegistryScriptKey &entry)
{
    ScopedKey key;
    LSTATUS status = RegOpenKeyExW(parent, entry.name.c_str(), 0, KEY_READ | KEY_WRITE, &key.key);
    if (status == ERROR_FILE_NOT_FOUND) return S_OK;  // already gone
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    HRESULT hr = S_OK;
    for (const RegistryScriptKey &subkey : entry.subkeys)
        if (FAILED(hr = UnregisterKey(key.key, subkey))) return hr;
    if (entry.hasDefault) {
        status = RegDeleteValueW(key.key, nullptr);
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(status);
    }
    for (const RegistryScriptValue &value : entry.values) {
        status = RegDeleteValueW(key.key, value.name.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(status);
    }
    if (entry.removal == RegistryScriptKey::Removal::NoRemove || HasSubkeys(key.key)) return S_OK;
    RegCloseKey(key.key);
    key.key = nullptr;
    status = RegDeleteKeyW(parent, entry.name.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(status);
    return S_OK;
}

}  // namespace

HRESULT SubstituteReplacements(const std::wstring &script, const RegistryReplacements &replacements,
                               std::wstring &result)
{
    result.clear();
    result.reserve(script.size());
    size_t pos = 0;
    while (pos < script.size()) {
        size_t open = script.find(L'%', pos);
        if (open == std::wstring::npos) {
            result.append(script, pos, std::wstring::npos);
            break;
        }
        result.append(script, pos, open - pos);
        size_t close = script.find(L'%', open + 1);
        if (close == std::wstring::npos) return DISP_E_EXCEPTION;
        if (close == open + 1) {
            result += L'%';
            pos = close + 1;
            continue;
        }
        size_t length = close - open - 1;
        if (length > longestReplacementName) return E_FAIL;
        std::wstring name = script.substr(open + 1, length);
        const std::wstring *replacement = nullptr;
        for (const auto &entry : replacements)
            if (lstrcmpiW(entry.first.c_str(), name.c_str()) == 0) replacement = &entry.second;
        if (!replacement) return DISP_E_EXCEPTION;
        result += *replacement;
        pos = close + 1;
    }
    return S_OK;
}

HRESULT ParseRegistryScript(const std::wstring &text, std::vector<RegistryScriptRoot> &roots)
{
    roots.clear();
    Parser parser(text);
    if (!parser.ParseScript(roots)) {
        roots.clear();
        return DISP_E_EXCEPTION;
    }
    return S_OK;
}

HRESULT ApplyRegistryScript(const std::vector<RegistryScriptRoot> &roots, bool registering, HKEY classesRoot)
{
    for (const RegistryScriptRoot &root : roots) {
        HKEY parent = root.root == HKEY_CLASSES_ROOT ? classesRoot : root.root;
        for (const RegistryScriptKey &key : root.keys) {
            HRESULT hr = registering ? RegisterKey(parent, key) : UnregisterKey(parent, key);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

// The registry script processor, applied below a scratch key of the
// current user instead of the classes root.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "Registrar.h"
#include "ServerProcess.h"

namespace {

const wchar_t *scratchPath = L"Software\\CorvantaRegistrarTest";

struct SubstitutionCase {
    const wchar_t *script;
    HRESULT result;
    const wchar_t *expected;
};

TEST(RegistrarTest, SubstitutesReplacementsAndRejectsBadNames)
{
    const RegistryReplacements replacements = {{L"MODULE", L"C:\\it''s\\x.dll"}, {L"APPID", L"{A}"}};
    const SubstitutionCase cases[] = {
        {L"InprocServer32 = s '%MODULE%'", S_OK, L"InprocServer32 = s 'C:\\it''s\\x.dll'"},
        {L"%module%/%AppId%", S_OK, L"C:\\it''s\\x.dll/{A}"},
        {L"100%% sure, %%%APPID%%%", S_OK, L"100% sure, %{A}%"},
        {L"no replacements", S_OK, L"no replacements"},
        {L"%DLLVERSION%", DISP_E_EXCEPTION, nullptr},
        {L"'%MODULE", DISP_E_EXCEPTION, nullptr},
        // Names of 31 characters are looked up; longer ones are refused outright.
        {L"%ABCDEFGHIJKLMNOPQRSTUVWXYZABCDE%", DISP_E_EXCEPTION, nullptr},
        {L"%ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEF%", E_FAIL, nullptr},
    };
    for (const SubstitutionCase &c : cases) {
        std::wstring result;
        EXPECT_EQ(SubstituteReplacements(c.script, replacements, result), c.result) << testing::PrintToString(c.script);
        if (c.expected) {
            EXPECT_EQ(result, c.expected);
        }
    }
}

TEST(RegistrarTest, RejectsMalformedScripts)
{
    const wchar_t *scripts[] = {
        L"HKCR { Key = s 'x' ",            // unclosed block
        L"HKXX { Key }",                   // unknown root
        L"HKCR { Key = d '1' }",           // only string values exist
        L"HKCR { Key = s 'unterminated }",
        L"HKCR { Key { val Name } }",      // value without data
        L"HKCR { = s 'x' }",
    };
    for (const wchar_t *script : scripts) {
        std::vector<RegistryScriptRoot> roots;
        EXPECT_EQ(ParseRegistryScript(script, roots), DISP_E_EXCEPTION) << testing::PrintToString(script);
        EXPECT_TRUE(roots.empty());
    }
}

class RegistrarApplyTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, scratchPath);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, scratchPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &root,
                                  nullptr), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(root);
        DeleteTree(HKEY_CURRENT_USER, scratchPath);
    }

    HRESULT Apply(const wchar_t *script, bool registering)
    {
        std::vector<RegistryScriptRoot> roots;
        HRESULT hr = ParseRegistryScript(script, roots);
        if (FAILED(hr)) return hr;
        return ApplyRegistryScript(roots, registering, root);
    }
    bool Exists(const wchar_t *path) { return KeyExists(root, path); }
    std::wstring Read(const wchar_t *path, const wchar_t *name) { return ReadString(root, path, name); }
    void Put(const wchar_t *path, const wchar_t *name)
    {
        ASSERT_EQ(RegSetKeyValueW(root, path, name, REG_SZ, L"x", 4), ERROR_SUCCESS);
    }

    HKEY root = nullptr;
};

const wchar_t *classScript =
    L"HKCR {"
    L"  NoRemove CLSID {"
    L"    ForceRemove '{C}' = s 'Class' {"
    L"      ForceRemove Programmable"
    L"      InprocServer32 = s 'x.dll' { val ThreadingModel = s 'Apartment' }"
    L"      CapeDescription { val Name = s 'N' val About = s 'A' }"
    L"    }"
    L"  }"
    L"  'Prog.Id' = s 'Prog' { CLSID = s '{C}' }"
    L"}";

TEST_F(RegistrarApplyTest, UnregisteringRemovesNamedEntriesInnermostFirst)
{
    ASSERT_EQ(Apply(classScript, true), S_OK);
    Put(L"CLSID\\{Other}", nullptr);
    // A foreign value does not keep a key; a foreign subkey does.
    Put(L"CLSID\\{C}\\CapeDescription", L"Foreign");
    Put(L"CLSID\\{C}\\InprocServer32\\Foreign", nullptr);

    ASSERT_EQ(Apply(classScript, false), S_OK);
    EXPECT_TRUE(Exists(L"CLSID"));
    EXPECT_TRUE(Exists(L"CLSID\\{Other}"));
    EXPECT_FALSE(Exists(L"CLSID\\{C}\\CapeDescription"));
    EXPECT_FALSE(Exists(L"CLSID\\{C}\\Programmable"));
    EXPECT_FALSE(Exists(L"Prog.Id"));
    EXPECT_TRUE(Exists(L"CLSID\\{C}\\InprocServer32\\Foreign"));
    EXPECT_EQ(Read(L"CLSID\\{C}\\InprocServer32", nullptr), L"<missing>");
    EXPECT_EQ(Read(L"CLSID\\{C}\\InprocServer32", L"ThreadingModel"), L"<missing>");
    EXPECT_EQ(Read(L"CLSID\\{C}", nullptr), L"<missing>");

    // Once the foreign subkey is gone, the rest goes too; nothing left is no failure.
    ASSERT_EQ(RegDeleteKeyW(root, L"CLSID\\{C}\\InprocServer32\\Foreign"), ERROR_SUCCESS);
    ASSERT_EQ(Apply(classScript, false), S_OK);
    EXPECT_FALSE(Exists(L"CLSID\\{C}"));
    EXPECT_TRUE(Exists(L"CLSID"));
    EXPECT_EQ(Apply(classScript, false), S_OK);
}

}  // namespace

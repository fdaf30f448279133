// The registry script processor: replacements and the refusal of malformed
// scripts. What applying the server's own scripts writes and removes is
// checked through regsvr32 (RegistrationTest).
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "Registrar.h"

namespace {

TEST(RegistrarTest, SubstitutesReplacementsAndRejectsBadNames)
{
    const RegistryReplacements replacements = {{L"MODULE", L"C:\\it''s\\x.dll"}, {L"APPID", L"{A}"}};
    const struct {
        const wchar_t *script;
        HRESULT result;
        const wchar_t *expected;
    } cases[] = {
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
    for (const auto &c : cases) {
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

}  // namespace

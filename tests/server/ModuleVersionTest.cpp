// The version text the module writes as ComponentVersion, from version blocks
// with and without their fixed part.
#include <windows.h>

#include <gtest/gtest.h>
#include <cstring>

#include "CorvantaModule.h"

namespace {

// A version block as GetFileVersionInfoW gives it: header, key, and the
// fixed part when withFixedPart is set.
struct VersionBlock {
    WORD length;
    WORD valueLength;
    WORD type;
    wchar_t key[16];
    WORD padding;
    VS_FIXEDFILEINFO fixed;
};

VersionBlock MakeBlock(bool withFixedPart)
{
    VersionBlock block = {};
    block.length = sizeof(VersionBlock);
    block.valueLength = withFixedPart ? sizeof(VS_FIXEDFILEINFO) : 0;
    block.type = 0;
    std::memcpy(block.key, L"VS_VERSION_INFO", sizeof(block.key));
    block.fixed.dwSignature = VS_FFI_SIGNATURE;
    block.fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
    block.fixed.dwFileVersionMS = MAKELONG(7, 3);      // 3.7
    block.fixed.dwFileVersionLS = MAKELONG(65535, 12);  // 12.65535
    return block;
}

TEST(ModuleVersionTest, FormatsTheFileVersionOrSaysUnknown)
{
    wchar_t text[128];
    VersionBlock block = MakeBlock(true);
    FormatVersionText(&block, text, 128);
    EXPECT_STREQ(text, L"3.7.12.65535");

    block = MakeBlock(false);
    FormatVersionText(&block, text, 128);
    EXPECT_STREQ(text, L"<unknown>");
    FormatVersionText(nullptr, text, 128);
    EXPECT_STREQ(text, L"<unknown>");
}

}  // namespace

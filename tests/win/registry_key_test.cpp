#include "settings/registry_key.h"
#include "tests/support/registry_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char kBasePath[] = "Software\\BrewbellRegistryKeyTest";
constexpr char kGroup[] = "Group";
constexpr char kGroupPath[] = "Software\\BrewbellRegistryKeyTest\\Group";

bool keyExists(const char *path) { return RegistryKeyExists(HKEY_LOCAL_MACHINE, path); }

struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

RawValue readRaw(const char *name)
{
    RawValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kGroupPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return value;
    value.data.resize(1024);
    DWORD size = static_cast<DWORD>(value.data.size());
    if (RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        size = 0;
    value.data.resize(size);
    RegCloseKey(key);
    return value;
}

void plant(const char *name, DWORD type, const std::string &bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGroupPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(bytes.data()),
                                            static_cast<DWORD>(bytes.size())));
    RegCloseKey(key);
}

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBasePath); }
    void TearDown() override { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBasePath); }

    RegistryKey registry{HKEY_LOCAL_MACHINE, kBasePath};
};

TEST_F(RegistryKeyTest, ReadsOfAMissingGroupGiveTheDefaultsAndCreateNothing)
{
    EXPECT_EQ(7u, registry.readDword(kGroup, "Number", 7));
    EXPECT_EQ("fallback", registry.readString(kGroup, "Text", "fallback"));
    EXPECT_FALSE(keyExists(kBasePath));
}

TEST_F(RegistryKeyTest, FirstWriteCreatesBasePathAndGroup)
{
    EXPECT_TRUE(registry.writeDword(kGroup, "Number", 0xFFFFFFFE));
    ASSERT_TRUE(keyExists(kGroupPath));
    const RawValue number = readRaw("Number");
    EXPECT_EQ(DWORD(REG_DWORD), number.type);
    EXPECT_EQ((std::vector<BYTE>{0xFE, 0xFF, 0xFF, 0xFF}), number.data);
    EXPECT_EQ(0xFFFFFFFEu, registry.readDword(kGroup, "Number", 7));
    EXPECT_EQ(7u, registry.readDword(kGroup, "Missing", 7));
    EXPECT_EQ("fallback", registry.readString(kGroup, "Missing", "fallback"));
}

TEST_F(RegistryKeyTest, EmptyTextIsOneNulAndReadsAsEmpty)
{
    EXPECT_TRUE(registry.writeString(kGroup, "Empty", ""));
    const RawValue empty = readRaw("Empty");
    EXPECT_EQ(DWORD(REG_SZ), empty.type);
    EXPECT_EQ(std::vector<BYTE>{0}, empty.data);
    EXPECT_EQ("", registry.readString(kGroup, "Empty", "fallback"));
}

TEST_F(RegistryKeyTest, TextsOfUpTo255CharactersReadBackWhole)
{
    const std::string longest(255, 'x');
    EXPECT_TRUE(registry.writeString(kGroup, "Longest", longest));
    EXPECT_TRUE(registry.writeString(kGroup, "TooLong", longest + "x"));
    EXPECT_EQ(longest, registry.readString(kGroup, "Longest", "fallback"));
    EXPECT_EQ(256u, readRaw("Longest").data.size());
    EXPECT_EQ(257u, readRaw("TooLong").data.size());
    EXPECT_EQ("fallback", registry.readString(kGroup, "TooLong", "fallback"));
}

TEST_F(RegistryKeyTest, NumbersMustBeExactlyFourBytesOfAnyType)
{
    plant("Short", REG_BINARY, std::string("\x01\x02", 2));
    plant("Text", REG_SZ, std::string("hello", 6));
    plant("Binary", REG_BINARY, "\x78\x56\x34\x12");
    EXPECT_EQ(7u, registry.readDword(kGroup, "Short", 7));
    EXPECT_EQ(7u, registry.readDword(kGroup, "Text", 7));
    EXPECT_EQ(0x12345678u, registry.readDword(kGroup, "Binary", 7));
}

TEST_F(RegistryKeyTest, TextWithoutTerminatorIsReadOnlyWhenItFits)
{
    plant("Full", REG_BINARY, std::string(256, 'A'));
    plant("Unterminated", REG_SZ, std::string(255, 'B'));
    plant("Embedded", REG_BINARY, std::string("tea\0cup", 7) + std::string(249, 'C'));
    EXPECT_EQ("fallback", registry.readString(kGroup, "Full", "fallback"));
    EXPECT_EQ(std::string(255, 'B'), registry.readString(kGroup, "Unterminated", "fallback"));
    EXPECT_EQ("tea", registry.readString(kGroup, "Embedded", "fallback"));
}

// With the base path of 32 characters, a group of 222 gives the longest path that fits.
TEST_F(RegistryKeyTest, PathThatDoesNotFitFailsCleanly)
{
    const std::string longestGroup(222, 'g');
    const std::string tooLongGroup(223, 'g');
    RegistryKey::PathBuffer path;
    EXPECT_TRUE(registry.composePath(longestGroup.c_str(), path));
    EXPECT_EQ(std::string(kBasePath) + "\\" + longestGroup, path.data());
    EXPECT_FALSE(registry.composePath(tooLongGroup.c_str(), path));
    EXPECT_EQ('\0', path[0]);

    EXPECT_FALSE(registry.writeDword(tooLongGroup.c_str(), "Number", 5));
    EXPECT_FALSE(keyExists(kBasePath));
    EXPECT_EQ(7u, registry.readDword(tooLongGroup.c_str(), "Number", 7));
    EXPECT_TRUE(registry.writeDword(longestGroup.c_str(), "Number", 5));
    EXPECT_EQ(5u, registry.readDword(longestGroup.c_str(), "Number", 7));
}

TEST_F(RegistryKeyTest, AWriteTheRegistryRefusesSaysSoWhileReadsGoOn)
{
    ASSERT_TRUE(registry.writeDword(kGroup, "Number", 5));
    {
        ReadOnlyKey readOnly(HKEY_LOCAL_MACHINE, kGroupPath);
        ASSERT_TRUE(readOnly.Made());
        EXPECT_FALSE(registry.writeDword(kGroup, "Number", 6));
        EXPECT_FALSE(registry.writeString(kGroup, "Text", "Tee"));
        EXPECT_EQ(5u, registry.readDword(kGroup, "Number", 7));
        EXPECT_EQ("fallback", registry.readString(kGroup, "Text", "fallback"));
    }
    EXPECT_TRUE(registry.writeDword(kGroup, "Number", 6));
    EXPECT_EQ(6u, registry.readDword(kGroup, "Number", 7));
}

} // namespace

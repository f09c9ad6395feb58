// The program file as Windows sees it: its version block, its icon and the
// manifest that makes it DPI-aware.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/wine/wine_test_util.h"

namespace quorvel::test {
namespace {

std::wstring Program() { return BinDirectory() + L"\\quorvel.exe"; }

TEST(ProgramFile, VersionBlockNamesTheProduct) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(Program().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(::GetFileVersionInfoW(Program().c_str(), 0, size, block.data()));
  const auto value = [&](const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!::VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
      return std::string("(missing)");
    return Narrow(std::wstring(text, length > 0 ? length - 1 : 0));
  };
  EXPECT_EQ(value(L"ProductName"), "Quorvel - Korvax Launcher");
  EXPECT_EQ(value(L"Comments"), "Quorvel - Korvax Launcher");
  EXPECT_EQ(value(L"FileDescription"), "Main exe of Quorvel");
  EXPECT_EQ(value(L"InternalName"), "quorvel");
  EXPECT_EQ(value(L"OriginalFilename"), "quorvel.exe");
  EXPECT_EQ(value(L"FileVersion"), "0.01");
  EXPECT_EQ(value(L"ProductVersion"), "0.01");
  EXPECT_NE(value(L"CompanyName"), "(missing)");
  EXPECT_NE(value(L"LegalCopyright"), "(missing)");
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width;
  BYTE height;
  BYTE colours;
  BYTE reserved;
  WORD planes;
  WORD bits_per_pixel;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(ProgramFile, OneIconOfThirtyTwoAndSixteenPixelsInSixteenColours) {
  HMODULE image =
      ::LoadLibraryExW(Program().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(image);
  int groups = 0;
  ::EnumResourceNamesW(
      image, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) -> BOOL {
        ++*reinterpret_cast<int*>(count);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&groups));
  EXPECT_EQ(groups, 1);
  HRSRC found = ::FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
  ASSERT_TRUE(found);
  const auto* header = static_cast<const WORD*>(::LockResource(::LoadResource(image, found)));
  ASSERT_TRUE(header);
  const WORD count = header[2];
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 3);
  std::vector<std::string> sizes;
  for (WORD i = 0; i < count; ++i) {
    sizes.push_back(std::to_string(entries[i].width) + "x" + std::to_string(entries[i].height) +
                    "x" + std::to_string(entries[i].bits_per_pixel));
    EXPECT_EQ(entries[i].colours, 16) << sizes.back();
  }
  EXPECT_EQ(sizes, (std::vector<std::string>{"32x32x4", "16x16x4"}));
  ::FreeLibrary(image);
}

TEST(ProgramFile, ManifestAsksForPerMonitorDpiAndNoElevation) {
  HMODULE image =
      ::LoadLibraryExW(Program().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_TRUE(image);
  HRSRC found = ::FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_TRUE(found);
  const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(image, found))),
                             ::SizeofResource(image, found));
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  ::FreeLibrary(image);
}

}  // namespace
}  // namespace quorvel::test

// The program file as Windows sees it: its version block, its icon and the
// manifest that makes it DPI-aware.
#include <gtest/gtest.h>

#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

const std::wstring kProgram = BinDirectory() + L"\\quorvel.exe";

// A resource of the program with the id 1, loaded as data.
std::string Resource(const wchar_t* type) {
  HMODULE image = ::LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  HRSRC found = ::FindResourceW(image, MAKEINTRESOURCEW(1), type);
  std::string bytes;
  if (found)
    bytes.assign(static_cast<const char*>(::LockResource(::LoadResource(image, found))),
                 ::SizeofResource(image, found));
  ::FreeLibrary(image);
  return bytes;
}

TEST(ProgramFile, VersionBlockNamesTheProduct) {
  DWORD ignored = 0;
  std::vector<char> block(::GetFileVersionInfoSizeW(kProgram.c_str(), &ignored));
  ASSERT_TRUE(
      !block.empty() &&
      ::GetFileVersionInfoW(kProgram.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  const std::pair<const wchar_t*, const char*> kValues[] = {
      {L"ProductName", "Quorvel - Korvax Launcher"},
      {L"Comments", "Quorvel - Korvax Launcher"},
      {L"FileDescription", "Main exe of Quorvel"},
      {L"InternalName", "quorvel"},
      {L"OriginalFilename", "quorvel.exe"},
      {L"FileVersion", "0.01"},
      {L"ProductVersion", "0.01"},
      {L"CompanyName", nullptr},
      {L"LegalCopyright", nullptr}};  // nullptr: present, any text
  for (const auto& [name, expected] : kValues) {
    wchar_t* text = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(),
                                 (std::wstring(L"\\StringFileInfo\\040904B0\\") + name).c_str(),
                                 reinterpret_cast<void**>(&text), &length))
        << Narrow(name);
    EXPECT_TRUE(!expected || Narrow(std::wstring(text, length > 0 ? length - 1 : 0)) == expected)
        << Narrow(name) << ": " << Narrow(text);
  }
}

TEST(ProgramFile, OneIconOfThirtyTwoAndSixteenPixelsInSixteenColours) {
  HMODULE image = ::LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  int groups = 0;
  ::EnumResourceNamesW(
      image, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) -> BOOL {
        return ++*reinterpret_cast<int*>(count) > 0;
      },
      reinterpret_cast<LONG_PTR>(&groups));
  ::FreeLibrary(image);
  EXPECT_EQ(groups, 1);
  // A group: three WORDs, then 14-byte entries of width, height, colours,
  // reserved, planes (WORD), bits per pixel (WORD), size, id.
  const std::string group = Resource(RT_GROUP_ICON);
  std::vector<std::string> entries;
  for (size_t at = 6; at + 14 <= group.size(); at += 14)
    entries.push_back(std::to_string(BYTE(group[at])) + "x" + std::to_string(BYTE(group[at + 1])) +
                      " " + std::to_string(BYTE(group[at + 2])) + " colours " +
                      std::to_string(BYTE(group[at + 6])) + " bits");
  EXPECT_EQ(entries,
            (std::vector<std::string>{"32x32 16 colours 4 bits", "16x16 16 colours 4 bits"}));
}

TEST(ProgramFile, ManifestAsksForPerMonitorDpiAndNoElevation) {
  const std::string manifest = Resource(MAKEINTRESOURCEW(24));  // RT_MANIFEST
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

}  // namespace
}  // namespace quorvel::test

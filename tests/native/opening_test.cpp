// What the main window opens on: the command line's argument, and the image launched last as the
// settings keep it.
#include "launcher/opening.h"

#include <gtest/gtest.h>

#include <map>

#include "platform/ascii.h"
#include "settings/ini_text.h"
#include "settings/settings_text.h"

namespace quorvel::launcher {
namespace {

using Kind = Opening::Kind;

// The system resolves the argument (here a table of its answers, from C:\Users\Ann with D:'s own
// current directory D:\Work); what the argument is, the program decides.
TEST(Opening, TheArgumentAsTheSystemResolvesItIsAFolderOrAnImage) {
  const std::map<std::u16string, std::u16string, std::less<>> full = {
      {u"E:\\", u"E:\\"},
      {u"D:name.sms", u"D:\\Work\\name.sms"},
      {u"\\\\srv\\share\\roms\\b.SMS", u"\\\\srv\\share\\roms\\b.SMS"},
      {u"\\\\srv\\share\\", u"\\\\srv\\share\\"},
      {u"C:\\My Games\\", u"C:\\My Games\\"},
      {u"HARBOU~1.SMS", u"C:\\Users\\Ann\\Harbour Lights.sms"},
      {u"C:\\a.gg", u"C:\\a.gg"},
      {u"notes.txt", u"C:\\Users\\Ann\\notes.txt"},
      {u"gone.sms", u"C:\\Users\\Ann\\gone.sms"}};
  const std::map<std::u16string, PathKind, std::less<>> disk = {
      {u"E:\\", PathKind::kFolder},
      {u"D:\\Work\\name.sms", PathKind::kFile},
      {u"\\\\srv\\share\\roms\\b.SMS", PathKind::kFile},
      {u"\\\\srv\\share\\", PathKind::kFolder},
      {u"C:\\My Games\\", PathKind::kFolder},
      {u"C:\\Users\\Ann\\Harbour Lights.sms", PathKind::kFile},
      {u"C:\\a.gg", PathKind::kFile},
      {u"C:\\Users\\Ann\\notes.txt", PathKind::kFile}};
  const PathSystem system{[&](std::u16string_view path) {
                            const auto found = full.find(path);
                            return found == full.end() ? std::u16string() : found->second;
                          },
                          [&](std::u16string_view path) {
                            const auto found = disk.find(path);
                            return found == disk.end() ? PathKind::kMissing : found->second;
                          }};
  struct Case {
    std::u16string_view argument;
    Opening opening;
  };
  const Case cases[] = {
      {u"", {}},
      // "E:\" in quotes arrives with the quote that its backslash escaped.
      {u"E:\"", {Kind::kFolder, u"E:\\", u"E:\\", u""}},
      {u"E:\\", {Kind::kFolder, u"E:\\", u"E:\\", u""}},
      {u"C:\\My Games\"", {Kind::kFolder, u"C:\\My Games\\", u"C:\\My Games", u""}},
      {u"D:name.sms", {Kind::kImage, u"D:\\Work\\name.sms", u"D:\\Work", u"name.sms"}},
      {u"\\\\srv\\share\\roms\\b.SMS",
       {Kind::kImage, u"\\\\srv\\share\\roms\\b.SMS", u"\\\\srv\\share\\roms", u"b.SMS"}},
      {u"\\\\srv\\share\\", {Kind::kFolder, u"\\\\srv\\share\\", u"\\\\srv\\share", u""}},
      {u"HARBOU~1.SMS",
       {Kind::kImage, u"C:\\Users\\Ann\\Harbour Lights.sms", u"C:\\Users\\Ann",
        u"Harbour Lights.sms"}},
      {u"C:\\a.gg", {Kind::kImage, u"C:\\a.gg", u"C:\\", u"a.gg"}},
      {u"notes.txt", {Kind::kNotAnImage, u"C:\\Users\\Ann\\notes.txt", u"", u""}},
      {u"gone.sms", {Kind::kMissing, u"C:\\Users\\Ann\\gone.sms", u"", u""}}};
  for (const Case& c : cases)
    EXPECT_EQ(OpeningOf(c.argument, system), c.opening)
        << std::string(c.argument.begin(), c.argument.end());
}

// Through the settings text, in both encodings a file may have: exactly the same name, uncut.
TEST(Opening, TheRememberedImageReadsBackExactlyWhateverItsName) {
  const std::u16string long_name = u"C:\\Roms\\" + std::u16string(200, u'x') + u".sms";
  for (const std::u16string& path : std::vector<std::u16string>{
           u"C:\\Roms\\a b.sms", u"C:\\Roms\\x=y;z.gg", u"C:\\Roms\\\"quoted\".sms",
           u"C:\\Roms\\'q'.gg", u"C:\\Roms\\ lead.sms", u"D:\\日本 ☃\\Spiële.sms", u"C:\\100%.gg",
           u"C:\\%0041.sms", u"C:\\\U0001F600.gg", u"C:\\a\xD800 b.sms", u"C:\\\xDC00\xD800.gg",
           long_name}) {
    const std::string stored = StoredImagePath(path);
    for (const auto encoding : {settings::Encoding::kUtf8, settings::Encoding::kUtf16Le}) {
      const std::optional<std::string> text =
          ini::WithValue("[Video]\r\nres=1\r\n", kRememberedSection, kRememberedKey, stored);
      ASSERT_TRUE(text);
      const std::optional<std::string> bytes = settings::EncodeSettings({encoding, *text});
      ASSERT_TRUE(bytes) << "not UTF-8";
      const std::optional<std::string> found = ini::FindValue(
          settings::DecodeSettings(*bytes)->text, kRememberedSection, kRememberedKey);
      EXPECT_EQ(ImagePathOfStored(found.value_or("")), path);
    }
  }
  for (const char* stored : {"C:\\50%", "C:\\%12", "C:\\%zz00", "C:\\\xff.sms"})
    EXPECT_EQ(ImagePathOfStored(stored), std::nullopt) << stored;
}

// Names compared as the system compares them (here its ASCII letter case).
TEST(Opening, TheRememberedImageIsFoundOnlyInItsOwnFolder) {
  const SameName same = [](std::u16string_view a, std::u16string_view b) {
    return ascii::EqualIgnoringCase<char16_t>(a, b);
  };
  const std::vector<std::u16string> listed = {u"A.gg", u"b.SMS", u"c.sms"};
  EXPECT_EQ(IndexOfImage(listed, u"C:\\Roms\\", u"c:\\roms\\B.sms", same), 1u);
  EXPECT_EQ(IndexOfImage(listed, u"C:\\Roms", u"C:\\Roms\\c.sms", same), 2u);
  EXPECT_EQ(IndexOfImage(listed, u"C:\\", u"C:\\A.GG", same), 0u);
  for (const char16_t* other : {u"C:\\Other\\b.SMS", u"C:\\Roms\\gone.sms", u"b.SMS", u""})
    EXPECT_EQ(IndexOfImage(listed, u"C:\\Roms", other, same), std::nullopt);
}

}  // namespace
}  // namespace quorvel::launcher

// What the main window opens on: the command line's argument, and the image launched last as the
// settings keep it.
#include "launcher/opening.h"

#include <gtest/gtest.h>

#include <map>

#include "settings/ini_text.h"
#include "settings/settings_text.h"

namespace quorvel::launcher {
namespace {

using Kind = Opening::Kind;

TEST(Opening, TheArgumentAsAFolderOrAnImageFromTheCurrentDirectory) {
  const std::map<std::u16string, PathKind> disk = {
      {u"D:\\Games", PathKind::kFolder},
      {u"C:\\Users\\Ann\\Games", PathKind::kFolder},
      {u"C:\\Users\\Ann\\..\\Games", PathKind::kFolder},
      {u"C:\\Games\\a.sms", PathKind::kFile},
      {u"D:\\a.GG", PathKind::kFile},
      {u"C:\\Users\\Ann\\b.gg", PathKind::kFile},
      {u"\\\\srv\\share\\roms\\b.SMS", PathKind::kFile},
      {u"C:\\My Games\\", PathKind::kFolder},
      {u"C:\\Users\\Ann\\notes.txt", PathKind::kFile},
      {u"C:\\a.sms", PathKind::kFile},
      {u"\\\\srv\\share\\x.gg", PathKind::kFile}};
  const auto kind_of = [&](std::u16string_view path) {
    const auto found = disk.find(std::u16string(path));
    return found == disk.end() ? PathKind::kMissing : found->second;
  };
  struct Case {
    std::u16string_view argument, current;
    Opening opening;
  };
  const Case cases[] = {
      {u"", u"C:\\Users\\Ann", {}},
      {u"D:\\Games", u"C:\\Users\\Ann", {Kind::kFolder, u"D:\\Games", u"D:\\Games", u""}},
      {u"Games",
       u"C:\\Users\\Ann\\",
       {Kind::kFolder, u"C:\\Users\\Ann\\Games", u"C:\\Users\\Ann\\Games", u""}},
      {u"..\\Games",
       u"C:\\Users\\Ann",
       {Kind::kFolder, u"C:\\Users\\Ann\\..\\Games", u"C:\\Users\\Ann\\..\\Games", u""}},
      {u"\\Games\\a.sms",
       u"C:\\Users\\Ann",
       {Kind::kImage, u"C:\\Games\\a.sms", u"C:\\Games", u"a.sms"}},
      {u"D:a.GG", u"C:\\Users\\Ann", {Kind::kImage, u"D:\\a.GG", u"D:\\", u"a.GG"}},
      {u"c:b.gg",
       u"C:\\Users\\Ann",
       {Kind::kImage, u"C:\\Users\\Ann\\b.gg", u"C:\\Users\\Ann", u"b.gg"}},
      {u"\\\\srv\\share\\roms\\b.SMS",
       u"C:\\",
       {Kind::kImage, u"\\\\srv\\share\\roms\\b.SMS", u"\\\\srv\\share\\roms", u"b.SMS"}},
      {u"\\x.gg",
       u"\\\\srv\\share\\dir",
       {Kind::kImage, u"\\\\srv\\share\\x.gg", u"\\\\srv\\share", u"x.gg"}},
      {u"C:\\a.sms", u"D:\\", {Kind::kImage, u"C:\\a.sms", u"C:\\", u"a.sms"}},
      // "C:\My Games\" in quotes arrives with the quote its last backslash escaped.
      {u"C:\\My Games\\\"", u"D:\\", {Kind::kFolder, u"C:\\My Games\\", u"C:\\My Games\\", u""}},
      {u"notes.txt",
       u"C:\\Users\\Ann",
       {Kind::kNotAnImage, u"C:\\Users\\Ann\\notes.txt", u"", u""}},
      {u"gone.sms", u"C:\\Users\\Ann", {Kind::kMissing, u"C:\\Users\\Ann\\gone.sms", u"", u""}}};
  for (const Case& c : cases)
    EXPECT_EQ(OpeningOf(c.argument, c.current, kind_of), c.opening)
        << std::string(c.argument.begin(), c.argument.end());
}

// Through the settings text, in both encodings a file may have: exactly the same name, uncut.
TEST(Opening, TheRememberedImageReadsBackExactlyWhateverItsName) {
  const std::u16string long_name = u"C:\\Roms\\" + std::u16string(200, u'x') + u".sms";
  for (const std::u16string path : std::vector<std::u16string>{
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

TEST(Opening, TheRememberedImageIsFoundOnlyInItsOwnFolder) {
  const std::vector<std::u16string> listed = {u"A.gg", u"b.SMS", u"c.sms"};
  EXPECT_EQ(IndexOfImage(listed, u"C:\\Roms\\", u"c:\\roms\\B.sms"), 1u);
  EXPECT_EQ(IndexOfImage(listed, u"C:\\Roms", u"C:\\Roms\\c.sms"), 2u);
  for (const char16_t* other : {u"C:\\Other\\b.SMS", u"C:\\Roms\\gone.sms", u"b.SMS", u""})
    EXPECT_EQ(IndexOfImage(listed, u"C:\\Roms", other), std::nullopt);
}

}  // namespace
}  // namespace quorvel::launcher

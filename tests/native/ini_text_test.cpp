#include "settings/ini_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel::ini {
namespace {

using namespace std::string_literals;

TEST(IniFindValue, ReturnsTheTextAfterEqualsExactly) {
  const std::string text =
      "[Video]\r\ntype=auto \r\nmode=640 480 \r\nscanlines= 1\r\nx=01\r\n"
      "  Size\t = 7\r\nnote=a ; b\r\nsum=a=b\r\nempty=\r\n";
  EXPECT_EQ(FindValue(text, "Video", "type"), "auto ");
  EXPECT_EQ(FindValue(text, "Video", "mode"), "640 480 ");
  EXPECT_EQ(FindValue(text, "Video", "scanlines"), " 1");
  EXPECT_EQ(FindValue(text, "Video", "x"), "01");
  EXPECT_EQ(FindValue(text, "Video", "size"), " 7");
  EXPECT_EQ(FindValue(text, "Video", "note"), "a ; b");
  EXPECT_EQ(FindValue(text, "Video", "sum"), "a=b");
  EXPECT_EQ(FindValue(text, "Video", "empty"), "");
}

TEST(IniFindValue, RemovesExactlyOneEnclosingQuotePair) {
  const std::string text =
      "[V]\ntype=\"auto \"\ntwice=\"\"x\"\"\nlone=\"\npair=\"\"\nopen=\"a\nlead= \"a\"\n";
  EXPECT_EQ(FindValue(text, "V", "type"), "auto ");
  EXPECT_EQ(FindValue(text, "V", "twice"), "\"x\"");
  EXPECT_EQ(FindValue(text, "V", "lone"), "\"");
  EXPECT_EQ(FindValue(text, "V", "pair"), "");
  EXPECT_EQ(FindValue(text, "V", "open"), "\"a");
  EXPECT_EQ(FindValue(text, "V", "lead"), " \"a\"");
}

TEST(IniFindValue, ReadsOnlyKeyLinesOfTheFirstMatchingSection) {
  const std::string text =
      "type=before\n; [Video]\n[Audio]\ntype=audio\n  [ vIDEO ]\n  ; type=comment\n\n \t\n"
      "type\nTYPE\t=first\ntype=second\n[video]\ntype=third\nscanlines=1\n";
  EXPECT_EQ(FindValue(text, "Video", "Type"), "first");
  EXPECT_EQ(FindValue(text, "audio", "type"), "audio");
  EXPECT_EQ(FindValue(text, "Video", "scanlines"), std::nullopt);
  EXPECT_EQ(FindValue(text, "Video", "missing"), std::nullopt);
  EXPECT_EQ(FindValue(text, "Other", "type"), std::nullopt);
  EXPECT_EQ(FindValue("", "Video", "type"), std::nullopt);
}

TEST(IniFindValue, AcceptsMixedLineEndsAndALeadingByteOrderMark) {
  const std::string text = "\xEF\xBB\xBF[A]\ra=1\r\nb=2\nc=3\n\rd=4\r";
  EXPECT_EQ(FindValue(text, "A", "a"), "1");
  EXPECT_EQ(FindValue(text, "A", "b"), "2");
  EXPECT_EQ(FindValue(text, "A", "c"), "3");
  EXPECT_EQ(FindValue(text, "A", "d"), "4");
  // A mark anywhere else is ordinary text and hides the header.
  EXPECT_EQ(FindValue("\n\xEF\xBB\xBF[A]\na=1\n", "A", "a"), std::nullopt);
}

TEST(IniFindValue, KeepsNulBytesAndHandlesVeryLongLines) {
  const std::string big(1 << 20, 'x');
  const std::string text = "[A]\nlong=" + big + "\nnul=a\0b\0\n; \0\n[B]\nk=v"s;
  EXPECT_EQ(FindValue(text, "A", "long"), big);
  EXPECT_EQ(FindValue(text, "A", "nul"), "a\0b\0"s);
  EXPECT_EQ(FindValue(text, "B", "k"), "v");
}

TEST(IniEncodeValue, QuotesOnlyWhatWouldNotReadBack) {
  EXPECT_EQ(EncodeValue(""), "");
  EXPECT_EQ(EncodeValue("auto"), "auto");
  EXPECT_EQ(EncodeValue("\""), "\"");
  EXPECT_EQ(EncodeValue("\"a"), "\"a");
  EXPECT_EQ(EncodeValue("auto "), "\"auto \"");
  EXPECT_EQ(EncodeValue("\t1"), "\"\t1\"");
  EXPECT_EQ(EncodeValue("\"\""), "\"\"\"\"");
  EXPECT_EQ(EncodeValue("\"x\""), "\"\"x\"\"");
  EXPECT_EQ(EncodeValue("'x'"), "\"'x'\"");
  EXPECT_EQ(EncodeValue("'x\""), "'x\"");
}

TEST(IniCanStore, AcceptsOrdinaryNamesAndAwkwardValues) {
  EXPECT_TRUE(CanStore("Video", "type", "auto "));
  EXPECT_TRUE(CanStore("Main Window", "window size", ""));
  EXPECT_TRUE(CanStore("[x", "a;b[c]", "; [V] a=b \"\t"));
}

TEST(IniCanStore, RejectsLineBreaksNulBytesAndNamesThatWouldNotReadBack) {
  for (const std::string& bad : {"\r"s, "\n"s, "a\0b"s}) {
    EXPECT_FALSE(CanStore("V" + bad, "k", "v"));
    EXPECT_FALSE(CanStore("V", "k" + bad, "v"));
    EXPECT_FALSE(CanStore("V", "k", "v" + bad));
  }
  for (const char* section : {"", "a]b", " V", "V ", "\tV", "V\t"}) {
    EXPECT_FALSE(CanStore(section, "k", "v")) << section;
  }
  for (const char* key : {"", "a=b", " k", "k ", "\tk", "k\t", "[k", ";k"}) {
    EXPECT_FALSE(CanStore("V", key, "v")) << key;
  }
  const std::string text = "[Video]\r\ntype=auto\r\n";
  EXPECT_EQ(WithValue(text, "Video", "type", "1\r\n[Video]\r\nscanlines=1"), std::nullopt);
  EXPECT_EQ(WithValue(text, "Video", "type=x", "1"), std::nullopt);
}

TEST(IniWithValue, ReplacesOnlyTheValueOfTheFirstMatchingKey) {
  const std::string text =
      "top=1\r\n; note\r\n[Video]\r\n  Type\t= old \r\nscanlines=1\n\n[Audio]\rvolume=3\r"
      "[video]\ntype=later\n[X]\nlast=1";
  EXPECT_EQ(WithValue(text, "VIDEO", "type", "auto"),
            "top=1\r\n; note\r\n[Video]\r\n  Type\t=auto\r\nscanlines=1\n\n[Audio]\rvolume=3\r"
            "[video]\ntype=later\n[X]\nlast=1");
  EXPECT_EQ(WithValue(text, "Video", "scanlines", ""),
            "top=1\r\n; note\r\n[Video]\r\n  Type\t= old \r\nscanlines=\n\n[Audio]\rvolume=3\r"
            "[video]\ntype=later\n[X]\nlast=1");
  EXPECT_EQ(WithValue(text, "X", "last", "2 "),
            "top=1\r\n; note\r\n[Video]\r\n  Type\t= old \r\nscanlines=1\n\n[Audio]\rvolume=3\r"
            "[video]\ntype=later\n[X]\nlast=\"2 \"");
  EXPECT_EQ(WithValue("[V]\na=1\na=2\n", "V", "A", "9"), "[V]\na=9\na=2\n");
}

TEST(IniWithValue, AddsAMissingKeyAfterTheLastKeyLineOfTheFirstSection) {
  EXPECT_EQ(WithValue("[V]\nmode=1\nno key\n; a=b\n\n[A]\nk=1\n", "v", "type", "auto"),
            "[V]\nmode=1\ntype=auto\r\nno key\n; a=b\n\n[A]\nk=1\n");
  EXPECT_EQ(WithValue("[V]\r; c\r[A]\r", "V", "k", "1"), "[V]\rk=1\r\n; c\r[A]\r");
  EXPECT_EQ(WithValue("[V]", "V", "k", "1"), "[V]\r\nk=1\r\n");
  EXPECT_EQ(WithValue("[V]\nmode=1", "V", "k", " "), "[V]\nmode=1\r\nk=\" \"\r\n");
  EXPECT_EQ(WithValue("[V]\nb=1\n[V]\na=3\n", "V", "a", "9"), "[V]\nb=1\na=9\r\n[V]\na=3\n");
}

TEST(IniWithValue, AppendsAMissingSectionAfterABlankLine) {
  EXPECT_EQ(WithValue("", "Video", "type", "auto"), "[Video]\r\ntype=auto\r\n");
  EXPECT_EQ(WithValue("[A]\r\nx=1", "Video", "type", "auto"),
            "[A]\r\nx=1\r\n\r\n[Video]\r\ntype=auto\r\n");
  EXPECT_EQ(WithValue("[A]\nx=1\n", "V", "k", "1"), "[A]\nx=1\n\r\n[V]\r\nk=1\r\n");
  EXPECT_EQ(WithValue("k=0\r", "V", "k", "1"), "k=0\r\r\n[V]\r\nk=1\r\n");
}

TEST(IniWithValue, DropsTheByteOrderMarkAndKeepsEveryOtherByte) {
  EXPECT_EQ(WithValue("\xEF\xBB\xBF[V]\r\na=1\r\n", "V", "a", "2"), "[V]\r\na=2\r\n");
  EXPECT_EQ(WithValue("\xEF\xBB\xBF", "V", "a", "2"), "[V]\r\na=2\r\n");

  const std::string big(1 << 20, 'z');
  const std::string head = "; \0\0\n[Big]\nline="s + big + "\r\nnul=\0x\0\r\n"s + big + "\n[V]\n";
  const std::string tail = "\r\n\n[W]\nw=\0\0"s;
  const std::optional<std::string> written = WithValue(head + "a=1" + tail, "V", "a", "2");
  ASSERT_TRUE(written.has_value());
  EXPECT_EQ(*written, head + "a=2" + tail);
  EXPECT_EQ(FindValue(*written, "Big", "nul"), "\0x\0"s);
  EXPECT_EQ(FindValue(*written, "Big", "line"), big);
  EXPECT_EQ(FindValue(*written, "W", "w"), "\0\0"s);
}

// Every short value over the bytes that matter to quoting and parsing must read
// back exactly, whether it replaces a key, adds a key or adds a section, and
// must leave its neighbours alone.
TEST(IniWithValue, EveryShortValueAndKeyReadsBack) {
  const std::string alphabet = " \"a\t=;[";
  std::vector<std::string> strings = {""};
  for (std::size_t i = 0; i < strings.size() && strings[i].size() < 4; ++i) {
    for (char c : alphabet) strings.push_back(strings[i] + c);
  }
  const std::string texts[] = {"[V]\r\nk=old\r\nn=1\r\n", "[V]\nn=1", "[A]\nn=1"};
  for (const std::string& text : texts) {
    const std::string section = text.substr(1, 1);
    for (const std::string& value : strings) {
      const std::optional<std::string> written = WithValue(text, "V", "k", value);
      ASSERT_TRUE(written.has_value()) << value;
      EXPECT_EQ(FindValue(*written, "V", "k"), value) << text << "|" << value;
      EXPECT_EQ(FindValue(*written, section, "n"), "1") << text << "|" << value;
    }
  }
  int stored_keys = 0;
  for (const std::string& key : strings) {
    if (!CanStore("V", key, "v")) continue;
    ++stored_keys;
    for (const std::string& text : texts) {
      const std::optional<std::string> written = WithValue(text, "V", key, "v");
      ASSERT_TRUE(written.has_value());
      EXPECT_EQ(FindValue(*written, "V", key), "v") << text << "|" << key;
      EXPECT_EQ(FindValue(*written, text.substr(1, 1), "n"), "1") << text << "|" << key;
    }
  }
  EXPECT_GT(stored_keys, 100);
}

}  // namespace
}  // namespace quorvel::ini

// Profile text: finding, quoting and replacing one value in hand-edited and generated texts.
#include "settings/ini_text.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace quorvel::ini {
namespace {

using namespace std::string_literals;
using Pair = std::pair<std::string, std::string>;

// Every kind of line end, comments, blank lines, lines before the first section and without "=",
// names in any case and with blanks around them, duplicates, quotes, NUL bytes and a long line.
TEST(IniFindValue, ReadsHandEditedFiles) {
  const std::string big(1 << 20, 'x');
  const std::string text =
      "k=before\r; [V]\n[A]\r\nk=a\n \t[ v ]\n  ; k=comment\n\n \t\nk\n"
      "  K\t = 7\r\nk=second\rsum=a=b\r\nnote=a ; b\nend=1 \n\rq1=\"auto \"\n"
      "q2=\"\"x\"\"\nq3=\"\nq4=\"\"\nq5=\"a\nq6= \"a\"\nq7='a'\nlong=" +
      big + "\nnul=a\0b\0\n; \0\n[V]\nk=third\nlast=1\n"s;
  using Row = std::tuple<const char*, const char*, std::optional<std::string>>;
  for (const auto& [section, key, value] :
       {Row{"v", "k", " 7"}, Row{"a", "K", "a"}, Row{"V", "sum", "a=b"}, Row{"V", "note", "a ; b"},
        Row{"V", "end", "1 "}, Row{"V", "q1", "auto "}, Row{"V", "q2", "\"x\""},
        Row{"V", "q3", "\""}, Row{"V", "q4", ""}, Row{"V", "q5", "\"a"}, Row{"V", "q6", " \"a\""},
        Row{"V", "q7", "'a'"}, Row{"V", "long", big}, Row{"V", "nul", "a\0b\0"s},
        Row{"V", "last", {}}, Row{"V", "none", {}}, Row{"W", "k", {}}})
    EXPECT_EQ(FindValue(text, section, key), value) << section << "/" << key;
  EXPECT_EQ(FindValue("", "V", "k"), std::nullopt);
  // A byte-order mark counts only at the very start.
  EXPECT_EQ(FindValue("\xEF\xBB\xBF[A]\na=1", "A", "a"), "1");
  EXPECT_EQ(FindValue("\n\xEF\xBB\xBF[A]\na=1\n", "A", "a"), std::nullopt);
}

TEST(IniEncodeValue, QuotesOnlyWhatWouldNotReadBackAndCanStoreRefusesWhatCannot) {
  for (const auto& [value, encoded] :
       {Pair{"", ""}, Pair{"auto", "auto"}, Pair{"\"", "\""}, Pair{"\"a", "\"a"},
        Pair{"'x\"", "'x\""}, Pair{"auto ", "\"auto \""}, Pair{"\t1", "\"\t1\""},
        Pair{"\"\"", "\"\"\"\""}, Pair{"\"x\"", "\"\"x\"\""}, Pair{"'x'", "\"'x'\""}})
    EXPECT_EQ(EncodeValue(value), encoded) << value;
  EXPECT_TRUE(CanStore("Main Window", "window size", ""));
  EXPECT_TRUE(CanStore("[x", "a;b[c]", "; [V] a=b \"\t"));
  for (const std::string& bad : {"\r"s, "\n"s, "a\0b"s})
    EXPECT_FALSE(CanStore("V" + bad, "k", "v") || CanStore("V", "k" + bad, "v") ||
                 CanStore("V", "k", "v" + bad));
  for (const char* section : {"", "a]b", " V", "V ", "\tV", "V\t"})
    EXPECT_FALSE(CanStore(section, "k", "v")) << section;
  for (const char* key : {"", "a=b", " k", "k ", "\tk", "k\t", "[k", ";k"})
    EXPECT_FALSE(CanStore("V", key, "v")) << key;
  EXPECT_EQ(WithValue("[V]\r\nk=1\r\n", "V", "k", "1\r\n[V]\r\nscanlines=1"), std::nullopt);
}

TEST(IniWithValue, ChangesOneLineAndKeepsEveryOtherByte) {
  using Case = std::array<std::string, 5>;  // text, section, key, value, the text after
  for (const auto& [text, section, key, value, expected] :
       {// The first matching key keeps its place, spelling and line end.
        Case{"top=1\r\n; n\r\n[Video]\r\n  Type\t= old \r\ntype=2\r[A]\rv=3\r[video]\ntype=4",
             "VIDEO", "type", "auto ",
             "top=1\r\n; n\r\n[Video]\r\n  Type\t=\"auto \"\r\ntype=2\r[A]\rv=3\r[video]\ntype=4"},
        // A missing key follows the last key line of the first matching section.
        Case{"[V]\nmode=1\nno key\n; a=b\n\n[A]\nk=1\n", "v", "type", "auto",
             "[V]\nmode=1\ntype=auto\r\nno key\n; a=b\n\n[A]\nk=1\n"},
        Case{"[V]\r; c\r[A]\r", "V", "k", "1", "[V]\rk=1\r\n; c\r[A]\r"},
        Case{"[V]", "V", "k", "1", "[V]\r\nk=1\r\n"},
        Case{"[V]\nmode=1", "V", "k", " ", "[V]\nmode=1\r\nk=\" \"\r\n"},
        Case{"[V]\nb=1\n[V]\na=3\n", "V", "a", "9", "[V]\nb=1\na=9\r\n[V]\na=3\n"},
        // A missing section follows a blank line; the byte-order mark goes.
        Case{"", "Video", "type", "auto", "[Video]\r\ntype=auto\r\n"},
        Case{"[A]\r\nx=1", "V", "k", "1", "[A]\r\nx=1\r\n\r\n[V]\r\nk=1\r\n"},
        Case{"[A]\nx=1\n", "V", "k", "1", "[A]\nx=1\n\r\n[V]\r\nk=1\r\n"},
        Case{"k=0\r", "V", "k", "1", "k=0\r\r\n[V]\r\nk=1\r\n"},
        Case{"\xEF\xBB\xBF", "V", "a", "2", "[V]\r\na=2\r\n"}})
    EXPECT_EQ(WithValue(text, section, key, value), expected) << text;
  const std::string big(1 << 20, 'z');
  const std::string head = "; \0\0\n[Big]\nline="s + big + "\r\nnul=\0x\0\r\n"s + big + "\n[V]\n";
  const std::string tail = "\r\n\n[W]\nw=\0\0"s;
  EXPECT_EQ(WithValue(head + "a=1" + tail, "V", "a", "2"), head + "a=2" + tail);
}

// Every short value over the bytes that matter to quoting and parsing, and
// every such key that can be stored, reads back exactly, whether it replaces
// a key, adds a key or adds a section, and leaves its neighbour alone.
TEST(IniWithValue, EveryShortValueAndKeyReadsBack) {
  std::vector<std::string> strings = {""};
  for (std::size_t i = 0; i < strings.size() && strings[i].size() < 4; ++i)
    for (char c : " \"a\t=;["s) strings.push_back(strings[i] + c);
  int stored_keys = 0;
  for (const std::string& text : {"[V]\r\nk=old\r\nn=1\r\n"s, "[V]\nn=1"s, "[A]\nn=1"s})
    for (const std::string& s : strings)
      for (const auto& [key, value] : {Pair{"k", s}, Pair{s, "v"}}) {
        if (key == s && !CanStore("V", key, value)) continue;
        stored_keys += key == s;
        const std::string written = WithValue(text, "V", key, value).value_or("refused");
        EXPECT_EQ(FindValue(written, "V", key), value) << text << "|" << key << "=" << value;
        EXPECT_EQ(FindValue(written, text.substr(1, 1), "n"), "1")
            << text << "|" << key << "=" << value;
      }
  EXPECT_GT(stored_keys, 300);
}

}  // namespace
}  // namespace quorvel::ini

// The settings file's rules over files in memory that fail, crash or are held by others on purpose.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/ascii.h"

namespace quorvel::settings {
namespace {

using namespace std::string_literals;

const std::string kPath = "C:\\Quorvel\\quorvel.ini";
const std::string kUserPath = "C:\\Users\\Ann\\AppData\\Local\\Quorvel\\quorvel.ini";
const Places kHere{kPath, ""};
const Timing kFast{3, 0, 1};  // three pauses at most

struct Crash {};

// A lock file, deleted when let go.
struct Lock : FileLock {
  Lock(FileOps& files, std::string path) : files(files), path(std::move(path)) {}
  ~Lock() override { files.Remove(path); }
  FileOps& files;
  std::string path;
};

// Files in memory, failing with Windows' codes. The first `busy_reads` reads find the file held
// unshared by another program (ERROR_SHARING_VIOLATION) and the first `held_replaces`
// replacements find it open elsewhere, which Windows refuses with ERROR_ACCESS_DENIED however the
// holder shares it, as it does a replacement of a `read_only` file. Of the changing steps (writes
// and replacements), every one from `fail_from` on fails and the one at `crash_at` crashes; a
// failed write, and a crashed one when `torn`, leaves half of its bytes behind. No new file can be
// made under a path of `refusing` (ERROR_ACCESS_DENIED).
struct Disk : FileOps {
  std::mutex mutex;
  std::map<std::string, std::string> files;  // path to bytes
  std::vector<std::string> folders, refusing, read_only;
  int busy_reads = 0, held_replaces = 0, fail_from = 1 << 20, crash_at = -1, steps = 0;
  bool unreadable = false, torn = false;
  std::atomic<int> reads{0}, pauses{0};

  bool Refuses(const std::string& path) {
    for (const std::string& folder : refusing)
      if (path.starts_with(folder)) return true;
    return false;
  }
  FileRead Read(const std::string& path) override {
    const std::lock_guard hold(mutex);
    ++reads;
    if (busy_reads-- > 0) return {FileRead::Status::kBusy, {}, 32};
    if (unreadable) return {FileRead::Status::kFailed, {}, 5};
    const auto found = files.find(path);
    if (found == files.end()) return {FileRead::Status::kAbsent, {}, 2};
    return {FileRead::Status::kOk, found->second, 0};
  }
  ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) override {
    std::this_thread::sleep_for(std::chrono::microseconds(200));  // time to lose an update
    const std::lock_guard hold(mutex);
    if (Refuses(path)) return 5;
    const int step = steps++;
    const bool half = step >= fail_from || (step == crash_at && torn);
    if (half || step != crash_at) files[path] = half ? bytes.substr(0, bytes.size() / 2) : bytes;
    if (step == crash_at) throw Crash{};
    return step >= fail_from ? 112 : 0;
  }
  ErrorCode Replace(const std::string& from, const std::string& to) override {
    const std::lock_guard hold(mutex);
    const int step = steps++;
    if (step == crash_at) throw Crash{};
    if (step >= fail_from || files.count(from) == 0) return 32;
    if (held_replaces-- > 0 || IsReadOnly(to)) return kErrorAccessDenied;
    files[to] = files[from];
    files.erase(from);
    return 0;
  }
  bool IsReadOnly(const std::string& path) override {
    return std::find(read_only.begin(), read_only.end(), path) != read_only.end();
  }
  void Remove(const std::string& path) override {
    const std::lock_guard hold(mutex);
    files.erase(path);
  }
  LockAttempt TryLock(const std::string& path, int) override {
    const std::lock_guard hold(mutex);
    if (Refuses(path)) return {nullptr, 5};
    if (!files.emplace(path, "").second) return {};
    return {std::make_unique<Lock>(*this, path), 0};
  }
  ErrorCode CreateFolder(const std::string& path) override {
    folders.push_back(path);
    return Refuses(path + "\\") ? 5 : 0;
  }
  void Pause(int milliseconds) override {
    ++pauses;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  bool LeftBehind() {
    return files.count(TemporaryPathFor(kPath)) + files.count(LockPathFor(kPath)) != 0;
  }
};

ErrorCode WriteValue(Disk& disk, const Places& places, std::string_view section,
                     std::string_view key, std::string_view value, const Timing& timing = {}) {
  const Setting setting{section, key, value};
  return WriteValues(disk, places, {&setting, 1}, timing).error;
}

TEST(SettingsPathIn, JoinsWithOneSeparator) {
  for (const std::string dir : {"C:\\Games\\Quorvel", "\\\\server\\share", "D:\\Spi\xc3\xa9le"})
    EXPECT_EQ(SettingsPathIn(dir), dir + "\\quorvel.ini");
  EXPECT_EQ(SettingsPathIn("C:\\"), "C:\\quorvel.ini");
}

// Each program folder has a per-user file of its own, named so that a person can find it and told
// apart by its path in the file system's letter case (which the system folds; here in ASCII).
TEST(UserSettingsPath, OneFolderOfItsOwnPerProgramFolderWhateverTheLetterCase) {
  const std::string local = "C:\\Users\\Ann\\AppData\\Local";
  const auto folder_of = [&](std::string_view program_folder) {
    std::string key(program_folder);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string path = UserSettingsPath(local, program_folder, key);
    const std::string head = local + "\\Quorvel\\", tail = ")\\quorvel.ini";
    EXPECT_TRUE(path.starts_with(head) && path.ends_with(tail)) << path;
    return path.substr(head.size(), path.size() - head.size() - tail.size());
  };
  const std::string games = folder_of("C:\\Program Files\\Quorvel");
  EXPECT_TRUE(games.starts_with("Quorvel (") && games.size() == 9 + 8) << games;
  EXPECT_EQ(games.find_first_not_of("0123456789abcdef", 9), std::string::npos) << games;
  EXPECT_TRUE(ascii::EqualIgnoringCase<char>(folder_of("c:\\PROGRAM FILES\\quorvel\\"), games));
  for (const char* other : {"D:\\Program Files\\Quorvel", "C:\\Program Files\\Quorvel2",
                            "C:\\Program Files (x86)\\Quorvel"})
    EXPECT_NE(folder_of(other), games) << other;
  EXPECT_TRUE(folder_of("D:\\").starts_with("D ("));
  EXPECT_TRUE(folder_of("\\\\server\\share").starts_with("share ("));
  const std::string long_name = std::string(38, 'x') + "\xc3\xa9\xc3\xa9\xc3\xa9";
  EXPECT_TRUE(folder_of("E:\\" + long_name).starts_with(long_name.substr(0, 42) + " ("));
  EXPECT_EQ(UserSettingsPath(local + "\\", "", ""), local + "\\Quorvel\\quorvel.ini");
  // The name earlier versions gave, which their users' files still carry.
  const std::string earlier = "C:\\Program Files\\Quorvel";
  EXPECT_EQ(UserSettingsPath(local, earlier, AsciiFoldedKey(earlier)),
            local + "\\Quorvel\\Quorvel (2f773679)\\quorvel.ini");
}

TEST(SettingsFile, WritesAndReadsBackExactlyCutTo79Characters) {
  Disk disk;
  const ReadResult missing = ReadValue(disk, kHere, "Video", "res");
  EXPECT_TRUE(missing.ok && missing.value.empty() && disk.files.empty()) << "no error, no file";
  ASSERT_EQ(WriteValue(disk, kHere, "Joystick", "type", "auto "), 0u);
  ASSERT_EQ(WriteValue(disk, kHere, "Video", "res", "640 480 "), 0u);
  ASSERT_EQ(WriteValue(disk, kHere, "Joystick", "type", "segapci "), 0u);
  EXPECT_EQ(ReadValue(disk, kHere, "Joystick", "type").value, "segapci ");
  EXPECT_EQ(disk.files[kPath],
            "[Joystick]\r\ntype=\"segapci \"\r\n\r\n[Video]\r\nres=\"640 480 \"\r\n");
  EXPECT_FALSE(disk.LeftBehind());
  // Several settings in one replacement leave the text the single writes in order would.
  const std::vector<Setting> batch = {
      {"Video", "scanlines", "1"}, {"Sound", "rate", "8000"}, {"Video", "scanlines", "0"}};
  Disk one;
  one.files[kPath] = disk.files[kPath];
  for (const Setting& s : batch) ASSERT_EQ(WriteValue(one, kHere, s.section, s.key, s.value), 0u);
  disk.steps = 0;
  ASSERT_EQ(WriteValues(disk, kHere, batch).error, 0u);
  EXPECT_EQ(disk.files[kPath], one.files[kPath]);
  EXPECT_EQ(disk.steps, 2) << "one temporary file, one replacement";
  // Cut after 79 characters, never inside one: one to four bytes each, and bytes that are not
  // UTF-8.
  const std::vector<std::string> characters = {"x", "\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80",
                                               "\xff"};
  for (std::size_t size : {78, 79, 80, 100}) {
    std::string value, cut;
    for (std::size_t i = 0; i < size; ++i) {
      value += characters[i % characters.size()];
      if (i == 78) cut = value;
    }
    ASSERT_EQ(WriteValue(disk, kHere, "Other", "long", value), 0u);
    EXPECT_EQ(ReadValue(disk, kHere, "Other", "long").value, size > 79 ? cut : value) << size;
  }
}

TEST(SettingsFile, UnstorableTextIsRefusedAndAnUnreadableFileIsAFailure) {
  Disk disk;
  disk.files[kPath] = "[Video]\r\nscanlines=0\r\n";
  EXPECT_EQ(
      WriteValues(disk, kHere,
                  std::vector<Setting>{{"Video", "blur", "1"}, {"Video", "scanlines", "1\n[O]"}})
          .error,
      87u);  // ERROR_INVALID_PARAMETER, and the good setting before it is not stored either
  disk.unreadable = true;
  const ReadResult read = ReadValue(disk, kHere, "Video", "scanlines");
  EXPECT_TRUE(!read.ok && read.error != 0);
  EXPECT_NE(WriteValue(disk, kHere, "Video", "scanlines", "1"), 0u);
  EXPECT_EQ(disk.files[kPath], "[Video]\r\nscanlines=0\r\n");
}

TEST(SettingsFile, AFileOrLockHeldForAMomentIsWaitedFor) {
  Disk disk;
  disk.files[kPath] = "[Video]\r\nblur=1\r\n";
  disk.busy_reads = 2;
  EXPECT_EQ(ReadValue(disk, kHere, "Video", "blur", kFast).value, "1");
  disk.held_replaces = 2;
  EXPECT_EQ(WriteValue(disk, kHere, "Video", "blur", "0", kFast), 0u);
  EXPECT_EQ(disk.pauses, 4);
  disk.files[LockPathFor(kPath)] = "";  // a live writer that never lets go: a failure, not a guess
  EXPECT_EQ(WriteValue(disk, kHere, "Video", "scale", "1", kFast), kErrorBusy);
  EXPECT_EQ(disk.pauses, 4 + kFast.longest_wait_ms);
  EXPECT_EQ(disk.files[kPath], "[Video]\r\nblur=0\r\n");
  disk.busy_reads = 1000;
  disk.reads = 0;
  const ReadResult failed = ReadValue(disk, kHere, "Video", "blur", kFast);
  EXPECT_TRUE(!failed.ok && failed.error == 32u && disk.reads == kFast.longest_wait_ms + 1);
  EXPECT_EQ(failed.path, kPath);
}

TEST(SettingsFile, AFailureOrCrashAtAnyStepLeavesAWholeFileAndTheNextWriteRecovers) {
  const std::string before = "; mine\r\n[Video]\r\nscanlines=0\r\nblur=1\r\n";
  for (const char* fault : {"fail", "crash", "torn crash"}) {
    for (int step = 0;; ++step) {
      SCOPED_TRACE(testing::Message() << fault << " at step " << step);
      Disk disk;
      disk.files[kPath] = before;
      (fault[0] == 'f' ? disk.fail_from : disk.crash_at) = step;
      disk.torn = fault[0] == 't';
      ErrorCode error = 0;
      try {
        error =
            WriteValues(disk, kHere,
                        std::vector<Setting>{{"Video", "scanlines", "1"}, {"A", "b", "c"}}, kFast)
                .error;
      } catch (const Crash&) {
      }
      const bool struck = disk.steps > step;
      EXPECT_EQ(disk.files[kPath] == before, struck);
      EXPECT_EQ(error != 0, struck && fault[0] == 'f');
      EXPECT_TRUE(fault[0] != 'f' || !disk.LeftBehind());
      // Whatever a crash left beside the file, the store reads and writes on.
      disk.fail_from = 1 << 20;
      disk.crash_at = -1;
      EXPECT_EQ(WriteValue(disk, kHere, "Other", "vsync", "1"), 0u);
      EXPECT_EQ(ReadValue(disk, kHere, "Video", "blur").value, "1");
      EXPECT_FALSE(disk.LeftBehind());
      if (!struck) break;
    }
  }
}

TEST(SettingsFile, ConcurrentWritersLoseNoUpdate) {
  Disk disk;
  const auto key = [](int k) { return "k" + std::to_string(k); };
  std::vector<std::jthread> writers;  // 8 writers of 25 keys each
  for (int w = 0; w < 8; ++w)
    writers.emplace_back([&, w] {
      for (int k = w * 25; k < w * 25 + 25; ++k)
        EXPECT_EQ(WriteValue(disk, kHere, "Race", key(k), key(k) + " "), 0u);
    });
  writers.clear();  // joins them
  for (int k = 0; k < 200; ++k)
    EXPECT_EQ(ReadValue(disk, kHere, "Race", key(k)).value, key(k) + " ");
}

// Files of other editors: read and written back in their own encoding, or refused and left alone.
TEST(SettingsFile, KeepsEachFileInItsEncodingAndRefusesWhatItCannotDecode) {
  const auto utf16 = [](std::u16string_view text) {
    std::string bytes = "\xff\xfe";
    for (char16_t unit : text)
      bytes += {static_cast<char>(unit & 0xff), static_cast<char>(unit >> 8)};
    return bytes;
  };
  using Row = std::array<std::string, 2>;  // the file before, and after writing res="640 480 "
  for (const auto& [before, after] :
       {Row{utf16(u"[Video]\r\nres=1\r\n; \u00e9\U0001F600\r\n"),
            utf16(u"[Video]\r\nres=\"640 480 \"\r\n; \u00e9\U0001F600\r\n")},
        Row{"\xef\xbb\xbf[Video]\nres=1\n", "\xef\xbb\xbf[Video]\nres=\"640 480 \"\n"},
        Row{"[Video]\nres=1\n; \xe9t\xe9\n", "[Video]\nres=\"640 480 \"\n; \xe9t\xe9\n"}}) {
    Disk disk;
    disk.files[kPath] = before;
    EXPECT_EQ(ReadValue(disk, kHere, "Video", "res").value, "1");
    EXPECT_EQ(WriteValue(disk, kHere, "Video", "res", "640 480 "), 0u);
    EXPECT_EQ(disk.files[kPath], after);
  }
  Disk disk;
  disk.files[kPath] = utf16(u"[Video]\r\nres=1\r\n");
  EXPECT_EQ(WriteValue(disk, kHere, "Video", "res", "\xe9"), kErrorCannotStore) << "not UTF-8";
  for (const std::string& bytes : {utf16(u"[V]\r\nres=1") + "x", utf16(u"[V]\r\nres=\xd800"),
                                   "\xfe\xff\0[\0V\0]"s, "[\0V\0]\0\r\0\n\0"s, "[V]\nres=1\0\n"s}) {
    disk.files[kPath] = bytes;
    const ReadResult read = ReadValue(disk, kHere, "V", "res");
    EXPECT_TRUE(!read.ok && read.error == kErrorUndecodable);
    EXPECT_EQ(WriteValue(disk, kHere, "V", "res", "2"), kErrorUndecodable);
    EXPECT_EQ(disk.files[kPath], bytes);
  }
}

// A program folder that refuses writes: at once, the settings move to the per-user file, starting
// from a copy of the program's; from then on that file is read and written. A file that another
// program holds open is no refusal: it is waited for, and the settings stay beside the program.
TEST(SettingsFile, AProgramFolderThatRefusesWritesHandsOverToThePerUserFile) {
  const Places both{kPath, kUserPath};
  struct Row {
    const char* what;
    std::vector<std::string> refusing, read_only;
    int held_replaces;
    ErrorCode program_error;  // 0: not moved
  };
  for (const Row& row : {Row{"a folder that takes no new file", {"C:\\Quorvel\\"}, {}, 0, 5},
                         Row{"no temporary file", {TemporaryPathFor(kPath)}, {}, 0, 5},
                         Row{"a read-only file", {}, {kPath}, 0, kErrorFileReadOnly},
                         Row{"a file held open for longer than the wait", {}, {}, 1000, 0}}) {
    SCOPED_TRACE(row.what);
    Disk disk;
    disk.files[kPath] = "[Video]\r\nblur=1\r\n";
    disk.refusing = row.refusing;
    disk.read_only = row.read_only;
    disk.held_replaces = row.held_replaces;
    const WriteResult result =
        WriteValues(disk, both, std::vector<Setting>{{"Video", "scale", "1"}}, kFast);
    EXPECT_EQ(result.program_error, row.program_error);
    EXPECT_EQ(result.Moved(), row.program_error != 0);
    EXPECT_EQ(disk.files[kPath], "[Video]\r\nblur=1\r\n");
    if (row.program_error == 0) {
      EXPECT_TRUE(result.error == kErrorAccessDenied && result.held && result.path == kPath);
      EXPECT_TRUE(disk.pauses == kFast.longest_wait_ms && disk.files.count(kUserPath) == 0);
      EXPECT_FALSE(disk.LeftBehind());
      continue;
    }
    EXPECT_TRUE(result.error == 0 && !result.held && result.path == kUserPath && disk.pauses == 0);
    EXPECT_EQ(disk.folders, std::vector<std::string>{"C:\\Users\\Ann\\AppData\\Local\\Quorvel"});
    EXPECT_EQ(disk.files[kUserPath], "[Video]\r\nblur=1\r\nscale=1\r\n");
    disk.refusing.clear();  // writable again: the per-user file stays in charge
    disk.read_only.clear();
    EXPECT_EQ(WriteValue(disk, both, "Video", "blur", "0"), 0u);
    EXPECT_EQ(ReadValue(disk, both, "Video", "blur").value, "0");
    EXPECT_EQ(disk.files[kPath], "[Video]\r\nblur=1\r\n");
  }

  Disk locked;  // neither place can be written
  locked.refusing = {"C:\\"};
  const WriteResult result =
      WriteValues(locked, both, std::vector<Setting>{{"Video", "scale", "1"}});
  EXPECT_TRUE(result.error == 5 && result.program_error == 5 && result.path == kUserPath);
  EXPECT_TRUE(locked.files.empty() && locked.pauses == 0);

  Disk unknown;  // the program's folder is unknown: only the per-user file is used
  EXPECT_EQ(WriteValue(unknown, {"", kUserPath}, "Video", "scale", "1"), 0u);
  EXPECT_EQ(ReadValue(unknown, {"", kUserPath}, "Video", "scale").value, "1");
  EXPECT_EQ(unknown.files.count(kUserPath), 1u);
  EXPECT_EQ(WriteValue(unknown, {}, "Video", "scale", "1"), kErrorPathNotFound);
  EXPECT_EQ(ReadValue(unknown, {}, "Video", "scale").value, "");
}

}  // namespace
}  // namespace quorvel::settings

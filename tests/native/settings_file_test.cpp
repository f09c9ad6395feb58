// The settings file's rules over files in memory that fail, crash or are held by others on purpose.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

namespace quorvel::settings {
namespace {

const std::string kPath = "C:\\Quorvel\\quorvel.ini";
const Timing kFast{3, 3, 1};

struct Crash {};

// A lock file, deleted when let go.
struct Lock : FileLock {
  Lock(FileOps& files, std::string path) : files(files), path(std::move(path)) {}
  ~Lock() override { files.Remove(path); }
  FileOps& files;
  std::string path;
};

// Files in memory. The first `busy_reads` reads find the file held by another program and the first
// `held_replaces` replacements are refused. Of the changing steps (writes and replacements), every
// one from `fail_from` on fails and the one at `crash_at` crashes; a failed write, and a crashed
// one when `torn`, leaves half of its bytes behind.
struct Disk : FileOps {
  std::mutex mutex;
  std::map<std::string, std::string> files;  // path to bytes
  int busy_reads = 0, held_replaces = 0, fail_from = 1 << 20, crash_at = -1, steps = 0;
  bool unreadable = false, torn = false;
  std::atomic<int> reads{0}, pauses{0};

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
    if (step >= fail_from || held_replaces-- > 0 || files.count(from) == 0) return 32;
    files[to] = files[from];
    files.erase(from);
    return 0;
  }
  void Remove(const std::string& path) override {
    const std::lock_guard hold(mutex);
    files.erase(path);
  }
  std::unique_ptr<FileLock> TryLock(const std::string& path) override {
    const std::lock_guard hold(mutex);
    return files.emplace(path, "").second ? std::make_unique<Lock>(*this, path) : nullptr;
  }
  void Pause(int milliseconds) override {
    ++pauses;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  bool LeftBehind() {
    return files.count(TemporaryPathFor(kPath)) + files.count(LockPathFor(kPath)) != 0;
  }
};

TEST(SettingsPathIn, JoinsWithOneSeparator) {
  for (const std::string dir : {"C:\\Games\\Quorvel", "\\\\server\\share", "D:\\Spi\xc3\xa9le"})
    EXPECT_EQ(SettingsPathIn(dir), dir + "\\quorvel.ini");
  EXPECT_EQ(SettingsPathIn("C:\\"), "C:\\quorvel.ini");
}

TEST(SettingsFile, WritesAndReadsBackExactlyCutTo79Characters) {
  Disk disk;
  const ReadResult missing = ReadValue(disk, kPath, "Video", "res");
  EXPECT_TRUE(missing.ok && missing.value.empty() && disk.files.empty()) << "no error, no file";
  ASSERT_EQ(WriteValue(disk, kPath, "Joystick", "type", "auto "), 0u);
  ASSERT_EQ(WriteValue(disk, kPath, "Video", "res", "640 480 "), 0u);
  ASSERT_EQ(WriteValue(disk, kPath, "Joystick", "type", "segapci "), 0u);
  EXPECT_EQ(ReadValue(disk, kPath, "Joystick", "type").value, "segapci ");
  EXPECT_EQ(disk.files[kPath],
            "[Joystick]\r\ntype=\"segapci \"\r\n\r\n[Video]\r\nres=\"640 480 \"\r\n");
  EXPECT_FALSE(disk.LeftBehind());
  std::string value;
  for (int i = 0; i < 100; ++i) value += static_cast<char>('0' + i % 75);
  for (std::size_t size : {78, 79, 80, 100}) {
    ASSERT_EQ(WriteValue(disk, kPath, "Other", "long", value.substr(0, size)), 0u);
    EXPECT_EQ(ReadValue(disk, kPath, "Other", "long").value, value.substr(0, size).substr(0, 79));
  }
}

TEST(SettingsFile, UnstorableTextIsRefusedAndAnUnreadableFileIsAFailure) {
  Disk disk;
  disk.files[kPath] = "[Video]\r\nscanlines=0\r\n";
  EXPECT_EQ(WriteValue(disk, kPath, "Video", "scanlines", "1\n[O]"),
            87u);  // ERROR_INVALID_PARAMETER
  disk.unreadable = true;
  const ReadResult read = ReadValue(disk, kPath, "Video", "scanlines");
  EXPECT_TRUE(!read.ok && read.error != 0);
  EXPECT_NE(WriteValue(disk, kPath, "Video", "scanlines", "1"), 0u);
  EXPECT_EQ(disk.files[kPath], "[Video]\r\nscanlines=0\r\n");
}

TEST(SettingsFile, AFileOrLockHeldForAMomentIsWaitedFor) {
  Disk disk;
  disk.files[kPath] = "[Video]\r\nblur=1\r\n";
  disk.busy_reads = 2;
  EXPECT_EQ(ReadValue(disk, kPath, "Video", "blur", kFast).value, "1");
  disk.held_replaces = 2;
  EXPECT_EQ(WriteValue(disk, kPath, "Video", "blur", "0", kFast), 0u);
  EXPECT_EQ(disk.pauses, 4);
  disk.files[LockPathFor(kPath)] = "";  // a writer that never lets go
  EXPECT_EQ(WriteValue(disk, kPath, "Video", "scale", "1", kFast), 0u);
  EXPECT_EQ(disk.pauses, 4 + kFast.lock_retries);
  EXPECT_EQ(disk.files[kPath], "[Video]\r\nblur=0\r\nscale=1\r\n");
  disk.busy_reads = 1000;
  disk.reads = 0;
  const ReadResult failed = ReadValue(disk, kPath, "Video", "blur", kFast);
  EXPECT_TRUE(!failed.ok && failed.error == 32u && disk.reads == kFast.read_retries + 1);
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
        error = WriteValue(disk, kPath, "Video", "scanlines", "1", kFast);
      } catch (const Crash&) {
      }
      const bool struck = disk.steps > step;
      EXPECT_EQ(disk.files[kPath] == before, struck);
      EXPECT_EQ(error != 0, struck && fault[0] == 'f');
      EXPECT_TRUE(fault[0] != 'f' || !disk.LeftBehind());
      // Whatever a crash left beside the file, the store reads and writes on.
      disk.fail_from = 1 << 20;
      disk.crash_at = -1;
      EXPECT_EQ(WriteValue(disk, kPath, "Other", "vsync", "1"), 0u);
      EXPECT_EQ(ReadValue(disk, kPath, "Video", "blur").value, "1");
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
        EXPECT_EQ(WriteValue(disk, kPath, "Race", key(k), key(k) + " "), 0u);
    });
  writers.clear();  // joins them
  for (int k = 0; k < 200; ++k)
    EXPECT_EQ(ReadValue(disk, kPath, "Race", key(k)).value, key(k) + " ");
}

}  // namespace
}  // namespace quorvel::settings

// The settings file's read and write rules over real files (POSIX stands in
// for Win32 here) and over operations that fail or crash on purpose.
#include "settings/settings_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace quorvel::settings {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void Spit(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class PosixLock final : public FileLock {
 public:
  explicit PosixLock(std::string path) : path_(std::move(path)) {}
  ~PosixLock() override { ::unlink(path_.c_str()); }

 private:
  std::string path_;
};

class PosixFileOps : public FileOps {
 public:
  FileRead Read(const std::string& path) override {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      if (!fs::exists(path)) return {FileRead::Status::kAbsent, {}, ENOENT};
      return {FileRead::Status::kFailed, {}, EACCES};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad() || fs::is_directory(path)) return {FileRead::Status::kFailed, {}, EISDIR};
    return {FileRead::Status::kOk, bytes.str(), 0};
  }
  ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return static_cast<ErrorCode>(errno);
    const bool ok = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                    ::fsync(fd) == 0;
    ::close(fd);
    return ok ? 0 : static_cast<ErrorCode>(EIO);
  }
  ErrorCode Replace(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : static_cast<ErrorCode>(errno);
  }
  void Remove(const std::string& path) override { ::unlink(path.c_str()); }
  std::unique_ptr<FileLock> TryLock(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return nullptr;
    ::close(fd);
    return std::make_unique<PosixLock>(path);
  }
  void Pause(int milliseconds) override {
    ++pauses;
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
  std::atomic<int> pauses{0};
};

// Stops the write at its n-th changing step: by failing it (the step and all
// later ones report an error), by crashing (an exception that skips everything after it), or by
// leaving half of the bytes behind before crashing.
struct Crash {};
class FaultyFileOps : public PosixFileOps {
 public:
  enum class Fault { kFail, kCrash, kTornWriteThenCrash };
  FaultyFileOps(int step, Fault fault) : step_(step), fault_(fault) {}

  ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) override {
    if (Hit()) {
      if (fault_ == Fault::kFail) return ENOSPC;
      if (fault_ == Fault::kTornWriteThenCrash) PosixFileOps::WriteAndFlush(path, bytes.substr(0, bytes.size() / 2));
      throw Crash{};
    }
    return PosixFileOps::WriteAndFlush(path, bytes);
  }
  ErrorCode Replace(const std::string& from, const std::string& to) override {
    if (Hit()) {
      if (fault_ == Fault::kFail) return EXDEV;
      throw Crash{};
    }
    return PosixFileOps::Replace(from, to);
  }

 private:
  // A failure lasts (every try from the n-th on fails); a crash happens once.
  bool Hit() { return fault_ == Fault::kFail ? count_++ >= step_ : count_++ == step_; }
  int step_;
  Fault fault_;
  int count_ = 0;
};

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quorvel-settings-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "quorvel.ini").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  std::string path_;
  PosixFileOps files_;
  Timing fast_{3, 3, 1};
};

TEST(SettingsPathIn, JoinsWithOneSeparator) {
  EXPECT_EQ(SettingsPathIn("C:\\Games\\Quorvel"), "C:\\Games\\Quorvel\\quorvel.ini");
  EXPECT_EQ(SettingsPathIn("C:\\"), "C:\\quorvel.ini");
  EXPECT_EQ(SettingsPathIn("\\\\server\\share"), "\\\\server\\share\\quorvel.ini");
  EXPECT_EQ(SettingsPathIn("D:\\Spi\xc3\xa9le"), "D:\\Spi\xc3\xa9le\\quorvel.ini");
}

TEST_F(SettingsFile, WritesAndReadsBackExactly) {
  EXPECT_EQ(ReadValue(files_, path_, "Video", "res").value, "");
  EXPECT_TRUE(ReadValue(files_, path_, "Video", "res").ok) << "a missing file is no error";
  EXPECT_FALSE(fs::exists(path_)) << "a read creates nothing";

  ASSERT_EQ(WriteValue(files_, path_, "Joystick", "type", "auto "), 0u);
  ASSERT_EQ(WriteValue(files_, path_, "Video", "res", "640 480 "), 0u);
  ASSERT_EQ(WriteValue(files_, path_, "Joystick", "type", "segapci "), 0u);
  EXPECT_EQ(ReadValue(files_, path_, "Joystick", "type").value, "segapci ");
  EXPECT_EQ(ReadValue(files_, path_, "Video", "res").value, "640 480 ");
  EXPECT_EQ(Slurp(path_), "[Joystick]\r\ntype=\"segapci \"\r\n\r\n[Video]\r\nres=\"640 480 \"\r\n");
  EXPECT_FALSE(fs::exists(TemporaryPathFor(path_)));
  EXPECT_FALSE(fs::exists(LockPathFor(path_)));
}

TEST_F(SettingsFile, ReadsAreCutTo79Characters) {
  const std::string value(100, 'v');
  ASSERT_EQ(WriteValue(files_, path_, "Other", "long", value), 0u);
  EXPECT_EQ(ReadValue(files_, path_, "Other", "long").value, value.substr(0, 79));
  ASSERT_EQ(WriteValue(files_, path_, "Other", "exact", value.substr(0, 79)), 0u);
  EXPECT_EQ(ReadValue(files_, path_, "Other", "exact").value.size(), 79u);
}

TEST_F(SettingsFile, UnreadableFileIsAFailureNotAnAbsence) {
  fs::create_directory(path_);
  const ReadResult read = ReadValue(files_, path_, "Video", "scanlines");
  EXPECT_FALSE(read.ok);
  EXPECT_NE(read.error, 0u);
  EXPECT_NE(WriteValue(files_, path_, "Video", "scanlines", "1"), 0u);
}

TEST_F(SettingsFile, UnstorableTextIsRefusedAndTheFileKept) {
  Spit(path_, "[Video]\r\nscanlines=0\r\n");
  EXPECT_EQ(WriteValue(files_, path_, "Video", "scanlines", "1\r\n[Other]\r\nnommx=1"),
            kErrorCannotStore);
  EXPECT_EQ(Slurp(path_), "[Video]\r\nscanlines=0\r\n");
}

// A program that holds the file for a moment, then lets go.
class BusyThenFree : public PosixFileOps {
 public:
  explicit BusyThenFree(int busy_reads) : busy_reads_(busy_reads) {}
  FileRead Read(const std::string& path) override {
    ++reads;
    if (busy_reads_-- > 0) return {FileRead::Status::kBusy, {}, 32};
    return PosixFileOps::Read(path);
  }
  int reads = 0;

 private:
  int busy_reads_;
};

TEST_F(SettingsFile, BusyFileIsRetriedBrieflyThenAFailure) {
  Spit(path_, "[Video]\r\nblur=1\r\n");
  BusyThenFree briefly(2);
  const ReadResult read = ReadValue(briefly, path_, "Video", "blur", fast_);
  EXPECT_TRUE(read.ok);
  EXPECT_EQ(read.value, "1");
  EXPECT_EQ(briefly.pauses, 2);

  BusyThenFree forever(1000);
  const ReadResult failed = ReadValue(forever, path_, "Video", "blur", fast_);
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.error, 32u);
  EXPECT_EQ(forever.reads, fast_.read_retries + 1);
}

TEST_F(SettingsFile, FailedStepsLeaveTheOldFileAndNoTemporary) {
  const std::string before = "; mine\r\n[Video]\r\nscanlines=0\r\n";
  for (int step = 0; step < 2; ++step) {
    Spit(path_, before);
    FaultyFileOps faulty(step, FaultyFileOps::Fault::kFail);
    EXPECT_NE(WriteValue(faulty, path_, "Video", "scanlines", "1", {3, 3, 1}), 0u) << step;
    EXPECT_EQ(Slurp(path_), before) << step;
    EXPECT_FALSE(fs::exists(TemporaryPathFor(path_))) << step;
    EXPECT_FALSE(fs::exists(LockPathFor(path_))) << step << ": the lock outlived the write";
  }
}

TEST_F(SettingsFile, CrashAtAnyStepLeavesAWholeFileAndTheNextWriteRecovers) {
  const std::string before = "[Video]\r\nscanlines=0\r\nblur=1\r\n";
  const std::string after = "[Video]\r\nscanlines=1\r\nblur=1\r\n";
  for (auto fault : {FaultyFileOps::Fault::kCrash, FaultyFileOps::Fault::kTornWriteThenCrash}) {
    for (int step = 0;; ++step) {
      Spit(path_, before);
      FaultyFileOps faulty(step, fault);
      bool crashed = false;
      try {
        WriteValue(faulty, path_, "Video", "scanlines", "1");
      } catch (const Crash&) {
        crashed = true;
      }
      const std::string now = Slurp(path_);
      EXPECT_TRUE(now == before || now == after) << "step " << step << ": " << now;
      // Whatever the crash left beside the file, the store reads and writes on.
      EXPECT_EQ(ReadValue(files_, path_, "Video", "blur").value, "1");
      EXPECT_EQ(WriteValue(files_, path_, "Other", "vsync", "1"), 0u);
      EXPECT_EQ(ReadValue(files_, path_, "Video", "blur").value, "1");
      EXPECT_FALSE(fs::exists(TemporaryPathFor(path_)));
      if (!crashed) break;
    }
  }
}

// Holds the settings file open for the first few replacements.
class HeldDuringReplace : public PosixFileOps {
 public:
  ErrorCode Replace(const std::string& from, const std::string& to) override {
    if (refusals_-- > 0) return EBUSY;
    return PosixFileOps::Replace(from, to);
  }

 private:
  int refusals_ = 2;
};

TEST_F(SettingsFile, AReplacementRefusedForAMomentIsTriedAgain) {
  HeldDuringReplace held;
  EXPECT_EQ(WriteValue(held, path_, "Video", "blur", "1", fast_), 0u);
  EXPECT_EQ(held.pauses, 2);
  EXPECT_EQ(ReadValue(files_, path_, "Video", "blur").value, "1");
}

TEST_F(SettingsFile, AHeldLockIsWaitedForAndAStaleOneOvercome) {
  Spit(LockPathFor(path_), "");  // a writer that never lets go
  EXPECT_EQ(WriteValue(files_, path_, "Video", "scale", "1", fast_), 0u);
  EXPECT_EQ(files_.pauses, fast_.lock_retries);
  EXPECT_EQ(ReadValue(files_, path_, "Video", "scale").value, "1");
}

std::string RaceKey(int writer, int index) {
  std::string key = "k";
  key += std::to_string(writer);
  key += '_';
  key += std::to_string(index);
  return key;
}

TEST_F(SettingsFile, ConcurrentWritersLoseNoUpdate) {
  constexpr int kWriters = 8;
  constexpr int kKeysEach = 25;
  std::vector<std::thread> writers;
  std::atomic<int> failures{0};
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      PosixFileOps own;
      for (int k = 0; k < kKeysEach; ++k) {
        const std::string key = RaceKey(w, k);
        if (WriteValue(own, path_, "Race", key, std::to_string(w * 1000 + k) + " ") != 0) ++failures;
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  EXPECT_EQ(failures, 0);
  for (int w = 0; w < kWriters; ++w)
    for (int k = 0; k < kKeysEach; ++k) {
      const std::string key = RaceKey(w, k);
      EXPECT_EQ(ReadValue(files_, path_, "Race", key).value, std::to_string(w * 1000 + k) + " ");
    }
}

}  // namespace
}  // namespace quorvel::settings

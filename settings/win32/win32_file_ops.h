// The settings store's file operations on Windows.
#pragma once

#include "settings/settings_file.h"

namespace quorvel::settings {

class Win32FileOps final : public FileOps {
 public:
  // Pauses with `pause`, or by sleeping when there is none.
  explicit Win32FileOps(void (*pause)(int milliseconds) = nullptr) : pause_(pause) {}

  FileRead Read(const std::string& path) override;
  ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) override;
  ErrorCode Replace(const std::string& from, const std::string& to) override;
  bool IsReadOnly(const std::string& path) override;
  void Remove(const std::string& path) override;
  LockAttempt TryLock(const std::string& path, int wait_ms) override;
  ErrorCode CreateFolder(const std::string& path) override;
  void Pause(int milliseconds) override;

 private:
  void (*pause_)(int milliseconds);
};

}  // namespace quorvel::settings

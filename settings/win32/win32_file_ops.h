// The settings store's file operations on Windows.
#pragma once

#include "settings/settings_file.h"

namespace quorvel::settings {

class Win32FileOps final : public FileOps {
 public:
  // Waits for its turn and pauses with `wait`, or by blocking when there is
  // none.
  explicit Win32FileOps(unsigned long (*wait)(void* handle, int milliseconds) = nullptr)
      : wait_(wait) {}

  FileRead Read(const std::string& path) override;
  ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) override;
  ErrorCode Replace(const std::string& from, const std::string& to) override;
  bool IsReadOnly(const std::string& path) override;
  void Remove(const std::string& path) override;
  LockAttempt TryLock(const std::string& path, int wait_ms) override;
  ErrorCode CreateFolder(const std::string& path) override;
  void Pause(int milliseconds) override;

 private:
  unsigned long (*wait_)(void* handle, int milliseconds);
};

}  // namespace quorvel::settings

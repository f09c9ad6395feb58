// The settings store's file operations on Windows.
#pragma once

#include "settings/settings_file.h"

namespace quorvel::settings {

class Win32FileOps final : public FileOps {
 public:
  FileRead Read(const std::string& path) override;
  ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) override;
  ErrorCode Replace(const std::string& from, const std::string& to) override;
  bool IsReadOnly(const std::string& path) override;
  void Remove(const std::string& path) override;
  LockAttempt TryLock(const std::string& path, int wait_ms) override;
  ErrorCode CreateFolder(const std::string& path) override;
  void Pause(int milliseconds) override;
};

}  // namespace quorvel::settings

#include "platform/win32/paths.h"

#include <windows.h>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace quorvel::win {
namespace {

// Calls `get(buffer, size)`, which returns the length it needs when the
// buffer is too small, as the path functions do; "" when it fails.
template <typename Get>
std::u16string Grown(Get get) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = get(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::u16string(AsUtf16({buffer.data(), length}));
    buffer.resize(length + 1);
  }
  return {};
}

}  // namespace

std::u16string FullPath(std::u16string_view path) {
  const std::u16string owned(path);
  return Grown([&](wchar_t* buffer, DWORD size) {
    return ::GetFullPathNameW(WideZ(owned), size, buffer, nullptr);
  });
}

std::u16string LongPath(std::u16string_view path) {
  const std::u16string owned(path);
  std::u16string long_path = Grown(
      [&](wchar_t* buffer, DWORD size) { return ::GetLongPathNameW(WideZ(owned), buffer, size); });
  return long_path.empty() ? owned : long_path;
}

std::optional<std::u16string> FinalPath(std::u16string_view folder) {
  const std::u16string owned(folder);
  const UniqueFile handle(::CreateFileW(
      WideZ(owned), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  std::u16string path = Grown([&](wchar_t* buffer, DWORD size) {
    return ::GetFinalPathNameByHandleW(handle.get(), buffer, size, VOLUME_NAME_DOS);
  });
  // The answer comes in its long-path form: "\\?\C:\x" or "\\?\UNC\server\share\x".
  if (path.starts_with(u"\\\\?\\UNC\\")) return u"\\" + path.substr(7);
  if (path.starts_with(u"\\\\?\\")) return path.substr(4);
  return std::nullopt;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
  const std::wstring_view wide_a = AsWide(a), wide_b = AsWide(b);
  return ::CompareStringOrdinal(wide_a.data(), static_cast<int>(wide_a.size()), wide_b.data(),
                                static_cast<int>(wide_b.size()), TRUE) == CSTR_EQUAL;
}

std::u16string FoldedCase(std::u16string_view name) {
  std::wstring folded(AsWide(name));
  if (!folded.empty())
    ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, folded.data(),
                    static_cast<int>(folded.size()), folded.data(), static_cast<int>(folded.size()),
                    nullptr, nullptr, 0);
  return std::u16string(AsUtf16(folded));
}

}  // namespace quorvel::win

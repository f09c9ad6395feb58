// Paths as the system resolves them: the program asks Windows rather than
// apply path rules of its own (drive-relative paths, each drive's current
// directory, short 8.3 names, mapped drives and junctions, letter case).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::win {

// GetFullPathNameW: the path as a whole, from the current directory and each
// drive's own current directory as the system keeps them; "" when it fails.
std::u16string FullPath(std::u16string_view path);

// GetLongPathNameW: an existing path with its short (8.3) names in their long
// form; the path as it is where it has none or does not exist.
std::u16string LongPath(std::u16string_view path);

// GetFinalPathNameByHandleW: an existing folder's own path, whatever mapped
// drive, subst drive, share name or junction it was reached through, in the
// usual form ("C:\x", "\\server\share\x"); nullopt where it cannot be had.
std::optional<std::u16string> FinalPath(std::u16string_view folder);

// Whether two names are one file name: CompareStringOrdinal ignoring case,
// the comparison of the file system.
bool SameName(std::u16string_view a, std::u16string_view b);

// The name with its letters folded to one case, the file system's way
// (independent of the user's language).
std::u16string FoldedCase(std::u16string_view name);

}  // namespace quorvel::win

// What the main window opens on: the folder and image given on the command
// line, and the image launched last, which the settings remember by its full
// path. Paths are the system's UTF-16, which need not be well-formed.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quorvel::launcher {

enum class PathKind { kMissing, kFolder, kFile };

struct Opening {
  enum class Kind {
    kCurrentFolder,  // no argument
    kFolder,         // list `folder`
    kImage,          // list `folder` and select `image` there
    kMissing,        // `path` does not exist
    kNotAnImage,     // `path` is a file that is not an image
  };
  Kind kind = Kind::kCurrentFolder;
  std::u16string path;    // the argument as a whole path
  std::u16string folder;  // kFolder, kImage
  std::u16string image;   // kImage: its name in `folder`
  bool operator==(const Opening&) const = default;
};

// What the system knows of paths: the whole, long path of a path as given
// (from the current directory, or a drive's own), and what is found there.
struct PathSystem {
  std::function<std::u16string(std::u16string_view path)> full_path;
  std::function<PathKind(std::u16string_view path)> kind_of;
};

// The meaning of the command line's argument (empty: none).
Opening OpeningOf(std::u16string_view argument, const PathSystem& system);

// Whether two names are one file name, as the system compares them.
using SameName = bool (*)(std::u16string_view, std::u16string_view);

// The remembered image: where the settings keep it, and its full path as
// stored text: UTF-8, with "%" and each unpaired surrogate written as "%" and
// the unit's four hexadecimal digits, so that any name reads back exactly.
inline constexpr std::string_view kRememberedSection = "Launcher";
inline constexpr std::string_view kRememberedKey = "last";
std::string StoredImagePath(std::u16string_view path);
std::optional<std::u16string> ImagePathOfStored(std::string_view stored);  // nullopt: not such text

// The index in `listed` (the names File1 lists from `folder`) of the image at
// `path`.
std::optional<std::size_t> IndexOfImage(std::span<const std::u16string> listed,
                                        std::u16string_view folder, std::u16string_view path,
                                        SameName same);

}  // namespace quorvel::launcher

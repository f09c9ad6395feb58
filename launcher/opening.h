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
  std::u16string path;    // the argument, after the current directory when it is relative
  std::u16string folder;  // kFolder, kImage
  std::u16string image;   // kImage: its name in `folder`
  bool operator==(const Opening&) const = default;
};

// The meaning of the command line's argument (empty: none), given the current
// directory and what the system finds at a path.
Opening OpeningOf(std::u16string_view argument, std::u16string_view current_directory,
                  const std::function<PathKind(std::u16string_view path)>& kind_of);

// The remembered image: where the settings keep it, and its full path as
// stored text: UTF-8, with "%" and each unpaired surrogate written as "%" and
// the unit's four hexadecimal digits, so that any name reads back exactly.
inline constexpr std::string_view kRememberedSection = "Launcher";
inline constexpr std::string_view kRememberedKey = "last";
std::string StoredImagePath(std::u16string_view path);
std::optional<std::u16string> ImagePathOfStored(std::string_view stored);  // nullopt: not such text

// The full path of an image in a folder.
std::u16string PathIn(std::u16string_view folder, std::u16string_view name);

// The index in `listed` (the names File1 lists from `folder`) of the image at
// `path`; file names match in any letter case.
std::optional<std::size_t> IndexOfImage(std::span<const std::u16string> listed,
                                        std::u16string_view folder, std::u16string_view path);

}  // namespace quorvel::launcher

// settings_writer <ini> <section> <key> <first> <count>: stores first, first + 1, ... (count 0:
// until it is ended), one write each as the program does; "#" in the key becomes the number.
#include "platform/win32/text.h"
#include "settings/win32/win32_file_ops.h"

int wmain(int, wchar_t** argv) {
  using namespace quorvel;
  settings::Win32FileOps files;
  const std::string ini = *win::Narrow(argv[1]), section = *win::Narrow(argv[2]);
  const long long first = std::stoll(argv[4]), count = std::stoll(argv[5]);
  for (long long n = first; count == 0 || n < first + count; ++n) {
    std::string key = *win::Narrow(argv[3]), value = std::to_string(n);
    if (key.find('#') != std::string::npos) key.replace(key.find('#'), 1, value);
    const settings::Setting setting{section, key, value};
    if (const auto error = WriteValues(files, {ini, ""}, {&setting, 1}).error) return int(error);
  }
  return 0;  // else the error of the first write that failed
}

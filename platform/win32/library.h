// DLLs that the program loads when it first needs them, only ever from the
// system's own folder: one of the same name beside the program (in Downloads,
// say) is never run.
#pragma once

#include <windows.h>

namespace quorvel::win {

// The DLL of that name in the system folder, loaded once and kept for the
// process; nullptr when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of such a DLL, or nullptr where the system lacks it.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
  return module
             ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
             : nullptr;
}

}  // namespace quorvel::win

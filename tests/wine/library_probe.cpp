// Loads the system DLL named by its argument as the program loads every DLL
// it asks for at run time. Exit code 0 when the module came from the system
// folder, 1 when from anywhere else, 2 when none was loaded.
#include <windows.h>

#include <cwchar>

#include "platform/win32/library.h"

int wmain(int argc, wchar_t** argv) {
  HMODULE module = argc == 2 ? quorvel::win::LoadSystemLibrary(argv[1]) : nullptr;
  if (!module) return 2;
  wchar_t path[MAX_PATH] = {}, system[MAX_PATH] = {};
  ::GetModuleFileNameW(module, path, MAX_PATH);
  const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
  return length > 0 && _wcsnicmp(path, system, length) == 0 && path[length] == L'\\' ? 0 : 1;
}

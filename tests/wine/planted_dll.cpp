// A DLL planted beside quorvel.exe under the name of a system DLL that is not
// one of Windows' known DLLs (msimg32.dll): when anything loads it, it leaves
// the file "planted-dll-ran" beside itself.
#define NOGDI  // its own TransparentBlt, not the system's declaration
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH];
  std::wstring marker(path, ::GetModuleFileNameW(instance, path, MAX_PATH));
  marker.replace(marker.find_last_of(L'\\') + 1, std::wstring::npos, L"planted-dll-ran");
  ::CloseHandle(
      ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return TRUE;
}

// What a program importing msimg32 needs of it to start.
extern "C" __declspec(dllexport) BOOL WINAPI
    TransparentBlt(HDC, int, int, int, int, HDC, int, int, int, int, UINT) {
  return FALSE;
}

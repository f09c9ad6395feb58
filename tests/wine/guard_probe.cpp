// Two threads reach a function-local static at once while its slow
// initialisation runs, with the shipped program's runtime: the second waits
// for the first, and the static is made once. Exit code 0 when it was so.
#include <windows.h>

namespace {

LONG g_made = 0;

int Slow() {
  ::InterlockedIncrement(&g_made);
  ::Sleep(300);
  return 42;
}

int Value() {
  static const int value = Slow();
  return value;
}

DWORD WINAPI Reach(void* seen) {
  *static_cast<int*>(seen) = Value();
  return 0;
}

}  // namespace

int main() {
  int seen[2] = {};
  HANDLE threads[2];
  for (int i = 0; i < 2; ++i) threads[i] = ::CreateThread(nullptr, 0, Reach, &seen[i], 0, nullptr);
  const bool ended = ::WaitForMultipleObjects(2, threads, TRUE, 10000) == WAIT_OBJECT_0;
  for (HANDLE thread : threads) ::CloseHandle(thread);
  return ended && g_made == 1 && seen[0] == 42 && seen[1] == 42 ? 0 : 1;
}

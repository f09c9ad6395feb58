// Owners for Win32 handles: one small, non-copyable, movable type per kind of
// handle, each released exactly once on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace quorvel::win {

template <typename Handle, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(Handle handle) : handle_(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : handle_(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return Traits::IsValid(handle_); }
  Handle release() { return std::exchange(handle_, Traits::Invalid()); }
  void reset(Handle handle = Traits::Invalid()) {
    if (Traits::IsValid(handle_)) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

// Kernel objects whose failure value is NULL (processes, threads, events).
struct KernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueHandle = Unique<HANDLE, KernelHandleTraits>;

// Files, whose CreateFile failure value is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
using UniqueFile = Unique<HANDLE, FileHandleTraits>;

// Directory searches (FindFirstFile*), closed with FindClose.
struct FindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
using UniqueFind = Unique<HANDLE, FindHandleTraits>;

// Any GDI object made by a Create* call (brush, font, bitmap, region).
template <typename Object>
struct GdiObjectTraits {
  static Object Invalid() { return nullptr; }
  static bool IsValid(Object h) { return h != nullptr; }
  static void Close(Object h) { ::DeleteObject(h); }
};
template <typename Object>
using UniqueGdi = Unique<Object, GdiObjectTraits<Object>>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniqueFont = UniqueGdi<HFONT>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueRegion = UniqueGdi<HRGN>;

// A window the program made and destroys itself.
struct WindowTraits {
  static HWND Invalid() { return nullptr; }
  static bool IsValid(HWND h) { return h != nullptr; }
  static void Close(HWND h) { ::DestroyWindow(h); }
};
using UniqueWindow = Unique<HWND, WindowTraits>;

// A device context made by CreateCompatibleDC.
struct MemoryDcTraits {
  static HDC Invalid() { return nullptr; }
  static bool IsValid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { ::DeleteDC(h); }
};
using UniqueMemoryDc = Unique<HDC, MemoryDcTraits>;

// A device context borrowed from a window (GetDC/GetWindowDC), given back with
// ReleaseDC.
class WindowDc {
 public:
  WindowDc(HWND hwnd, HDC hdc) : hwnd_(hwnd), hdc_(hdc) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (hdc_) ::ReleaseDC(hwnd_, hdc_);
  }
  HDC get() const { return hdc_; }

 private:
  HWND hwnd_;
  HDC hdc_;
};

// Selects an object into a device context for one scope and selects the
// previous object back at its end.
class ScopedSelect {
 public:
  ScopedSelect(HDC hdc, HGDIOBJ object) : hdc_(hdc), previous_(::SelectObject(hdc, object)) {}
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;
  ~ScopedSelect() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(hdc_, previous_);
  }

 private:
  HDC hdc_;
  HGDIOBJ previous_;
};

}  // namespace quorvel::win

// Form1, the main window: the file list, the option controls, "Load and Run",
// the buttons that open the dialogs, and the end of the program.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "launcher/main_state.h"
#include "launcher/win32/form.h"

namespace quorvel::launcher {

inline constexpr wchar_t kMainWindowClass[] = L"Quorvel.Form1";

class MainWindow {
 public:
  // Creates, loads and shows the window; nullptr when it cannot be created.
  static HWND Create(HINSTANCE instance, int show);

 private:
  explicit MainWindow(HWND hwnd) : hwnd_(hwnd) {}
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);

  void OnCreate();
  void Load();
  void ShowCentred(int show);
  void OnCommand(int id, int code);
  void OnOptionClicked(int id);
  void OnActivate(bool active);
  void OnDpiChanged(int dpi, const RECT& suggested);
  void Paint(HDC hdc);
  void PaintBackdrop(HDC hdc, POINT origin, SIZE size) const;

  void FillFileList();
  std::string SelectedFile() const;
  MainState ReadState() const;
  void ApplyState(const MainState& state);
  void AddTooltip();

  HWND hwnd_;
  std::unique_ptr<form::Form> form_;
  HWND tooltip_ = nullptr;
  HWND focus_ = nullptr;  // the control to give the focus back to on activation
  HCURSOR pointer_ = nullptr;
};

}  // namespace quorvel::launcher

// Form1, the main window: the file list, the option controls, "Load and Run",
// the buttons that open the dialogs, and the end of the program.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "dialogs/win32/option_dialog.h"
#include "launcher/main_state.h"
#include "platform/form.h"

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
  void ShowDialog(std::unique_ptr<dialogs::OptionDialog>& dialog,
                  const dialogs::OptionDialogForm& form);
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
  std::unique_ptr<dialogs::OptionDialog> joystick_type_dialog_;  // Form3
  std::unique_ptr<dialogs::OptionDialog> resolution_dialog_;     // Form4
};

}  // namespace quorvel::launcher

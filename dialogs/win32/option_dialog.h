// The joystick type and resolution dialogs: frameless windows with a group of
// option buttons and an OK button. Loading selects the button whose value is
// stored; OK stores the selected value and hides the dialog.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/dialog_layouts.h"
#include "platform/form.h"

namespace quorvel::dialogs {

inline constexpr wchar_t kOptionDialogClass[] = L"Quorvel.OptionDialog";

class OptionDialog {
 public:
  OptionDialog(const OptionDialogForm& form, HINSTANCE instance);
  OptionDialog(const OptionDialog&) = delete;
  OptionDialog& operator=(const OptionDialog&) = delete;
  ~OptionDialog();

  // Loads the dialog when it is not loaded (which reads its setting), shows
  // it and brings it to the front. A hidden dialog comes back as it was left.
  void Show();
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool Load();
  void OnOk();
  void Select(int id);
  int IdOfRow(std::size_t row) const;

  const OptionDialogForm& form_;
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;  // nullptr while not loaded
  std::unique_ptr<form::Form> controls_;
  std::vector<int> screen_order_;
};

}  // namespace quorvel::dialogs

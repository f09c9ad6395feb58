// The joystick type and resolution dialogs: frameless windows with a group of
// option buttons and an OK button. Loading selects the button whose value is
// stored; OK stores the selected value and hides the dialog.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "dialogs/dialog_layouts.h"
#include "layout/win32/form_window.h"

namespace quorvel::dialogs {

inline constexpr wchar_t kOptionDialogClass[] = L"Quorvel.OptionDialog";

class OptionDialog : public layout::FormWindow {
 public:
  OptionDialog(const OptionDialogForm& form, HINSTANCE instance);

  // Loads the dialog when it is not loaded (which reads its setting), shows
  // it and brings it to the front. A hidden dialog comes back as it was left.
  void Show();

 private:
  LRESULT OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool Load();
  void OnCommand(int id, int code);
  void OnOk();
  void Select(int id);
  int IdOfRow(std::size_t row) const;

  const OptionDialogForm& form_;
  HINSTANCE instance_;
  std::vector<int> screen_order_;
};

}  // namespace quorvel::dialogs

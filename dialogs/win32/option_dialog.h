// The joystick type and resolution dialogs: frameless windows with a group of
// option buttons and an OK button. Loading selects the button whose value is
// stored; OK stores the selected value and hides the dialog.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "dialogs/dialog_layouts.h"
#include "layout/win32/form_window.h"
#include "settings/settings_file.h"

namespace quorvel::dialogs {

inline constexpr wchar_t kOptionDialogClass[] = L"Quorvel.OptionDialog";

// Told how storing the choice went, each time OK is pressed.
using StoredHandler = std::function<void(const settings::WriteResult&)>;

class OptionDialog : public layout::FormWindow {
 public:
  OptionDialog(const OptionDialogForm& form, HINSTANCE instance, StoredHandler stored);

  // Loads the dialog when it is not loaded (which reads its setting), shows
  // it and brings it to the front. A hidden dialog comes back as it was left.
  // When its setting cannot be read it is not loaded, and the failed read is
  // returned.
  std::optional<settings::ReadResult> Show();

 private:
  LRESULT OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  std::optional<settings::ReadResult> Load();
  void OnCommand(int id, int code);
  void OnOk();
  void Select(int id);
  int IdOfRow(std::size_t row) const { return row_ids_[row]; }

  const OptionDialogForm& form_;
  HINSTANCE instance_;
  StoredHandler stored_;
  std::vector<int> screen_order_;
  std::vector<int> row_ids_;  // each row's option button
};

}  // namespace quorvel::dialogs

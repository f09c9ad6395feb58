// The About dialog (Form2): the product's name, version and credits under a
// caption bar of the caption painter's, shown while the dialog is loaded.
#pragma once

#include <windows.h>

#include <memory>

#include "layout/win32/form_window.h"
#include "platform/win32/handles.h"

namespace quorvel::dialogs {

inline constexpr wchar_t kAboutDialogClass[] = L"Quorvel.Form2";

class AboutDialog : public layout::FormWindow {
 public:
  explicit AboutDialog(HINSTANCE instance) : instance_(instance) {}
  // The dialog goes before its hidden owner, which would otherwise take it
  // along while this object is half destroyed.
  ~AboutDialog() override { Destroy(); }

  // Loads the dialog when it is not loaded (which hooks the caption
  // painter), shows it and brings it to the front.
  void Show();

 private:
  LRESULT OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool Load();
  void OnCommand(int id);
  void OnClose();

  HINSTANCE instance_;
  // A hidden owner keeps the dialog out of the taskbar without tying it to
  // the main window and without a tool window's small caption.
  win::UniqueWindow owner_;
};

}  // namespace quorvel::dialogs

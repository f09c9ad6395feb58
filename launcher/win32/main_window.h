// Form1, the main window: the file list, the option controls, "Load and Run",
// the buttons that open the dialogs, and the end of the program.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/win32/about_dialog.h"
#include "dialogs/win32/option_dialog.h"
#include "launcher/main_state.h"
#include "launcher/win32/image_listing.h"
#include "layout/win32/form_window.h"

namespace quorvel::launcher {

inline constexpr wchar_t kMainWindowClass[] = L"Quorvel.Form1";

class MainWindow : public layout::FormWindow {
 public:
  // Opens the folder or image of the command line's argument (empty: none),
  // then creates, loads and shows the window. When it cannot be created,
  // tells the user why and returns false.
  bool Create(HINSTANCE instance, int show, std::u16string_view argument = {});

 private:
  LRESULT OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnCreate();
  bool Load();
  void ShowCentred(int show);
  void OnCommand(int id, int code);
  void OnEnter();
  void OnOptionClicked(int id);
  void OnClose();
  void LoadAndRun();
  void TellHowSaved(const settings::WriteResult& write, bool every_failure);
  void ShowDialog(std::unique_ptr<dialogs::OptionDialog>& dialog,
                  const dialogs::OptionDialogForm& form);
  void ShowAbout();
  void Paint(HDC hdc) const;
  void PaintBackdrop(HDC hdc, POINT origin, SIZE size) const;

  void ListFolder();
  void FillFileList();
  void TellIfNotListed();
  void ChooseImageToSelect(const std::string& settings_text);
  void SelectListedImage();
  std::u16string SelectedFile() const;
  MainState ReadState() const;
  void ApplyState(const MainState& state);
  void AddTooltip();

  std::unique_ptr<ImageListing> listing_;  // until File1 is filled
  std::vector<std::u16string> files_;      // as File1 lists them, in its order
  DWORD listing_error_ = 0;                // what cut the listing short, until told
  std::optional<LONG_PTR> own_pointer_;    // the class's, while the folder is read
  std::u16string image_to_select_;         // given on the command line
  std::u16string path_to_select_;          // that one's or the remembered one's full path
  bool tooltip_added_ = false;
  bool write_refusal_told_ = false;                              // once per run
  std::unique_ptr<dialogs::AboutDialog> about_dialog_;           // Form2
  std::unique_ptr<dialogs::OptionDialog> joystick_type_dialog_;  // Form3
  std::unique_ptr<dialogs::OptionDialog> resolution_dialog_;     // Form4
};

}  // namespace quorvel::launcher

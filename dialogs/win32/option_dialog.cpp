#include "dialogs/win32/option_dialog.h"

#include "platform/win32/dpi.h"
#include "platform/win32/text.h"
#include "platform/win32/window.h"
#include "resources/resource_ids.h"
#include "settings/win32/settings_store.h"

namespace quorvel::dialogs {
namespace {

// No caption, no border; a tool window, so no taskbar entry either.
constexpr DWORD kStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW;

// Where the system would put a new window: it picks that place only for
// windows with a frame, so ask it with a frame and take the frame away.
POINT DefaultPlace(HINSTANCE instance) {
  HWND probe = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_OVERLAPPED, CW_USEDEFAULT,
                                 CW_USEDEFAULT, 100, 100, nullptr, nullptr, instance, nullptr);
  RECT place{0, 0, 0, 0};
  if (probe) {
    ::GetWindowRect(probe, &place);
    ::DestroyWindow(probe);
  }
  return {place.left, place.top};
}

}  // namespace

OptionDialog::OptionDialog(const OptionDialogForm& form, HINSTANCE instance, StoredHandler stored)
    : form_(form),
      instance_(instance),
      stored_(std::move(stored)),
      screen_order_(ScreenOrder(form)) {
  for (const OptionRow& row : form.rows)
    row_ids_.push_back(layout::Find(form.controls, row.button)->id);
}

std::optional<settings::ReadResult> OptionDialog::Show() {
  if (!hwnd()) {
    if (std::optional<settings::ReadResult> failed = Load()) return failed;
  }
  if (hwnd()) win::ShowInFront(hwnd());
  return std::nullopt;
}

// The load step. Its setting is read first: a dialog that cannot show it is not made.
std::optional<settings::ReadResult> OptionDialog::Load() {
  settings::ReadResult stored =
      settings::ReadIniValue(form_.setting.section, form_.setting.key, win::BusyWait);
  if (!stored.ok) return stored;
  const POINT place = DefaultPlace(instance_);
  const win::WindowClass window_class{
      kOptionDialogClass, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHTTEXT + 1), 0, IDC_POINTER};
  if (!CreateOf(window_class, instance_, win::OwnText(form_.caption).c_str(), kStyle, kExStyle,
                {place.x, place.y}))
    return std::nullopt;
  const int dpi = win::WindowDpi(hwnd());
  ::SetWindowPos(hwnd(), nullptr, 0, 0, layout::TwipsToPixels(form_.client_width_twips, dpi),
                 layout::TwipsToPixels(form_.client_height_twips, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  layout::ControlOptions options;
  options.next_in_group = [this](int id, int step) {
    return layout::NextInOrder(screen_order_, id, step);
  };
  controls_ = std::make_unique<layout::WindowControls>(hwnd(), form_.controls, std::move(options));

  // Select the row whose value equals the stored one exactly.
  const std::optional<std::size_t> row = MatchingRow(form_.rows, stored.value);
  Select(row ? IdOfRow(*row) : 0);
  controls_->SetFocusControl(controls_->Item(row ? IdOfRow(*row) : screen_order_.front()));
  return std::nullopt;
}

LRESULT OptionDialog::OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_CLOSE:
      if (!win::InBusyWait()) break;
      ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);  // once OK has stored the choice, or failed to
      return 0;
  }
  // WM_CLOSE (Alt+F4) goes on to DefWindowProc, which destroys the window:
  // the dialog unloads without storing anything.
  return Default(message, wparam, lparam);
}

void OptionDialog::OnCommand(int id, int code) {
  if (id == kIdOk) {
    OnOk();
  } else if (id == IDCANCEL) {
    ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);  // Escape: close without storing
  } else if (code == BN_CLICKED && controls_ && controls_->ControlOf(id)) {
    Select(id);
  }
}

// Stores the checked row's value, if any. A choice that could not be stored
// stays on screen, for OK to store later.
void OptionDialog::OnOk() {
  if (win::InBusyWait()) return;  // pressed again while the first OK waits
  for (std::size_t row = 0; row < form_.rows.size(); ++row) {
    if (!controls_->IsChecked(IdOfRow(row))) continue;
    const settings::WriteResult write = settings::WriteIniValue(
        form_.setting.section, form_.setting.key, form_.rows[row].value, win::BusyWait);
    if (stored_) stored_(write);
    if (write.error != 0) return;
    break;
  }
  ::ShowWindow(hwnd(), SW_HIDE);
}

// Checks one button (or none for 0) and clears the rest. Only the selected
// button, or the first when none is, is a tab stop, so Tab moves between the
// group and OK.
void OptionDialog::Select(int id) {
  const int tab_stop = id != 0 ? id : screen_order_.front();
  for (const int option : screen_order_) {
    controls_->SetChecked(option, option == id);
    HWND button = controls_->Item(option);
    const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
    ::SetWindowLongPtrW(button, GWL_STYLE,
                        option == tab_stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
  }
}

}  // namespace quorvel::dialogs

#include "dialogs/win32/option_dialog.h"

#include "platform/dpi.h"
#include "platform/text.h"
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

OptionDialog::OptionDialog(const OptionDialogForm& form, HINSTANCE instance)
    : form_(form), instance_(instance), screen_order_(ScreenOrder(form)) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  if (!::GetClassInfoExW(instance, kOptionDialogClass, &window_class)) {
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = instance;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHTTEXT + 1);
    window_class.lpszClassName = kOptionDialogClass;
    ::RegisterClassExW(&window_class);
  }
}

OptionDialog::~OptionDialog() {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

void OptionDialog::Show() {
  if (!hwnd_ && !Load()) return;
  ::ShowWindow(hwnd_, SW_SHOW);
  ::SetForegroundWindow(hwnd_);
  ::BringWindowToTop(hwnd_);
}

bool OptionDialog::Load() {
  const POINT place = DefaultPlace(instance_);
  ::CreateWindowExW(kExStyle, kOptionDialogClass, win::Widen(form_.caption).c_str(), kStyle,
                    place.x, place.y, 0, 0, nullptr, nullptr, instance_, this);
  if (!hwnd_) return false;
  const int dpi = win::WindowDpi(hwnd_);
  ::SetWindowPos(hwnd_, nullptr, 0, 0, layout::TwipsToPixels(form_.client_width_twips, dpi),
                 layout::TwipsToPixels(form_.client_height_twips, dpi),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  form::FormOptions options;
  options.pointer = form::LoadPointer(instance_);
  options.next_in_group = [this](int id, int step) {
    return layout::NextInOrder(screen_order_, id, step);
  };
  controls_ = std::make_unique<form::Form>(hwnd_, form_.controls, std::move(options));

  // The load step: select the row whose value equals the stored one exactly.
  const std::optional<std::size_t> row =
      MatchingRow(form_.rows, settings::ReadIniValue(form_.section, form_.key));
  Select(row ? IdOfRow(*row) : 0);
  controls_->SetFocusControl(controls_->Item(row ? IdOfRow(*row) : screen_order_.front()));
  return true;
}

LRESULT CALLBACK OptionDialog::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* dialog = reinterpret_cast<OptionDialog*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    dialog = static_cast<OptionDialog*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    dialog->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(dialog));
  }
  if (!dialog) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // Unloaded: the next showing loads the dialog afresh.
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    dialog->hwnd_ = nullptr;
    dialog->controls_.reset();
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return dialog->OnMessage(message, wparam, lparam);
}

LRESULT OptionDialog::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (controls_)
    if (const std::optional<LRESULT> handled = controls_->HandleMessage(message, wparam, lparam))
      return *handled;
  switch (message) {
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      if (id == kIdOk) {
        OnOk();
      } else if (id == IDCANCEL) {
        ::PostMessageW(hwnd_, WM_CLOSE, 0, 0);  // Escape: close without storing
      } else if (HIWORD(wparam) == BN_CLICKED && controls_ && controls_->ControlOf(id)) {
        Select(id);
      }
      return 0;
    }
  }
  // WM_CLOSE (Alt+F4) goes on to DefWindowProc, which destroys the window:
  // the dialog unloads without storing anything.
  return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

void OptionDialog::OnOk() {
  for (std::size_t row = 0; row < form_.rows.size(); ++row)
    if (controls_->IsChecked(IdOfRow(row)))
      settings::WriteIniValue(form_.section, form_.key, form_.rows[row].value);
  ::ShowWindow(hwnd_, SW_HIDE);
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

int OptionDialog::IdOfRow(std::size_t row) const {
  return layout::Find(form_.controls, form_.rows[row].button)->id;
}

}  // namespace quorvel::dialogs

#include "launcher/win32/main_window.h"

#include <commctrl.h>

#include <utility>

#include "caption/win32/caption_hook.h"
#include "launcher/backdrop.h"
#include "launcher/main_layout.h"
#include "launcher/opening.h"
#include "launcher/win32/image_listing.h"
#include "launcher/win32/launch.h"
#include "launcher/win32/settings_messages.h"
#include "layout/win32/colour.h"
#include "platform/paths.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/library.h"
#include "platform/win32/message.h"
#include "platform/win32/paths.h"
#include "platform/win32/text.h"
#include "platform/win32/window.h"
#include "resources/resource_ids.h"
#include "settings/ini_text.h"
#include "settings/win32/settings_store.h"

namespace quorvel::launcher {
namespace {

// A fixed single frame with the window menu and Close only. Once it is on
// the screen its painting leaves its controls out (WS_CLIPCHILDREN: nothing
// flickers); until then it goes without, so that at the first paint each
// control is painted once rather than cleared first and painted after.
constexpr DWORD kMainStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kMainExStyle = 0;

// Posted by the listing thread once a folder is read that was not by the time
// the window showed.
constexpr UINT kListedMessage = WM_APP + 1;

// The window's frame for its client area at a DPI, centred in the monitor's
// work area.
win::WindowPlace CentredPlace(HMONITOR monitor, int dpi) {
  const RECT frame = win::WindowRectForClient(layout::TwipsToPixels(kMainClientWidthTwips, dpi),
                                              layout::TwipsToPixels(kMainClientHeightTwips, dpi),
                                              kMainStyle, kMainExStyle, dpi);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  ::GetMonitorInfoW(monitor, &info);
  const RECT& work = info.rcWork;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  return {work.left + (work.right - work.left - width) / 2,
          work.top + (work.bottom - work.top - height) / 2, width, height};
}

// The common controls, for the tooltip alone: loaded when it is first
// needed rather than with the program, whose start they would slow.
bool CommonControlsLoaded() {
  static const bool loaded = [] {
    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = win::SystemFunction<InitFn>(L"comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    return init && init(&classes);
  }();
  return loaded;
}

// Makes the folder of the command line's argument current (before the folder
// is listed), or tells the user why it cannot be opened. The image to select,
// when an image was given.
std::u16string OpenArgument(std::u16string_view argument) {
  DWORD missing = 0;
  const PathSystem system{
      [](std::u16string_view path) { return win::LongPath(win::FullPath(path)); },
      [&](std::u16string_view path) {
        const DWORD attributes = ::GetFileAttributesW(win::WideZ(std::u16string(path)));
        if (attributes != INVALID_FILE_ATTRIBUTES)
          return attributes & FILE_ATTRIBUTE_DIRECTORY ? PathKind::kFolder : PathKind::kFile;
        missing = ::GetLastError();
        return PathKind::kMissing;
      }};
  const Opening opening = OpeningOf(argument, system);
  const std::wstring cannot_open =
      L"Quorvel cannot open\n" + std::wstring(win::AsWide(opening.path)) + L"\n\n";
  switch (opening.kind) {
    case Opening::Kind::kCurrentFolder:
      return {};
    case Opening::Kind::kMissing:
      win::ShowMessage(cannot_open + win::SystemErrorText(missing));
      return {};
    case Opening::Kind::kNotAnImage:
      win::ShowMessage(cannot_open + L"It is neither a folder nor a ROM image (*.SMS, *.GG).");
      return {};
    case Opening::Kind::kFolder:
    case Opening::Kind::kImage:
      break;
  }
  if (!::SetCurrentDirectoryW(win::WideZ(opening.folder))) {
    win::ShowMessage(cannot_open + win::SystemErrorText(::GetLastError()));
    return {};
  }
  return opening.image;
}

// The pointer over the window (if it is there) as the window or control
// under it gives it now, without waiting for the pointer to move.
void ShowPointerOf(HWND window) {
  POINT at{};
  ::GetCursorPos(&at);
  HWND under = ::WindowFromPoint(at);
  if (!under || ::GetAncestor(under, GA_ROOT) != window) return;
  const LRESULT hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(hit, WM_MOUSEMOVE));
}

}  // namespace

bool MainWindow::Create(HINSTANCE instance, int show, std::u16string_view argument) {
  image_to_select_ = OpenArgument(argument);
  const win::WindowClass window_class{kMainWindowClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                      IDI_QUORVEL, IDC_POINTER};
  listing_ = std::make_unique<ImageListing>();  // read while the window is made
  const std::wstring caption = win::OwnText(kMainCaption);
  // Made where it shows, for the screen's DPI: nothing moves or is drawn again.
  const win::WindowPlace place =
      CentredPlace(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), win::WindowDpi(nullptr));
  if (!CreateOf(window_class, instance, caption.c_str(), kMainStyle, kMainExStyle, place)) {
    const DWORD error = ::GetLastError();  // before another call replaces it
    std::wstring text = L"The main window could not be created.";
    if (error != 0) text += L"\n\n" + win::SystemErrorText(error);
    win::ShowMessage(text);
    return false;
  }
  if (!Load()) return false;  // the user has been told why
  ListFolder();
  ShowCentred(show);
  TellIfNotListed();
  return true;
}

LRESULT MainWindow::OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      OnCreate();
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the backdrop covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      Paint(::BeginPaint(hwnd(), &paint));
      ::EndPaint(hwnd(), &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SETCURSOR:
      // While the folder is read, over the frame too: the client area and
      // the controls show the class's pointer, which is this one meanwhile.
      if (!listing_ || static_cast<short>(LOWORD(lparam)) == HTERROR) break;
      ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
      return TRUE;
    case kListedMessage:
      if (listing_) FillFileList(), TellIfNotListed();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return Default(message, wparam, lparam);
}

void MainWindow::OnCreate() {
  layout::ControlOptions options;
  options.paint_background = [this](HDC hdc, POINT origin, SIZE size) {
    PaintBackdrop(hdc, origin, size);
  };
  options.next_in_group = NextInGroup;
  options.pictures = {{"Image1", IDB_LOGO}};
  options.transparent_colour = 0xFF00FF;
  // The tooltip matters only under the pointer, so it waits for it to come
  // over its button.
  options.pointer_over = [this](HWND under) {
    if (controls_ && under == controls_->Item(kIdCommand3)) AddTooltip();
  };
  controls_ = std::make_unique<layout::WindowControls>(hwnd(), kMainControls, std::move(options));
}

// The window's load handling: before the window is first shown. False when
// the settings cannot be read, which ends the program.
bool MainWindow::Load() {
  caption::HookCaption(hwnd());
  const settings::Places& places = settings::SettingsPlaces();
  if (places.program.empty()) win::ShowMessage(NoOwnFolderText(places));
  // One read of the file for every value the window restores.
  const settings::ReadResult text = settings::ReadIniText(win::BusyWait);
  if (!text.ok) {
    win::ShowMessage(CannotReadText(L"Errr in INI File", text));
    return false;
  }
  ApplyState(RestoredState([&](std::string_view section, std::string_view key) {
    return settings::ValueIn(text.value, section, key);
  }));
  ChooseImageToSelect(text.value);
  controls_->SetFocusControl(controls_->Item(kIdFile1));  // given when the window is activated
  return true;
}

void MainWindow::ShowCentred(int show) {
  // Placed again only where the monitor's DPI is not the screen's.
  const win::WindowPlace place =
      CentredPlace(::MonitorFromWindow(hwnd(), MONITOR_DEFAULTTOPRIMARY), win::WindowDpi(hwnd()));
  RECT now{};
  ::GetWindowRect(hwnd(), &now);
  if (now.left != place.x || now.top != place.y || now.right - now.left != place.width ||
      now.bottom - now.top != place.height)
    ::SetWindowPos(hwnd(), nullptr, place.x, place.y, place.width, place.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  ::ShowWindow(hwnd(), show);
  controls_->DropEmptyFramePaints();
  ::UpdateWindow(hwnd());
  ::SetWindowLongPtrW(hwnd(), GWL_STYLE, ::GetWindowLongPtrW(hwnd(), GWL_STYLE) | WS_CLIPCHILDREN);
}

void MainWindow::OnCommand(int id, int code) {
  const bool clicked = code == BN_CLICKED;
  switch (id) {
    case kIdCommand1:
      if (clicked) LoadAndRun();
      return;
    case kIdFile1:
      if (code == LBN_DBLCLK) LoadAndRun();
      return;
    case IDOK:
      OnEnter();
      return;
    case kIdCommand2:
      if (clicked) ShowAbout();
      return;
    case kIdCommand3:
      if (clicked) ShowDialog(joystick_type_dialog_, dialogs::kJoystickTypeForm);
      return;
    case kIdCommand4:
      if (clicked) ShowDialog(resolution_dialog_, dialogs::kResolutionForm);
      return;
  }
  if (clicked) OnOptionClicked(id);
}

// Enter, the dialog manager's default command: in the file list it launches;
// on a push button it presses that button.
void MainWindow::OnEnter() {
  HWND focus = ::GetFocus();
  if (focus == controls_->Item(kIdFile1)) {
    LoadAndRun();
  } else if (const auto* spec = controls_->ControlOf(::GetDlgCtrlID(focus));
             spec && spec->kind == layout::Kind::kButton && ::IsWindowEnabled(focus)) {
    OnCommand(spec->id, BN_CLICKED);
  }
}

void MainWindow::OnClose() {
  // Asked while a launch waits for the settings file: closed once it is done.
  if (win::InBusyWait()) {
    ::PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    return;
  }
  // Nothing is written on close: options changed since the last launch are
  // dropped.
  caption::UnhookCaption(hwnd());
  ::DestroyWindow(hwnd());
}

void MainWindow::LoadAndRun() {
  using Stage = LaunchOutcome::Stage;
  if (win::InBusyWait()) return;  // asked again while the first one waits
  const LaunchOutcome outcome = Launch(ReadState().options, SelectedFile(), win::BusyWait);
  switch (outcome.stage) {
    case Stage::kNoFileSelected:
      win::ShowMessage(L"Please Select One File to Load!");
      return;
    case Stage::kSettingsUnreadable:
      win::ShowMessage(
          CannotReadText(L"Korvax was not started: its settings could not be read.", outcome.read));
      return;
    case Stage::kValueNotText:
      win::ShowMessage(L"Korvax was not started: the joystick type or the resolution stored in\n" +
                       win::Widen(outcome.read.path).value_or(L"?") +
                       L"\nis not text that can be passed on. Choose them again.");
      return;
    case Stage::kStarted:
      break;
  }
  TellHowSaved(outcome.write, false);
  if (outcome.start_error != 0) {
    win::ShowMessage(L"Korvax could not be started (\"kx\" was not found or would not run).\n\n" +
                     win::SystemErrorText(outcome.start_error));
  }
}

// A file held by another program is told each time, and so is every choice
// of a dialog that cannot be stored (the dialog stays open); that no place
// takes the launch's settings, once per run.
void MainWindow::TellHowSaved(const settings::WriteResult& write, bool every_failure) {
  if (write.Moved()) {
    win::ShowMessage(MovedText(write, settings::SettingsPlaces()));
  } else if (write.error != 0 && (every_failure || write.program_error == 0 ||
                                  !std::exchange(write_refusal_told_, true))) {
    win::ShowMessage(CannotSaveText(write, settings::SettingsPlaces()));
  }
}

void MainWindow::OnOptionClicked(int id) {
  MainState state = ReadState();
  if (id == ControlIdOf(Flag::kKeyboard)) {
    SelectController(state, Flag::kKeyboard);
  } else if (id == ControlIdOf(Flag::kJoystick)) {
    SelectController(state, Flag::kJoystick);
  } else {
    bool rate_button = false;
    for (std::size_t rate = 0; rate < kRateOptions.size(); ++rate) {
      if (id != RateControlId(rate)) continue;
      SelectRate(state, rate);
      rate_button = true;
    }
    if (!rate_button) return;  // a check box: it changes itself
  }
  ApplyState(state);
}

// Each dialog is made on its first showing and kept for the whole run.
void MainWindow::ShowDialog(std::unique_ptr<dialogs::OptionDialog>& dialog,
                            const dialogs::OptionDialogForm& form) {
  if (win::InBusyWait()) return;
  if (!dialog) {
    dialog = std::make_unique<dialogs::OptionDialog>(
        form, instance(),
        [this](const settings::WriteResult& write) { TellHowSaved(write, true); });
  }
  const std::optional<settings::ReadResult> failed = dialog->Show();
  if (failed)
    win::ShowMessage(
        CannotReadText(L"The dialog cannot open: its setting could not be read.", *failed));
}

void MainWindow::ShowAbout() {
  if (!about_dialog_) about_dialog_ = std::make_unique<dialogs::AboutDialog>(instance());
  about_dialog_->Show();
}

void MainWindow::Paint(HDC hdc) const {
  RECT client;
  ::GetClientRect(hwnd(), &client);
  PaintBackdrop(hdc, {0, 0}, {client.right, client.bottom});
}

void MainWindow::PaintBackdrop(HDC hdc, POINT origin, SIZE size) const {
  ::SetDCBrushColor(hdc, ::GetSysColor(COLOR_BTNFACE));
  const RECT all{0, 0, size.cx, size.cy};
  ::FillRect(hdc, &all, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  for (const Fill& fill : BackdropFills(controls_ ? controls_->dpi() : 96)) {
    const RECT box{fill.rect.left - origin.x, fill.rect.top - origin.y,
                   fill.rect.right() - origin.x, fill.rect.bottom() - origin.y};
    ::SetDCBrushColor(hdc, layout::FromRgb(fill.rgb));
    ::FillRect(hdc, &box, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  }
}

// Before the window is first shown: File1 filled if the folder is read by
// now, else once it is, the window up and answering meanwhile.
void MainWindow::ListFolder() {
  if (listing_->DoneSoon() || !listing_->PostWhenDone(hwnd(), kListedMessage))
    return FillFileList();
  // The system's "working in background" pointer over the window, which its
  // controls show too (they take the class's).
  own_pointer_ = ::SetClassLongPtrW(
      hwnd(), GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(::LoadCursorW(nullptr, IDC_APPSTARTING)));
}

// Once, with what the folder's listing read.
void MainWindow::FillFileList() {
  HWND list = controls_->Item(kIdFile1);
  ImageListing::Result listed = listing_->Take();
  listing_.reset();
  files_ = std::move(listed.files);
  listing_error_ = listed.error;
  ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  ::SendMessageW(list, LB_INITSTORAGE, files_.size(), files_.size() * 32);
  for (const std::u16string& name : files_)
    ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::WideZ(name)));
  ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  SelectListedImage();
  if (own_pointer_) {
    ::SetClassLongPtrW(hwnd(), GCLP_HCURSOR, *std::exchange(own_pointer_, std::nullopt));
    ShowPointerOf(hwnd());
  }
  if (::IsWindowVisible(hwnd()))
    ::RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
}

// What stopped the listing before the folder's end, once the window is up:
// what was read before stays listed.
void MainWindow::TellIfNotListed() {
  if (const DWORD error = std::exchange(listing_error_, 0); error != 0)
    win::ShowMessage(L"Quorvel cannot list every file in\n" +
                     std::wstring(win::AsWide(CurrentDirectory())) + L"\n\n" +
                     win::SystemErrorText(error));
}

// The image to select once the folder is listed: the one given on the command
// line, else the one launched last.
void MainWindow::ChooseImageToSelect(const std::string& settings_text) {
  if (!image_to_select_.empty()) {
    path_to_select_ = paths::Join<char16_t>(CurrentDirectory(), image_to_select_);
  } else if (const std::optional<std::string> stored =
                 ini::FindValue(settings_text, kRememberedSection, kRememberedKey)) {
    path_to_select_ = ImagePathOfStored(*stored).value_or(u"");
  }
}

// When it is listed: selected and scrolled into view, ready for Enter or
// "Load and Run". (Nothing can be selected in File1 before it is filled.)
void MainWindow::SelectListedImage() {
  if (path_to_select_.empty()) return;
  const std::optional<std::size_t> index =
      IndexOfImage(files_, CurrentDirectory(), path_to_select_, win::SameName);
  if (index) ::SendMessageW(controls_->Item(kIdFile1), LB_SETCURSEL, *index, 0);
}

// The name as listed, not as the list box shows it: File1 does not sort, so
// its index is the index into files_.
std::u16string MainWindow::SelectedFile() const {
  const LRESULT index = ::SendMessageW(controls_->Item(kIdFile1), LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= files_.size()) return {};
  return files_[static_cast<std::size_t>(index)];
}

MainState MainWindow::ReadState() const {
  MainState state;
  for (const FlagOption& option : kFlagOptions)
    state.options[option.flag] = controls_->IsChecked(ControlIdOf(option.flag));
  for (std::size_t rate = 0; rate < kRateOptions.size(); ++rate)
    if (controls_->IsChecked(RateControlId(rate))) state.options.rate = rate;
  state.joystick_button_enabled = ::IsWindowEnabled(controls_->Item(kIdCommand3)) != FALSE;
  return state;
}

void MainWindow::ApplyState(const MainState& state) {
  for (const FlagOption& option : kFlagOptions)
    controls_->SetChecked(ControlIdOf(option.flag), state.options[option.flag]);
  for (std::size_t rate = 0; rate < kRateOptions.size(); ++rate)
    controls_->SetChecked(RateControlId(rate), state.options.rate == rate);
  ::EnableWindow(controls_->Item(kIdCommand3), state.joystick_button_enabled);
}

void MainWindow::AddTooltip() {
  if (tooltip_added_) return;
  tooltip_added_ = true;
  if (!CommonControlsLoaded()) return;
  // The tooltip is owned by the window and goes away with it.
  HWND tooltip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, nullptr, nullptr);
  static std::wstring tip = win::OwnText(kJoystickButtonTip);
  TOOLINFOW tool{};
  // The size that the common controls of every Windows version accept.
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(controls_->Item(kIdCommand3));
  tool.lpszText = tip.data();
  ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace quorvel::launcher

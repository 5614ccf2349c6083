#include "main_window/form1.h"

#include <limits>
#include <string>
#include <string_view>

#include <commctrl.h>

#include "main_window/icon_id.h"
#include "paint_trace/line_marks.h"
#include "paint_trace/line_records.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_lines.h"

namespace {

constexpr char Form1ClassName[] = "Moravane.Form1";
constexpr int CaptionAir = 2;  // pixels at 96 DPI each caption keeps clear on both sides

TwipsScale ScaleOf(HWND hwnd) noexcept {
  const HDC dc = GetDC(hwnd);
  const TwipsScale scale{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
  ReleaseDC(hwnd, dc);
  return scale;
}

struct WindowKind {
  const char* ClassName;
  DWORD Style;
  DWORD ExStyle;
};

WindowKind WindowKindOf(ControlKind kind) noexcept {
  switch (kind) {
    case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::LogBox:
      return {"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::GroupFrame:
      // Tab and Shift+Tab step into the frame and out again.
      return {"BUTTON", BS_GROUPBOX, WS_EX_CONTROLPARENT};
    case ControlKind::PushButton: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::TextBox: return {"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
    case ControlKind::OptionButton: return {"BUTTON", BS_AUTORADIOBUTTON | WS_TABSTOP, 0};
  }
  return {"STATIC", 0, 0};
}

HWND CreateControl(HWND parent, int id, ControlKind kind, const char* caption, TwipsRect twips, bool startsGroup,
                   const TwipsScale& scale) noexcept {
  const WindowKind windowKind = WindowKindOf(kind);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | windowKind.Style | (startsGroup ? WS_GROUP : 0);
  const HWND control =
      CreateWindowExA(windowKind.ExStyle, windowKind.ClassName, caption, style, scale.X(twips.Left), scale.Y(twips.Top),
                      scale.X(twips.Width), scale.Y(twips.Height), parent, reinterpret_cast<HMENU>(id),
                      reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  if (control == nullptr) return nullptr;
  // An edit box keeps its text to itself; the window's own name lets searches by caption find it too.
  if (std::string_view(windowKind.ClassName) == "EDIT") {
    DefWindowProcA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
  }
  return control;
}

// A group box keeps its children's notifications to itself; the form is where they are handled.
LRESULT CALLBACK Frame1Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_COMMAND) return SendMessageA(GetParent(hwnd), message, wParam, lParam);
  const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  return CallWindowProcA(previous, hwnd, message, wParam, lParam);
}

void ForwardNotificationsToParent(HWND frame) noexcept {
  SetWindowLongPtrA(frame, GWLP_USERDATA, GetWindowLongPtrA(frame, GWLP_WNDPROC));
  SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Frame1Proc));
}

// The classic dialog font, "MS Shell Dlg": Microsoft Sans Serif on Windows, Tahoma under Wine.
HFONT CreateDialogFont(int pixels) noexcept {
  return CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Shell Dlg");
}

// The system's fixed-pitch face: Courier New on Windows; where it is missing, the mapper's nearest fixed-pitch font.
HFONT CreateFixedPitchFont(int pixels) noexcept {
  return CreateFontA(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
}

// In the control's own font.
int TextWidth(HWND control, std::string_view text) noexcept {
  const HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return size.cx;
}

// The width a control leaves for its caption, in its own font: a push button less its 3-D
// edges, a check or option box less the box and its gap, a text box less its margins, a frame less the
// corners its caption keeps clear of.
int CaptionRoom(HWND control, ControlKind kind) noexcept {
  RECT client{};
  GetClientRect(control, &client);
  const int zero = TextWidth(control, "0");
  switch (kind) {
    case ControlKind::PushButton: return client.right - 2 * GetSystemMetrics(SM_CXEDGE);
    case ControlKind::CheckBox:
    case ControlKind::OptionButton: return client.right - GetSystemMetrics(SM_CXMENUCHECK) - zero / 2;
    case ControlKind::TextBox: {
      const auto margins = static_cast<DWORD>(SendMessageA(control, EM_GETMARGINS, 0, 0));
      return client.right - LOWORD(margins) - HIWORD(margins);
    }
    case ControlKind::GroupFrame: return client.right - 2 * zero;
    case ControlKind::LogBox: break;
  }
  return client.right;
}

// True when the caption fits its control in the control's font with air pixels to spare on each side.
bool CaptionFits(HWND control, ControlKind kind, const char* caption, int air) noexcept {
  return TextWidth(control, caption) + 2 * air <= CaptionRoom(control, kind);
}

// No WS_CLIPCHILDREN: a group box draws only its frame and relies on the form painting behind it.
constexpr DWORD Form1Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

void RegisterForm1Class(HINSTANCE instance, WNDPROC windowProc) noexcept {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  // The program carries its own icon; a test program that hosts the form does not.
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(MORAVANE_ICON));
  if (windowClass.hIcon == nullptr) windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = Form1ClassName;
  RegisterClassExA(&windowClass);
}

}  // namespace

UniqueFont& UniqueFont::operator=(UniqueFont&& other) noexcept {
  if (this != &other) {
    if (font_ != nullptr) DeleteObject(font_);
    font_ = other.font_;
    other.font_ = nullptr;
  }
  return *this;
}

UniqueFont::~UniqueFont() {
  if (font_ != nullptr) DeleteObject(font_);
}

Form1::Form1(HINSTANCE instance) {
  WNDCLASSEXA existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExA(instance, Form1ClassName, &existing)) RegisterForm1Class(instance, &WindowProc);
  CreateWindowExA(0, Form1ClassName, Form1Caption, Form1Style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, nullptr, nullptr, instance, this);
}

Form1::~Form1() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void Form1::Show(int showCommand) const { ShowWindow(hwnd_, showCommand); }

HWND Form1::Control(ControlId id) const noexcept {
  for (const ControlSpec& spec : Form1Controls) {
    if (spec.Id == id && spec.Parent == ParentWindow::Frame1) return GetDlgItem(GetDlgItem(hwnd_, Frame1Id), id);
  }
  return GetDlgItem(hwnd_, id);
}

HWND Form1::FlagBoxControl(int index) const noexcept { return GetDlgItem(hwnd_, Check1Id + index); }

// Mouse messages reach the tooltips, and keys the one F1 shows. A multi-line edit box given the dialog treatment
// posts WM_CLOSE to its parent on Esc: nothing here is cancelled.
bool Form1::PreTranslateMessage(MSG& message) const noexcept {
  if (hwnd_ == nullptr) return false;
  if (!IsChild(hwnd_, message.hwnd)) return IsDialogMessageA(hwnd_, &message);
  tooltips_.Relay(message);
  lineTips_.Relay(message);
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) return true;
  if (message.message == WM_KEYDOWN && message.wParam == VK_F1) {
    ShowHelp(GetFocus());
    return true;
  }
  return IsDialogMessageA(hwnd_, &message);
}

LRESULT CALLBACK Form1::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  if (message == WM_NCCREATE) {
    auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    form->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
  }
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (form == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
  const LRESULT result = form->HandleMessage(message, wParam, lParam);
  // Let go only after the default processing, which frees the window's own data through its handle.
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    form->hwnd_ = nullptr;
  }
  return result;
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return OnCreate() ? 0 : -1;
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER: OnTimer(wParam); return 0;
    case WM_ACTIVATE: OnActivate(LOWORD(wParam) != WA_INACTIVE); break;
    case WM_SETFOCUS: OnSetFocus(); return 0;
    case WM_NEXTDLGCTL: OnNextDlgCtl(wParam, lParam); return 0;
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_DESTROY: OnDestroy(); return 0;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

// A window without all its controls is no use: it is not created at all.
bool Form1::OnCreate() {
  if (!CreateControls()) return false;
  Form_Load();
  return true;
}

void Form1::OnTimer(WPARAM timerId) {
  if (timerId == Timer1Id) Timer1_Timer();
  if (timerId == LineTips::TimerId) lineTips_.OnTimer();
}

void Form1::OnDestroy() {
  Form_Unload();
  PostQuitMessage(0);
}

bool Form1::CreateControls() {
  const TwipsScale scale = ScaleOf(hwnd_);
  RECT frame{0, 0, scale.X(Form1ClientWidth), scale.Y(Form1ClientHeight)};
  AdjustWindowRectEx(&frame, Form1Style, FALSE, 0);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  // Created in tab order: the dialog manager walks the controls in the order they were made.
  for (const FlagBox& box : Check1Boxes) {
    const HWND control = CreateControl(hwnd_, Check1Id + box.Index, ControlKind::CheckBox, box.Caption,
                                       {FlagBoxLeft, box.Top, box.Width, FlagBoxHeight}, true, scale);
    if (control == nullptr) return false;
    if (box.CheckedAtStart) SendMessageA(control, BM_SETCHECK, BST_CHECKED, 0);
  }
  for (const ControlSpec& spec : Form1Controls) {
    const HWND parent = spec.Parent == ParentWindow::Frame1 ? Control(Frame1Id) : hwnd_;
    // The two options are the only group of more than one control: arrow keys move between them.
    const bool startsGroup = spec.Id != Option2Id;
    if (!CreateControl(parent, spec.Id, spec.Kind, spec.Caption, spec.Bounds, startsGroup, scale)) {
      return false;
    }
  }
  FitCaptionFont(scale);
  FitLogFont(scale);
  AddTooltips(scale);
  ForwardNotificationsToParent(Control(Frame1Id));
  SendMessageA(Control(Option1Id), BM_SETCHECK, BST_CHECKED, 0);
  // The platform's maximum instead of the default 30,000 characters, so the log is never cut.
  SendMessageA(Control(Text1Id), EM_SETLIMITTEXT, 0, 0);
  return true;
}

// The layout in twips was made for the classic dialog font at 8 points; where a caption would not fit with
// its air at this DPI in the fonts this system has, the font steps down a pixel at a time, to 6 points at most.
void Form1::FitCaptionFont(const TwipsScale& scale) {
  const int air = MulDiv(CaptionAir, scale.DpiX, 96);
  const int largest = MulDiv(8, scale.DpiY, 72), smallest = MulDiv(6, scale.DpiY, 72);
  for (int pixels = largest; pixels >= smallest; --pixels) {
    const HFONT candidate = CreateDialogFont(pixels);
    ForEachControl([&](HWND control, ControlKind, const char*) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(candidate), FALSE);
    });
    font_ = UniqueFont(candidate);
    bool fits = true;
    ForEachControl([&](HWND control, ControlKind kind, const char* caption) {
      if (kind != ControlKind::LogBox) fits = fits && CaptionFits(control, kind, caption, air);
    });
    if (fits) return;
  }
}

// The log's columns line up in a fixed-pitch font: the largest from 8 points, as the captions, down to 6 in which the
// widest line the counter can give fits without wrapping beside the margin's marks. A new font resets the margins.
void Form1::FitLogFont(const TwipsScale& scale) {
  const HWND log = Control(Text1Id);
  const std::string widest = Module1::FormatReturnLine(std::numeric_limits<std::int32_t>::max(), "WM_ERASEBKGND", 0);
  const int largest = MulDiv(8, scale.DpiY, 72), smallest = MulDiv(6, scale.DpiY, 72);
  for (int pixels = largest; pixels >= smallest; --pixels) {
    const HFONT candidate = CreateFixedPitchFont(pixels);
    SendMessageA(log, WM_SETFONT, reinterpret_cast<WPARAM>(candidate), FALSE);
    SendMessageA(log, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(Module1::MarkMarginWidth(scale.DpiX), 0));
    logFont_ = UniqueFont(candidate);
    RECT text{};
    SendMessageA(log, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    if (TextWidth(log, widest) <= text.right - text.left) return;
  }
}

void Form1::ForEachControl(const std::function<void(HWND, ControlKind, const char*)>& visit) const {
  for (const FlagBox& box : Check1Boxes) visit(FlagBoxControl(box.Index), ControlKind::CheckBox, box.Caption);
  for (const ControlSpec& spec : Form1Controls) visit(Control(spec.Id), spec.Kind, spec.Caption);
}

// Every control but the targets, their frame and the log explains itself; the request buttons show their call.
void Form1::AddTooltips(const TwipsScale& scale) {
  if (!tooltips_.Create(hwnd_, scale.X(4320))) return;
  for (const FlagBox& box : Check1Boxes) tooltips_.Add(hwnd_, FlagBoxControl(box.Index));
  for (const ControlId id : {Command2Id, Command4Id, Check2Id, Command3Id, Option1Id, Option2Id}) {
    tooltips_.Add(hwnd_, Control(id));
  }
  lineTips_.Create(hwnd_, Control(Text1Id), Control(Command1Id), Control(Text2Id), scale.X(5760));
}

std::string Form1::TooltipFor(HWND control) const {
  const int id = GetDlgCtrlID(control);
  if (id >= Check1Id && id < Check1Id + static_cast<int>(Check1Boxes.size())) {
    return FlagTooltip(ParseTag(Check1Box(id - Check1Id).Tag).value_or(0));
  }
  const bool onButton = TargetHwnd == Control(Command1Id);
  switch (id) {
    case Command2Id: return RedrawWindowCall(onButton, RedrawFlags);
    case Command4Id:
      return InvalidateRectCall(onButton, SendMessageA(Control(Check2Id), BM_GETCHECK, 0, 0) == BST_CHECKED);
    case Check2Id:
      return "InvalidateRect's last argument: checked, TRUE marks the area for erasing, so BeginPaint sends "
             "WM_ERASEBKGND before the window paints; unchecked, FALSE.";
    case Command3Id: return "Empties the log; the numbering goes on.";
    case Option1Id: return R"(Aims both requests at the push button "No Border", which has no non-client area.)";
    case Option2Id: return R"(Aims both requests at the text box "   Has Border", which has a border.)";
  }
  return {};
}

// What the mouse would show, for a user who does not use it: the story of the log's caret line, or the focused
// control's tooltip.
void Form1::ShowHelp(HWND focus) const noexcept {
  if (focus == Control(Text1Id)) return lineTips_.ShowCaretLine();
  try {
    lineTips_.ShowFor(focus, TooltipFor(focus));
  } catch (...) {
  }
}

// The text is made as the tooltip shows, so it is always current; a tooltip is never put over a target.
LRESULT Form1::OnNotify(const NMHDR& header) {
  if (header.hwndFrom != tooltips_.Hwnd()) return 0;
  switch (header.code) {
    case TTN_GETDISPINFOA: {
      auto& info = const_cast<NMTTDISPINFOA&>(reinterpret_cast<const NMTTDISPINFOA&>(header));
      tooltipText_ = TooltipFor(reinterpret_cast<HWND>(header.idFrom));
      info.lpszText = tooltipText_.data();
      return 0;
    }
    case TTN_SHOW: KeepClearOf(header.hwndFrom, {Control(Command1Id), Control(Text2Id)}); return TRUE;
  }
  return 0;
}

void Form1::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return;
  if (id >= Check1Id && id < Check1Id + static_cast<int>(Check1Boxes.size())) {
    Check1_Click(static_cast<std::int16_t>(id - Check1Id));
    return;
  }
  switch (id) {
    case Command2Id: Command2_Click(); break;
    case Command3Id: Command3_Click(); break;
    case Command4Id: Command4_Click(); break;
    case Option1Id: Option1_Click(); break;
    case Option2Id: Option2_Click(); break;
  }
}

void Form1::OnActivate(bool active) {
  const HWND focus = GetFocus();
  if (!active && focus != nullptr && IsChild(hwnd_, focus)) focusedControl_ = focus;
}

void Form1::OnSetFocus() const {
  const bool remembered = focusedControl_ != nullptr && IsChild(hwnd_, focusedControl_);
  const HWND control = remembered ? focusedControl_ : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
  if (control != nullptr) SetFocus(control);
}

// The log, a multi-line box, asks for this on Tab as it would in a dialog box.
void Form1::OnNextDlgCtl(WPARAM wParam, LPARAM lParam) const {
  const HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam) : GetNextDlgTabItem(hwnd_, GetFocus(), wParam != 0);
  if (next != nullptr) SetFocus(next);
}

void Form1::Form_Load() {
  TargetHwnd = Control(Command1Id);
  RedrawFlags = InitialRedrawFlags;
  Module1::HookedCommand1 = Control(Command1Id);
  Module1::PrevProcCommand1 = HookWindow(Module1::HookedCommand1);
  Module1::PrevProcText2 = HookWindow(Control(Text2Id));
  SetTimer(hwnd_, Timer1Id, Timer1IntervalMs, nullptr);
}

void Form1::Timer1_Timer() {
  Module1::AttachLog(Control(Text1Id));
  KillTimer(hwnd_, Timer1Id);
}

void Form1::Command3_Click() {
  SetWindowTextA(Control(Text1Id), "");
  Module1::ForgetLines();
}

void Form1::Form_Unload() {
  UnhookWindows();
  Module1::ReleaseLog();
}

LONG Form1::HookWindow(HWND hwnd) {
  return SetWindowLongA(hwnd, GWL_WNDPROC, reinterpret_cast<LONG>(&Module1::TraceWndProc));
}

void Form1::UnhookWindows() {
  if (Module1::PrevProcCommand1 != 0) SetWindowLongA(Control(Command1Id), GWL_WNDPROC, Module1::PrevProcCommand1);
  if (Module1::PrevProcText2 != 0) SetWindowLongA(Control(Text2Id), GWL_WNDPROC, Module1::PrevProcText2);
}

void Form1::Check1_Click(std::int16_t index) {
  const LRESULT state = SendMessageA(FlagBoxControl(index), BM_GETCHECK, 0, 0);
  const std::int32_t value = ParseTag(Check1Box(index).Tag).value_or(0);
  RedrawFlags += state == BST_CHECKED ? value : -value;
}

void Form1::Command2_Click() {
  const Module1::RequestScope request(Module1::RequestKind::RedrawWindow, TargetHwnd == Control(Command1Id),
                                      RedrawFlags);
  RedrawWindow(TargetHwnd, nullptr, nullptr, static_cast<UINT>(RedrawFlags));
}

void Form1::Command4_Click() {
  const auto erase = static_cast<BOOL>(SendMessageA(Control(Check2Id), BM_GETCHECK, 0, 0));
  const Module1::RequestScope request(Module1::RequestKind::InvalidateRect, TargetHwnd == Control(Command1Id), erase);
  InvalidateRect(TargetHwnd, nullptr, erase);
}

void Form1::Option1_Click() { TargetHwnd = Control(Command1Id); }

void Form1::Option2_Click() { TargetHwnd = Control(Text2Id); }

#include "paint_order/form_session.h"

#include "main_window/message_pump.h"
#include "paint_trace/module1.h"
#include "paint_trace/trace_log.h"

namespace {

ControlId TargetId(Target target) { return target == Target::Button ? Command1Id : Text2Id; }
Target Other(Target target) { return target == Target::Button ? Target::TextBox : Target::Button; }

bool HasUpdateRect(HWND hwnd) { return GetUpdateRect(hwnd, nullptr, FALSE) != FALSE; }

bool HasClientRegion(HWND hwnd) {
  const HRGN region = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetUpdateRgn(hwnd, region, FALSE);
  DeleteObject(region);
  return kind == SIMPLEREGION || kind == COMPLEXREGION;
}

bool IsChecked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

}  // namespace

FormSession::FormSession(int showCommand) : form_(std::make_unique<Form1>(GetModuleHandleA(nullptr))) {
  Module1::LogBox = nullptr;  // an earlier form attached a log of its own
  form_->Show(showCommand);
}

FormSession::~FormSession() {
  form_.reset();
  PumpFor(std::chrono::milliseconds(20));
}

bool FormSession::StartTracing() const {
  if (!PumpUntilTracing(QuietFor, Patience, *form_)) return false;
  Click(Command3Id);
  return true;
}

bool FormSession::Settled() const { return PumpUntilQuiet(QuietFor, Patience, form_.get()); }

void FormSession::SetFlags(std::int32_t flags) const {
  for (const FlagBox& box : Check1Boxes) {
    const HWND control = form_->FlagBoxControl(box.Index);
    const bool wanted = (flags & ParseTag(box.Tag).value_or(0)) != 0;
    if (IsChecked(control) != wanted) SendMessageA(control, BM_CLICK, 0, 0);
  }
}

std::vector<std::string> FormSession::Lines() const { return LogLines(WindowText(Control(Text1Id))); }

ControlId FormSession::Prepare(Request kind, std::int32_t flags) const {
  if (kind == Request::RedrawWindow) {
    SetFlags(flags);
    return Command2Id;
  }
  if (IsChecked(Control(Check2Id)) != (kind == Request::InvalidateRectErase)) Click(Check2Id);
  return Command4Id;
}

void FormSession::Choose(Target target) const { Click(target == Target::Button ? Option1Id : Option2Id); }

void FormSession::MakeFirst(Target target, Before first) const {
  switch (first) {
    case Before::Nothing: break;
    case Before::InvalidateRectErase: Click(Prepare(Request::InvalidateRectErase, 0)); break;
    case Before::RedrawInvalidateEraseFrame: Click(Prepare(Request::RedrawWindow, InvalidateEraseFrame)); break;
    case Before::RedrawInternalPaint: Click(Prepare(Request::RedrawWindow, RDW_INTERNALPAINT)); break;
    case Before::OtherTargetInvalidated:
      Choose(Other(target));
      Click(Prepare(Request::RedrawWindow, InvalidateEraseFrame));
      Choose(target);
      break;
    case Before::FormInvalidated: InvalidateRect(form_->Hwnd(), nullptr, TRUE); break;
  }
}

// GetUpdateRgn gives the client part of a window's update region and GetUpdateRect counts its frame too, so an
// update rectangle without a client region is a frame alone. A frame beside an invalid client area, and an
// internal paint, cannot be read without taking them away.
std::string FormSession::LeftInvalid(Target target) const {
  const HWND hwnd = Control(TargetId(target));
  std::string left;
  const auto add = [&left](const char* part) { left += (left.empty() ? "" : ", ") + std::string(part); };
  if (HasClientRegion(hwnd)) {
    add("client");
  } else if (HasUpdateRect(hwnd)) {
    add("frame");
  }
  if (HasUpdateRect(Control(TargetId(Other(target))))) add(TargetName(Other(target)));
  if (HasUpdateRect(Control(Frame1Id))) add("group box");
  if (HasUpdateRect(form_->Hwnd())) add("form");
  return left.empty() ? "none" : left;
}

bool FormSession::Record(Target target, const RepaintRequest& request, Trace& trace) const {
  Choose(target);
  if (!Settled()) return false;
  MakeFirst(target, request.First);
  const ControlId button = Prepare(request.Kind, request.Flags);
  Click(Command3Id);
  const std::int32_t before = Module1::TraceCount;
  Click(button);
  const std::int32_t returned = Module1::TraceCount;
  trace.LeftInvalid = LeftInvalid(target);
  if (!Settled()) return false;
  const std::vector<std::string> lines = Lines();
  if (lines.size() != static_cast<std::size_t>(Module1::TraceCount - before) || !NumberedFrom(lines, before + 1)) {
    return false;
  }
  trace.During.clear();
  trace.Later.clear();
  for (const std::string& line : lines) {
    (LineNumber(line) <= returned ? trace.During : trace.Later).push_back(WithoutNumbers({line}).front());
  }
  return true;
}

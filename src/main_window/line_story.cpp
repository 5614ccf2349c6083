#include "main_window/line_story.h"

#include <cstdio>

#include "main_window/tooltips.h"

namespace {

using Module1::LineRecord;
using Module1::Request;
using Module1::TraceLine;

// The S line a line came inside, as the log shows it.
std::string SendLineOf(std::int32_t number, UINT message) {
  return Module1::FormatSendLine(number, Module1::TracedMessageName(message));
}

std::string CallOf(const Request& request) {
  return request.Kind == Module1::RequestKind::RedrawWindow
             ? RedrawWindowCall(request.OnCommand1, request.Argument)
             : InvalidateRectCall(request.OnCommand1, request.Argument != 0);
}

// Who handed the message over, as the program's own loop saw it; nested, the message it came inside.
std::string SenderOf(const LineRecord& record, bool nested) {
  switch (static_cast<Module1::Sender>(record.From)) {
    case Module1::Sender::Loop:
      return nested ? "Moravane's message loop dispatched the message it came inside to this window."
                    : "Moravane's message loop dispatched it to this window.";
    case Module1::Sender::SameWindowDispatch:
      return "Moravane's message loop did not dispatch it: it was sent while the loop dispatched another message to "
             "this window.";
    case Module1::Sender::OtherWindowDispatch:
      return "Moravane's message loop did not dispatch it: it was sent while the loop dispatched a message to another "
             "window.";
    case Module1::Sender::NoDispatch: break;
  }
  return "Moravane's message loop was dispatching no message: the system or another thread sent it while the loop "
         "waited for messages.";
}

std::string When(const LineRecord& record, const Request* request, bool nested) {
  if (record.RequestNumber != 0 && request != nullptr && record.During) {
    return "It came during " + CallOf(*request) + ", before that call returned.";
  }
  std::string when;
  if (record.RequestNumber == 0) {
    when = "No request had been made before it: start-up, the focus moving and typing make paints like this. ";
  } else if (request != nullptr) {
    const std::string after = record.MsAfter == 0xFFFF ? "more than 65 s" : std::to_string(record.MsAfter) + " ms";
    when =
        "It came " + after + " after " + CallOf(*request) + " returned; that alone does not say the call caused it. ";
  }
  return when + SenderOf(record, nested);
}

// What sent a message inside another is told only where a single sender can do it: BeginPaint, inside WM_PAINT.
std::string Inside(const TraceLine& line, const LineRecord& record, const LineRecord& outer) {
  const UINT outerMessage = Module1::MessageOf(outer);
  std::string text = "It came while " + SendLineOf(line.Number - record.Back, outerMessage) + " of " +
                     std::string(TargetCalled(outer.OnCommand1)) + " was being handled";
  if (outerMessage != WM_PAINT || outer.OnCommand1 != record.OnCommand1) return text + ".";
  if (line.Message == WM_ERASEBKGND) {
    return text +
           ": BeginPaint sends WM_ERASEBKGND when the update region is marked for erasing, once it has "
           "validated that region and clipped to it the DC it passes.";
  }
  if (line.Message == WM_NCPAINT) return text + ": BeginPaint sends WM_NCPAINT when the frame is invalid too.";
  return text + ".";
}

// "(0, 0)-(75, 21)"
std::string Box(const LineRecord& record) {
  char text[48];
  std::snprintf(text, sizeof text, "(%d, %d)-(%d, %d)", record.Left, record.Top, record.Right, record.Bottom);
  return text;
}

std::string WhatTheFrameRegionCovers(const LineRecord& record) {
  switch (static_cast<Module1::Invalid>(record.Invalid)) {
    case Module1::Invalid::Whole: return "Its region was 1: the whole frame is to be drawn.";
    case Module1::Invalid::WholeWindow:
      return "Its region was a region's handle whose box covers the window's whole rectangle: the whole frame is to "
             "be drawn.";
    case Module1::Invalid::Part:
      return "Its region was a region's handle whose box, " + Box(record) +
             " from the window's top left corner, is part of the window's rectangle: only the frame inside it is to "
             "be drawn.";
    default: break;
  }
  return "Its region was a region's handle with no box the program could read.";
}

std::string WhatTheEraseCovers(const LineRecord& record) {
  switch (static_cast<Module1::Invalid>(record.Invalid)) {
    case Module1::Invalid::Whole:
      return "The DC it carries is clipped to the whole client area: the erase can cover all of it.";
    case Module1::Invalid::Part:
      return "The DC it carries is clipped to " + Box(record) + " of the client area: the erase can cover only that.";
    default: break;
  }
  return "The DC it carries has no clip box the program could read: the erase can cover nothing that shows.";
}

std::string WhatWasInvalid(const TraceLine& line, const LineRecord& record) {
  if (line.Message == WM_NCPAINT) return WhatTheFrameRegionCovers(record);
  if (line.Message == WM_ERASEBKGND) return WhatTheEraseCovers(record);
  switch (static_cast<Module1::Invalid>(record.Invalid)) {
    case Module1::Invalid::Whole: return "As it came, the whole client area was invalid.";
    case Module1::Invalid::Part: return "As it came, part of the client area was invalid: " + Box(record) + ".";
    case Module1::Invalid::FrameOnly:
      return "As it came, no part of the client area was invalid, but the window still had an update region: the "
             "frame is what is left.";
    default: break;
  }
  return "As it came, no part of the client area was invalid.";
}

std::string WhatTheResultMeans(const TraceLine& line) {
  if (line.Message != WM_ERASEBKGND) {
    return "A window returns 0 once it has handled " + std::string(line.Name) +
           "; the system reads nothing more in it.";
  }
  if (line.Result != 0) {
    return "Nonzero: the window says it erased the background, so the mark for erasing is cleared. It says nothing "
           "of what it drew.";
  }
  return "0: the window did not erase the background, so it stays marked for erasing.";
}

}  // namespace

std::string LineStory(const TraceLine& line, const LineRecord& record, const Request* request,
                      const LineRecord* outer) {
  const std::string target(TargetCalled(record.OnCommand1));
  std::string story = line.Returned ? "The window procedure of " + target + " returned from " + std::string(line.Name)
                                    : std::string(line.Name) + " reached the window procedure of " + target;
  if (line.Returned && outer != nullptr)
    story += ", the message of " + SendLineOf(line.Number - record.Back, line.Message);
  story += ".";
  const bool nested = line.Returned ? outer != nullptr && outer->Back != 0 : outer != nullptr;
  story += " " + When(record, request, nested);
  if (!line.Returned && outer != nullptr) story += " " + Inside(line, record, *outer);
  story += " " + (line.Returned ? WhatTheResultMeans(line) : WhatWasInvalid(line, record));
  return story;
}

std::string LineStoryOf(std::string_view text) {
  const std::optional<TraceLine> line = Module1::ParseTraceLine(text);
  const LineRecord* record = line ? Module1::RecordOf(line->Number) : nullptr;
  if (record == nullptr || record->Returned != static_cast<std::uint32_t>(line->Returned) ||
      Module1::MessageOf(*record) != line->Message) {
    return {};
  }
  const LineRecord* outer = record->Back != 0 ? Module1::RecordOf(line->Number - record->Back) : nullptr;
  return LineStory(*line, *record, Module1::RequestOf(*record), outer);
}

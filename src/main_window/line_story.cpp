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

std::string When(const LineRecord& record, const Request* request) {
  if (record.RequestNumber == 0) {
    return "No request had been made before it: start-up, the focus moving and typing make paints like this.";
  }
  if (request == nullptr) return {};
  if (record.During) return "It came during " + CallOf(*request) + ", before that call returned.";
  const std::string after = record.MsAfter == 0xFFFF ? "more than 65 s" : std::to_string(record.MsAfter) + " ms";
  return "It came later, from the message loop, " + after + " after " + CallOf(*request) +
         " returned; that alone does not say the call caused it.";
}

// What sent a message inside another is told only where a single sender can do it: BeginPaint, inside WM_PAINT.
std::string Inside(const TraceLine& line, const LineRecord& record, const LineRecord& outer) {
  const UINT outerMessage = Module1::MessageOf(outer);
  std::string text = "It came while " + SendLineOf(line.Number - record.Back, outerMessage) + " of " +
                     std::string(TargetCalled(outer.OnCommand1)) + " was being handled";
  if (outerMessage != WM_PAINT || outer.OnCommand1 != record.OnCommand1) return text + ".";
  if (line.Message == WM_ERASEBKGND) {
    return text + ": BeginPaint sends WM_ERASEBKGND when the update region is marked for erasing.";
  }
  if (line.Message == WM_NCPAINT) return text + ": BeginPaint sends WM_NCPAINT when the frame is invalid too.";
  return text + ".";
}

std::string WhatWasInvalid(const TraceLine& line, const LineRecord& record) {
  const auto invalid = static_cast<Module1::Invalid>(record.Invalid);
  if (line.Message == WM_NCPAINT) {
    return invalid == Module1::Invalid::Whole ? "Its region was 1: the whole frame is to be drawn."
                                              : "Its region was a region's handle: only that part is to be drawn.";
  }
  switch (invalid) {
    case Module1::Invalid::Nothing: return "As it came, no part of the client area was invalid.";
    case Module1::Invalid::Whole: return "As it came, the whole client area was invalid.";
    case Module1::Invalid::Part: break;
  }
  char text[96];
  std::snprintf(text, sizeof text, "As it came, part of the client area was invalid: (%d, %d)-(%d, %d).", record.Left,
                record.Top, record.Right, record.Bottom);
  return text;
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
  const std::string when = When(record, request);
  if (!when.empty()) story += " " + when;
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

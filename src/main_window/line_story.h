// What hovering a trace line in the log tells: its story, from what the hook saw and nothing more.
#pragma once

#include <string>

#include "paint_trace/line_records.h"
#include "paint_trace/trace_lines.h"

// The story of a line whose record says the same as its text. request is the request last made before it, if it is
// still remembered; outer is the record of the S line it came inside, or for an R line its own S line.
std::string LineStory(const Module1::TraceLine& line, const Module1::LineRecord& record,
                      const Module1::Request* request, const Module1::LineRecord* outer);

// The story of a line of the log as it reads now: empty for text typed by the user, for a line cut or changed by
// editing, and for a line this log no longer remembers.
std::string LineStoryOf(std::string_view text);

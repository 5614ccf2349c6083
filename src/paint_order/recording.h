// A recording: every request of the catalogue made on one system, as the recorder writes it and the catalogue
// reads it back. The format has this one owner.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "paint_order/rows.h"

// What the recording ran on, read from the system itself.
struct SystemInfo {
  std::string Windows;   // "10.0.22631": the version the system really is, whatever a manifest lets it report
  std::string Revision;  // the update build revision, "4602", where the system says
  std::string Edition;   // "Professional (Windows 10 Pro, 23H2)"
  int Dpi = 96;
  std::string Wine;      // Wine's version, "8.0"; empty on Windows
  std::string Recorder;  // the recorder's own version
};

struct Recording {
  SystemInfo System;
  std::string Catalogue;      // the catalogue version it recorded
  std::vector<Trace> Traces;  // one per row: the button's trace of request i at 2i, the text box's at 2i + 1
};

// "49 requests, fingerprint 1A2B3C4D": changes whenever a request is added, removed, changed or moved.
std::string CatalogueVersion();
// "windows-10.0.22631", or "wine-8.0" under Wine, whatever version of Windows Wine reports.
std::string PlatformOf(const SystemInfo& system);
// "Windows 10.0.22631, 96 DPI" or "Wine 8.0, 96 DPI".
std::string PlaceOf(const SystemInfo& system);
// "paint-order.windows-10.0.22631.md"
std::string RecordingFileName(const SystemInfo& system);
// "paint-order.windows-10.0.22631.txt": the recorder's report, kept beside its recording.
std::string ReportFileName(const SystemInfo& system);

std::string WriteRecording(const Recording& recording);

struct ReadError {
  std::size_t Line = 0;  // 1 for the first line of the file
  std::string What;
};
// Reads a recording as WriteRecording wrote it, for the present catalogue; anything else fails with the line and
// what is wrong there.
std::optional<Recording> ReadRecording(const std::string& text, ReadError& error);
// The same, for a recording that must have been made on Windows: one made under Wine is refused.
std::optional<Recording> ReadWindowsRecording(const std::string& text, ReadError& error);

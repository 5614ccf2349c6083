#include "paint_order/recording.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "paint_order/cases.h"

namespace {

constexpr char TableHeading[] = "| Row | Request | Target | During the call | Left invalid | Later |";
constexpr char TableRule[] = "|---|---|---|---|---|---|";
constexpr char EndWords[] = "End of the recording: ";

// A value goes into one line of a list or a table cell as it is, less what would end either.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '|') c = ' ';
  }
  return text.empty() ? "none" : text;
}

std::string LinesCell(const std::vector<std::string>& lines) {
  if (lines.empty()) return "nothing";
  std::string cell;
  for (const std::string& line : lines) cell += (cell.empty() ? "`" : "<br>`") + line + "`";
  return cell;
}

bool IsHex(const std::string& digits) {
  if (digits.size() != 8) return false;
  for (const char c : digits) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
  }
  return true;
}

// "S WM_PAINT" or "R WM_PAINT   lResult:  &H00000000": a trace line without its number.
bool IsTraceLine(const std::string& line) {
  if (line.size() < 3 || (line[0] != 'S' && line[0] != 'R') || line[1] != ' ') return false;
  const std::size_t end = line.find(' ', 2);
  const std::string message = line.substr(2, end == std::string::npos ? end : end - 2);
  if (message != "WM_PAINT" && message != "WM_ERASEBKGND" && message != "WM_NCPAINT") return false;
  if (line[0] == 'S') return end == std::string::npos;
  const std::string result = "   lResult:  &H";
  return line.compare(end, result.size(), result) == 0 && IsHex(line.substr(end + result.size()));
}

std::optional<std::vector<std::string>> ReadLinesCell(const std::string& cell) {
  std::vector<std::string> lines;
  if (cell == "nothing") return lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = cell.find("<br>", start);
    const std::string quoted = cell.substr(start, end == std::string::npos ? end : end - start);
    if (quoted.size() < 2 || quoted.front() != '`' || quoted.back() != '`') return std::nullopt;
    lines.push_back(quoted.substr(1, quoted.size() - 2));
    if (!IsTraceLine(lines.back())) return std::nullopt;
    if (end == std::string::npos) return lines;
    start = end + 4;
  }
}

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  if (line.size() < 4 || line.compare(0, 2, "| ") != 0 || line.compare(line.size() - 2, 2, " |") != 0) return cells;
  std::size_t start = 2;
  for (std::size_t end; (end = line.find(" | ", start)) != std::string::npos; start = end + 3) {
    cells.push_back(line.substr(start, end - start));
  }
  cells.push_back(line.substr(start, line.size() - 2 - start));
  return cells;
}

// Reads the file a line at a time, remembering where it is for the message of a failure.
class Reader {
 public:
  Reader(const std::string& text, ReadError& error) : text_(text), error_(error) {}

  bool Next(std::string& line) {
    if (at_ >= text_.size()) {
      ++number_;  // the line that should have come
      return Fail("the recording ends before this line, cut short");
    }
    const std::size_t end = text_.find('\n', at_);
    line = text_.substr(at_, end == std::string::npos ? end : end - at_);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at_ = end == std::string::npos ? text_.size() : end + 1;
    ++number_;
    return true;
  }
  bool Expect(const std::string& wanted) {
    std::string line;
    return Next(line) && (line == wanted || Fail("expected \"" + wanted + "\""));
  }
  bool Value(const std::string& key, std::string& value) {
    std::string line;
    const std::string prefix = "- " + key + ": ";
    if (!Next(line)) return false;
    if (line.compare(0, prefix.size(), prefix) != 0) return Fail("expected \"" + prefix + "...\"");
    value = line.substr(prefix.size());
    if (value == "none") value.clear();
    return true;
  }
  bool AtEnd() const { return at_ >= text_.size(); }
  bool Fail(const std::string& what) {
    error_ = {number_, what};
    return false;
  }

 private:
  const std::string& text_;
  ReadError& error_;
  std::size_t at_ = 0;
  std::size_t number_ = 0;
};

bool ReadDpi(Reader& reader, const std::string& text, int& dpi) {
  dpi = std::atoi(text.c_str());
  return (dpi > 0 && std::to_string(dpi) == text) || reader.Fail("the DPI is not a number");
}

}  // namespace

std::string CatalogueVersion() {
  std::uint32_t hash = 2166136261u;  // FNV-1a over every request in order
  for (const PaintOrderCase& c : PaintOrderCases()) {
    for (const char ch : RequestText(c.Request) + "\n") hash = (hash ^ static_cast<unsigned char>(ch)) * 16777619u;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%u requests, fingerprint %08X", static_cast<unsigned>(PaintOrderCases().size()),
                static_cast<unsigned>(hash));
  return text;
}

std::string PlatformOf(const SystemInfo& system) {
  return system.Wine.empty() ? "windows-" + system.Windows : "wine-" + system.Wine;
}

std::string PlaceOf(const SystemInfo& system) {
  return (system.Wine.empty() ? "Windows " + system.Windows : "Wine " + system.Wine) + ", " +
         std::to_string(system.Dpi) + " DPI";
}

std::string RecordingFileName(const SystemInfo& system) { return "paint-order." + PlatformOf(system) + ".md"; }
std::string ReportFileName(const SystemInfo& system) { return "paint-order." + PlatformOf(system) + ".txt"; }

std::string WriteRecording(const Recording& recording) {
  const SystemInfo& system = recording.System;
  std::string text = "# Paint order recorded on " + PlaceOf(system) + "\n\n" +
                     "Every repaint request of Moravane's paint-order catalogue, made by its recorder through the "
                     "program on both\ntargets: the log's lines without their numbers. Send this file as it was "
                     "written; it is read back line by line.\n\n";
  text += "- Windows: " + OneLine(system.Windows) + "\n";
  text += "- Revision: " + OneLine(system.Revision) + "\n";
  text += "- Edition: " + OneLine(system.Edition) + "\n";
  text += "- DPI: " + std::to_string(system.Dpi) + "\n";
  text += "- Wine: " + OneLine(system.Wine) + "\n";
  text += "- Recorder: " + OneLine(system.Recorder) + "\n";
  text += "- Catalogue: " + OneLine(recording.Catalogue) + "\n\n";
  text += std::string(TableHeading) + "\n" + TableRule + "\n";
  const std::vector<PaintOrderCase>& cases = PaintOrderCases();
  for (std::size_t row = 0; row < recording.Traces.size(); ++row) {
    const Trace& trace = recording.Traces[row];
    const Target target = row % 2 == 0 ? Target::Button : Target::TextBox;
    const std::string request = row / 2 < cases.size() ? RequestText(cases[row / 2].Request) : "unknown";
    text += "| " + std::to_string(row + 1) + " | " + request + " | " + TargetName(target) + " | " +
            LinesCell(trace.During) + " | " + OneLine(trace.LeftInvalid) + " | " + LinesCell(trace.Later) + " |\n";
  }
  return text + "\n" + EndWords + std::to_string(recording.Traces.size()) + " rows.\n";
}

std::optional<Recording> ReadRecording(const std::string& text, ReadError& error) {
  Reader reader(text, error);
  Recording recording;
  SystemInfo& system = recording.System;
  std::string line, dpi;
  if (!reader.Next(line)) return std::nullopt;
  if (line.rfind("# Paint order recorded on ", 0) != 0) {
    reader.Fail("not a recording: it starts with \"# Paint order recorded on \"");
    return std::nullopt;
  }
  // The words under the title, then the first key.
  bool more = true;
  while ((more = reader.Next(line)) && line.rfind("- ", 0) != 0) {
  }
  if (!more) return std::nullopt;
  const std::string catalogue = CatalogueVersion();
  if (line.rfind("- Windows: ", 0) != 0) {
    reader.Fail("expected \"- Windows: ...\"");
    return std::nullopt;
  }
  system.Windows = line.substr(11);
  if (!reader.Value("Revision", system.Revision) || !reader.Value("Edition", system.Edition) ||
      !reader.Value("DPI", dpi) || !ReadDpi(reader, dpi, system.Dpi) || !reader.Value("Wine", system.Wine) ||
      !reader.Value("Recorder", system.Recorder) || !reader.Value("Catalogue", recording.Catalogue)) {
    return std::nullopt;
  }
  if (recording.Catalogue != catalogue) {
    reader.Fail("recorded for the catalogue \"" + recording.Catalogue + "\", not for the present \"" + catalogue +
                "\": record it again with the present recorder");
    return std::nullopt;
  }
  if (!reader.Expect("") || !reader.Expect(TableHeading) || !reader.Expect(TableRule)) return std::nullopt;
  const std::vector<PaintOrderCase>& cases = PaintOrderCases();
  const std::size_t rows = 2 * cases.size();
  while (recording.Traces.size() < rows) {
    const std::size_t row = recording.Traces.size();
    if (!reader.Next(line)) return std::nullopt;
    const std::vector<std::string> cells = Cells(line);
    const std::string expected = std::to_string(row + 1) + " | " + RequestText(cases[row / 2].Request) + " | " +
                                 TargetName(row % 2 == 0 ? Target::Button : Target::TextBox);
    if (cells.size() != 6) {
      reader.Fail("row " + std::to_string(row + 1) + " of " + std::to_string(rows) + " expected: six cells");
      return std::nullopt;
    }
    if (cells[0] + " | " + cells[1] + " | " + cells[2] != expected) {
      reader.Fail("expected the row \"" + expected + "\"");
      return std::nullopt;
    }
    Trace trace;
    const auto during = ReadLinesCell(cells[3]), later = ReadLinesCell(cells[5]);
    if (!during || !later) {
      reader.Fail("a trace line is malformed: each is `S MESSAGE` or `R MESSAGE   lResult:  &H` and 8 hex digits");
      return std::nullopt;
    }
    trace.During = *during;
    trace.Later = *later;
    trace.LeftInvalid = cells[4];
    recording.Traces.push_back(trace);
  }
  if (!reader.Expect("") || !reader.Expect(EndWords + std::to_string(rows) + " rows.")) return std::nullopt;
  if (!reader.AtEnd()) {
    reader.Next(line);
    reader.Fail("text after the end of the recording");
    return std::nullopt;
  }
  return recording;
}

std::optional<Recording> ReadWindowsRecording(const std::string& text, ReadError& error) {
  std::optional<Recording> recording = ReadRecording(text, error);
  if (recording && !recording->System.Wine.empty()) {
    const std::string before = text.substr(0, text.find("\n- Wine: ") + 1);
    error = {static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1,
             "made under Wine " + recording->System.Wine + ", not on Windows: Wine's own record is made afresh"};
    return std::nullopt;
  }
  return recording;
}

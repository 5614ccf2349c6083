// The recorder's recording under Wine against the expectation tables and the rules the platform is known to keep;
// the comparison and the catalogue built on it; and the committed catalogue against what the platform does now.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <set>
#include <sstream>

#include "main_window/tooltips.h"
#include "paint_order/catalogue.h"
#include "paint_order/comparison.h"
#include "paint_order/rules.h"
#include "paint_trace/trace_lines.h"

namespace {

// Paths are UTF-8 here and wide for the system: the recording's folder has a name no ANSI code page holds.
std::string FileText(const std::string& path) {
  std::ifstream file(std::filesystem::u8path(path), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The Markdown files of a folder whose names start with the prefix, in the order of their names.
std::vector<std::string> FilesIn(const std::string& folder, const std::string& prefix) {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::u8path(folder), error)) {
    const std::string name = entry.path().filename().u8string();
    if (name.rfind(prefix, 0) == 0 && name.size() > 3 && name.compare(name.size() - 3, 3, ".md") == 0) {
      names.insert(name);
    }
  }
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const std::string& name : names) paths.push_back(std::string(folder).append("\\").append(name));
  return paths;
}

// What the recorder wrote under Wine in this build's test run.
const std::string& WineRecordingText() {
  static const std::string text = [] {
    const std::vector<std::string> files = FilesIn(MORAVANE_RECORDINGS, "paint-order.wine-");
    return files.size() == 1 ? FileText(files.front()) : std::string();
  }();
  return text;
}

Recording Read(const std::string& text) {
  ReadError error;
  const std::optional<Recording> recording = ReadRecording(text, error);
  EXPECT_TRUE(recording) << "line " << error.Line << ": " << error.What;
  return recording.value_or(Recording{});
}

const Recording& WineRecording() {
  static const Recording recording = Read(WineRecordingText());
  return recording;
}

bool Has(const RepaintRequest& request, std::int32_t flags) {
  return request.Kind == Request::RedrawWindow && (request.Flags & flags) != 0;
}

class PaintOrder : public ::testing::TestWithParam<std::size_t> {};

TEST_P(PaintOrder, TracesWhatTheTableSaysAndWhatTheRulesPromise) {
  const std::size_t row = GetParam();
  const PaintOrderCase& c = PaintOrderCases()[row / 2];
  const Target target = row % 2 == 0 ? Target::Button : Target::TextBox;
  SCOPED_TRACE(std::string(c.Title) + " on the " + TargetName(target));
  ASSERT_EQ(WineRecording().Traces.size(), 2 * PaintOrderCases().size()) << "the recorder's recording under Wine";
  const Trace& trace = WineRecording().Traces[row];
  const Rows traced = RowsOf(trace);
  EXPECT_TRUE(Matches(traced, ExpectedRows(c, target), false)) << "traced:\n"
                                                               << Describe(traced) << "expected:\n"
                                                               << Describe(ExpectedRows(c, target));
  for (const Rule& rule : PaintOrderRules()) {
    if (rule.Applies(c.Request)) {
      EXPECT_TRUE(rule.Holds(c.Request, traced)) << rule.Text;
    }
  }
  // What is left is what the loop paints; an internal paint leaves no region to read.
  if (trace.LeftInvalid != "none" || !Has(c.Request, RDW_INTERNALPAINT)) {
    EXPECT_EQ(trace.LeftInvalid == "none", trace.Later.empty()) << "left invalid: " << trace.LeftInvalid;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryRow, PaintOrder, ::testing::Range<std::size_t>(0, 2 * PaintOrderCases().size()),
                         [](const auto& info) {
                           return "Case" + std::to_string(info.param / 2) +
                                  (info.param % 2 == 0 ? "_Button" : "_TextBox");
                         });

bool HasOptionalRow(const Rows& rows) {
  for (const Row& row : rows) {
    if (row.Optional) return true;
  }
  return false;
}
bool MentionsAny(const std::string& text, std::initializer_list<const char*> words) {
  for (const char* word : words) {
    if (text.find(word) != std::string::npos) return true;
  }
  return false;
}

TEST(PaintOrderCases, AreFortyOrMoreDifferentRequestsWithAVerdictAndARemarkOfTheirOwnEach) {
  EXPECT_GE(PaintOrderCases().size(), 40u);
  std::set<std::tuple<Request, std::int32_t, Before>> requests;
  for (const PaintOrderCase& c : PaintOrderCases()) {
    EXPECT_TRUE(requests.emplace(c.Request.Kind, c.Request.Flags, c.Request.First).second) << c.Title;
    for (const Target target : {Target::Button, Target::TextBox}) {
      SCOPED_TRACE(std::string(c.Title) + " on the " + TargetName(target));
      const std::string& verdict = EvidenceFor(c, target).Verdict;
      std::string evidence;
      for (const std::string& note : EvidenceFor(c, target).Notes) evidence += note + "\n";
      const std::set<std::string> verdicts{"same", "same in part", "may differ", "not established", "differs"};
      EXPECT_EQ(verdicts.count(verdict), 1u) << verdict;
      // "may differ" names a message that may be absent on Windows; a row that is the same has none.
      if (verdict != "not established") {
        EXPECT_EQ(HasOptionalRow(ExpectedRows(c, target)), verdict == "may differ");
        // Only a test run on Windows settles a row, and only for the kind of window it ran on.
        EXPECT_TRUE(MentionsAny(evidence, {"msg.c", "ReactOS Test"}) &&
                    MentionsAny(evidence, {"classic button", "generic child", "generic top-level window"}))
            << "names no Windows-run test and its kind of window: " << evidence;
      }
      // A remark is about its own target: where the two differ, each has its own.
      const std::string remark = RemarkFor(c, target);
      EXPECT_FALSE(target == Target::Button ? MentionsAny(remark, {"text box", "edit box", "Has Border"})
                                            : MentionsAny(remark, {"button", "No Border"}))
          << "names the other target: " << remark;
    }
  }
  for (const Rule& rule : PaintOrderRules()) {
    int cases = 0;
    for (const PaintOrderCase& c : PaintOrderCases()) cases += rule.Applies(c.Request) ? 1 : 0;
    EXPECT_GT(cases, 0) << rule.Text;
  }
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The recorder's report names exactly the rows whose lines are not Wine's, with both lines, and what was absent.
TEST(PaintOrderComparison, ReportsExactlyTheRowsThatDifferFromWinesRecord) {
  Recording recording = WineRecording();
  ASSERT_FALSE(recording.Traces.empty());
  EXPECT_EQ(Compare(recording, false).Differing(), 0u) << Report(Compare(recording, false), "Wine");

  const std::size_t changed = 2 * 25 + 1;  // "Invalidate, erase" on the text box: a WM_ERASEBKGND inside WM_PAINT
  Trace& trace = recording.Traces[changed];
  ASSERT_EQ(trace.Later.size(), 4u);
  trace.Later[2] = "R WM_ERASEBKGND   lResult:  &H00000000";
  const Comparison comparison = Compare(recording, false);
  ASSERT_EQ(comparison.Differing(), 1u);
  EXPECT_TRUE(comparison.Compared[changed].Differs);
  const std::string report = Report(comparison, "Windows 10.0.22631, 96 DPI");
  EXPECT_NE(report.find("Row 52: RedrawWindow 0x0005, on the text box"), std::string::npos) << report;
  EXPECT_NE(report.find("R WM_ERASEBKGND   lResult:  &H00000000"), std::string::npos) << report;
  EXPECT_NE(report.find("Rows the catalogue calls \"same\" that differ: 1"), std::string::npos) << report;

  // On Windows the erase inside a later WM_PAINT may be absent where the catalogue says so: named, not a difference.
  recording = WineRecording();
  const std::size_t optional = 2 * 29;  // "Invalidate, erase, update now" on the button
  recording.Traces[optional].During = {"S WM_PAINT", "R WM_PAINT   lResult:  &H00000000"};
  const Comparison windows = Compare(recording, true);
  EXPECT_EQ(windows.Differing(), 0u);
  EXPECT_EQ(windows.Same(), recording.Traces.size() - 1);
  EXPECT_EQ(LinesOf(windows.Compared[optional].Absent, When::During),
            (std::vector<std::string>{"S WM_ERASEBKGND", "R WM_ERASEBKGND   lResult:  &H00000001"}));
  EXPECT_EQ(Compare(recording, false).Differing(), 1u) << "under Wine every message must be there";

  // The recorder's end: one row the same but for an optional line and one differing, on Windows.
  recording.System.Wine = "";
  recording.Traces[changed].Later[2] = "R WM_ERASEBKGND   lResult:  &H00000000";
  const Comparison both = Compare(recording, true);
  EXPECT_EQ(both.Same() + both.SameButOptional() + both.Differing(), 98u) << "counts that add up to the rows";
  EXPECT_EQ(both.SameButOptional(), 1u);
  const Conclusion conclusion = Conclude(recording);
  EXPECT_EQ(conclusion.ExitCode, 1);
  EXPECT_NE(conclusion.Report.find("Row 52: "), std::string::npos) << conclusion.Report;
  EXPECT_EQ(Conclude(WineRecording()).ExitCode, 0) << Conclude(WineRecording()).Report;
}

// Windows may send more than Wine: a line beyond Wine's record makes the row differ wherever it comes, and the
// recorder ends with exit code 1 naming the row with both sets of lines.
TEST(PaintOrderComparison, ALineMoreThanWinesRecordDiffersDuringTheCallLaterOrNested) {
  const std::size_t row = 2 * 29;  // "Invalidate, erase, update now" on the button: WM_PAINT { WM_ERASEBKGND }
  const std::vector<std::string> frame{"S WM_NCPAINT", "R WM_NCPAINT   lResult:  &H00000000"};
  const std::vector<std::string> paint{"S WM_PAINT", "R WM_PAINT   lResult:  &H00000000"};
  const auto insert = [](std::vector<std::string>& lines, std::size_t at, const std::vector<std::string>& more) {
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), more.begin(), more.end());
  };
  struct Extra {
    const char* where;
    const std::vector<std::string>& lines;
    std::function<void(Trace&)> add;
  };
  const Extra extras[] = {
      {"during the call", frame, [&](Trace& trace) { insert(trace.During, trace.During.size(), frame); }},
      {"later", paint, [&](Trace& trace) { insert(trace.Later, trace.Later.size(), paint); }},
      {"nested", frame, [&](Trace& trace) { insert(trace.During, 1, frame); }},
  };
  for (const Extra& extra : extras) {
    SCOPED_TRACE(extra.where);
    Recording recording = WineRecording();
    ASSERT_EQ(recording.Traces.size(), 98u);
    recording.System.Wine = "";
    extra.add(recording.Traces[row]);
    EXPECT_EQ(Compare(recording, true).Differing(), 1u);
    const Conclusion conclusion = Conclude(recording);
    EXPECT_EQ(conclusion.ExitCode, 1);
    // Wine's lines and the lines recorded, which have the one more.
    const std::size_t heading = conclusion.Report.find("Row 59: ");
    ASSERT_NE(heading, std::string::npos) << conclusion.Report;
    const std::string shown = conclusion.Report.substr(heading, conclusion.Report.find("\nRows ", heading) - heading);
    const Trace& wine = WineRecording().Traces[row];
    const std::size_t inWine =
        static_cast<std::size_t>(std::count(wine.During.begin(), wine.During.end(), extra.lines[0]) +
                                 std::count(wine.Later.begin(), wine.Later.end(), extra.lines[0]));
    EXPECT_EQ(Count(shown, extra.lines[0] + "\n"), 2 * inWine + 1) << shown;
  }
}

// Whether a request is one of the rows a flag's claim speaks of.
bool SpokenOf(const FlagClaim& claim, const PaintOrderCase& c) {
  using B = FlagClaim::Before;
  const RepaintRequest& request = c.Request;
  if (request.Kind != Request::RedrawWindow || (request.Flags & claim.With) != claim.With ||
      (request.Flags & claim.Without) != 0) {
    return false;
  }
  switch (claim.First) {
    case B::Nothing: return request.First == Before::Nothing;
    case B::InvalidateRectErase: return request.First == Before::InvalidateRectErase;
    case B::RedrawInvalidateEraseFrame: return request.First == Before::RedrawInvalidateEraseFrame;
    case B::RedrawInternalPaint: return request.First == Before::RedrawInternalPaint;
    case B::FormInvalidated: return request.First == Before::FormInvalidated;
    case B::AnEarlierRequest:
      return request.First == Before::InvalidateRectErase || request.First == Before::RedrawInvalidateEraseFrame ||
             request.First == Before::RedrawInternalPaint;
    case B::Any: return true;
  }
  return false;
}

// Where each S row of a row's lines comes: the place a claim names, read from the time, the depth and the row it
// came inside.
bool At(FlagClaim::Place place, const Rows& rows, std::size_t index) {
  const Row& row = rows[index];
  std::string inside;
  for (std::size_t back = index; back-- > 0 && row.Depth > 0;) {
    if (rows[back].Edge == 'S' && rows[back].Depth == row.Depth - 1) {
      inside = rows[back].Message;
      break;
    }
  }
  switch (place) {
    case FlagClaim::Place::Anywhere: return true;
    case FlagClaim::Place::DuringTheCall: return row.Time == When::During;
    case FlagClaim::Place::SentDuringTheCall: return row.Time == When::During && row.Depth == 0;
    case FlagClaim::Place::InsidePaint: return inside == "WM_PAINT";
    case FlagClaim::Place::Later: return row.Time == When::Later;
  }
  return false;
}

// How many S rows of the claim's messages there are, and how many of them come where it says.
std::pair<int, int> Counted(const FlagClaim& claim, const Rows& rows, UINT message) {
  int come = 0, there = 0;
  for (std::size_t index = 0; index < rows.size(); ++index) {
    if (rows[index].Edge != 'S') continue;
    if (message != 0 && rows[index].Message != Module1::TracedMessageName(message)) continue;
    ++come;
    there += At(claim.Where, rows, index) ? 1 : 0;
  }
  return {come, there};
}

// Each sentence of a flag's tooltip holds in every row of the catalogue it speaks of, as Wine's record has them.
TEST(PaintOrderFlagTooltips, EverySentenceAgreesWithEveryRowItSpeaksOf) {
  using H = FlagClaim::Holds;
  for (std::int32_t value = 1; value <= 0x0800; value <<= 1) {
    for (const FlagClaim& claim : FlagClaims(value)) {
      SCOPED_TRACE(claim.Text);
      EXPECT_NE(FlagTooltip(value).find(claim.Text), std::string::npos) << "a claim the tooltip does not make";
      if (claim.How == H::Documented) continue;
      int rowsSpokenOf = 0, comeAnywhere = 0;
      for (const PaintOrderCase& c : PaintOrderCases()) {
        if (!SpokenOf(claim, c)) continue;
        for (const Target target : {Target::Button, Target::TextBox}) {
          if ((claim.Target == FlagClaim::On::Button && target != Target::Button) ||
              (claim.Target == FlagClaim::On::TextBox && target != Target::TextBox)) {
            continue;
          }
          ++rowsSpokenOf;
          const Rows& rows = ExpectedRows(c, target);
          std::vector<UINT> messages;
          for (const UINT message : claim.Messages) {
            if (message != 0) messages.push_back(message);
          }
          if (messages.empty()) messages.push_back(0);  // any traced message
          for (const UINT message : messages) {
            const auto [come, there] = Counted(claim, rows, message);
            comeAnywhere += come;
            const std::string row = RequestText(c.Request) + " on the " + TargetName(target) + ", " +
                                    std::string(Module1::TracedMessageName(message)) + ":\n" + Describe(rows);
            if (claim.How == H::Never) {
              EXPECT_EQ(there, 0) << row;
            } else {
              EXPECT_EQ(there, come) << row;
              if (claim.How == H::EveryRow) {
                EXPECT_GT(come, 0) << row;
              }
            }
          }
        }
      }
      EXPECT_GT(rowsSpokenOf, 0) << "speaks of no row of the catalogue";
      if (claim.How == H::WhereTheyCome) {
        EXPECT_GT(comeAnywhere, 0) << "no row shows it";
      }
    }
  }
}

// The recordings made on Windows that the catalogue folds in, as the recorder wrote them.
std::vector<Recording> WindowsRecordings() {
  std::vector<Recording> recordings;
  for (const std::string& path : FilesIn(std::string(MORAVANE_DOCS) + "\\windows", "paint-order.")) {
    ReadError error;
    const std::optional<Recording> recording = ReadWindowsRecording(FileText(path), error);
    if (!recording) ADD_FAILURE() << path << ":" << error.Line << ": " << error.What;
    if (recording) recordings.push_back(*recording);
  }
  return recordings;
}

// The recorder's own recording under Wine, edited as if it had been made on Windows.
std::string AsIfOnWindows(std::string text) {
  const auto replaceLine = [&text](const std::string& start, const std::string& line) {
    const std::size_t at = text.find("\n" + start) + 1;
    text.replace(at, text.find('\n', at) - at, line);
  };
  replaceLine("- Windows: ", "- Windows: 10.0.22631");
  replaceLine("- Wine: ", "- Wine: none");
  return text;
}

std::size_t LineOf(const std::string& text, const std::string& part) {
  const std::string before = text.substr(0, text.find(part));
  return static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n')) + 1;
}

TEST(PaintOrderCatalogue, FoldsInARecordingMadeOnWindowsRowByRow) {
  std::string text = AsIfOnWindows(WineRecordingText());
  // Row 52, "Invalidate, erase" on the text box: its erase returned 0 there.
  const std::string row = "| 52 | RedrawWindow 0x0005 | text box |";
  const std::size_t at = text.find("R WM_ERASEBKGND   lResult:  &H00000001", text.find(row));
  text.replace(at, 38, "R WM_ERASEBKGND   lResult:  &H00000000");
  ReadError error;
  const std::optional<Recording> windows = ReadWindowsRecording(text, error);
  ASSERT_TRUE(windows) << "line " << error.Line << ": " << error.What;
  const std::string catalogue = RenderCatalogue(WineRecording(), {*windows});
  EXPECT_EQ(Count(catalogue, "| **same** · recorded on Windows 10.0.22631, 96 DPI: the same lines<br>"), 97u);
  EXPECT_EQ(Count(catalogue, "**differs**"), 1u);
  EXPECT_NE(
      catalogue.find("| `0x0005` | Invalidate, erase<br>RDW_INVALIDATE \\| RDW_ERASE | text box | nothing | "
                     "client | `WM_PAINT { WM_ERASEBKGND → 1 } → 0` |  | **differs** · recorded on Windows "
                     "10.0.22631, 96 DPI: during the call nothing, later `WM_PAINT { WM_ERASEBKGND → 0 } → 0`<br>"),
      std::string::npos);
  // The evidence the recording outweighs stays beside it, every note cited as before.
  const std::string unrecorded = RenderCatalogue(WineRecording(), {});
  EXPECT_EQ(Count(catalogue, "[E"), Count(unrecorded, "[E"));
  EXPECT_EQ(catalogue.substr(catalogue.find("## The evidence")), unrecorded.substr(unrecorded.find("## The evidence")));
}

// What a recording says beyond the lines, the system's settings and a row's note, comes back as it was written.
TEST(PaintOrderCatalogue, ReadsBackTheSettingsARecordingWasMadeWithAndEachRowsNote) {
  Recording written = WineRecording();
  ASSERT_FALSE(written.Traces.empty());
  written.System.Composed = "no";
  written.System.VisualStyles = "off";
  written.System.HighContrast = "on";
  written.System.RemoteSession = "yes";
  written.Traces[7].Note = "the last 2 lines of Later came after the row had ended";
  ReadError error;
  const std::optional<Recording> read = ReadRecording(WriteRecording(written), error);
  ASSERT_TRUE(read) << "line " << error.Line << ": " << error.What;
  EXPECT_EQ(read->System.Composed, "no");
  EXPECT_EQ(read->System.VisualStyles, "off");
  EXPECT_EQ(read->System.HighContrast, "on");
  EXPECT_EQ(read->System.RemoteSession, "yes");
  EXPECT_EQ(read->System.Controls, written.System.Controls);
  EXPECT_EQ(read->System.DpiAwareness, written.System.DpiAwareness);
  for (std::size_t row = 0; row < written.Traces.size(); ++row) {
    EXPECT_EQ(read->Traces[row].Note, written.Traces[row].Note) << "row " << row + 1;
  }
}

TEST(PaintOrderCatalogue, RefusesARecordingItCannotTrustWithItsLineAndWhatIsWrong) {
  const std::string windows = AsIfOnWindows(WineRecordingText());
  ReadError error;
  EXPECT_FALSE(ReadWindowsRecording(WineRecordingText(), error));
  EXPECT_EQ(error.Line, LineOf(WineRecordingText(), "- Wine: "));
  EXPECT_NE(error.What.find("made under Wine"), std::string::npos) << error.What;

  const std::size_t cut = windows.find("| 40 |");
  EXPECT_FALSE(ReadWindowsRecording(windows.substr(0, cut), error));
  EXPECT_EQ(error.Line, LineOf(windows, "| 40 |"));
  EXPECT_NE(error.What.find("cut short"), std::string::npos) << error.What;

  std::string other = windows;
  other.replace(other.find("- Catalogue: ") + 13, 2, "48");
  EXPECT_FALSE(ReadWindowsRecording(other, error));
  EXPECT_EQ(error.Line, LineOf(windows, "- Catalogue: "));
  EXPECT_NE(error.What.find("not for the present"), std::string::npos) << error.What;

  std::string malformed = windows;
  malformed.replace(malformed.find("lResult:  &H", malformed.find("| 3 |")), 20, "lResult: 0");
  EXPECT_FALSE(ReadWindowsRecording(malformed, error));
  EXPECT_EQ(error.Line, LineOf(windows, "| 3 |"));
  EXPECT_NE(error.What.find("malformed"), std::string::npos) << error.What;
}

// The cells of the table's rows, a vector a row.
std::vector<std::vector<std::string>> TableRows(const std::string& catalogue) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(catalogue.substr(catalogue.find("|---|")));
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line) && line.rfind("| ", 0) == 0) {
    std::vector<std::string> cells;
    for (std::size_t start = 2, end; (end = line.find(" |", start)) != std::string::npos; start = end + 3) {
      while (end > 0 && line[end - 1] == '\\') end = line.find(" |", end + 1);  // an escaped bar
      cells.push_back(line.substr(start, end - start));
    }
    rows.push_back(cells);
  }
  return rows;
}

TEST(PaintOrderCatalogue, ReadsAtAGlanceBothTargetsTogetherByFlagWordEachNoteOnce) {
  const std::string catalogue = RenderCatalogue(WineRecording(), {});
  EXPECT_LE(LineOf(catalogue, "|---|") + 1, 40u) << "the first row is past the first screen";
  const std::vector<std::vector<std::string>> rows = TableRows(catalogue);
  ASSERT_EQ(rows.size(), 2 * PaintOrderCases().size());
  std::string lastFlags;
  for (std::size_t row = 0; row < rows.size(); ++row) {
    ASSERT_EQ(rows[row].size(), 8u) << "a row that a renderer would not show as one: " << row + 1;
    for (const std::string& cell : rows[row]) EXPECT_LE(cell.size(), 250u) << cell;
    EXPECT_EQ(rows[row][2], row % 2 == 0 ? "button" : "text box");
    if (row % 2 == 1) {
      EXPECT_EQ(rows[row][0] + rows[row][1], rows[row - 1][0] + rows[row - 1][1]) << "a request's other target";
    }
    // RedrawWindow's words in ascending order, InvalidateRect's after them.
    const bool word = rows[row][0].rfind("`0x", 0) == 0;
    if (word) {
      EXPECT_LE(lastFlags, rows[row][0]);
    }
    lastFlags = word ? rows[row][0] : "~";
  }
  std::set<std::string> notes;
  std::istringstream lines(catalogue.substr(catalogue.find("## The evidence")));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("- **[E", 0) == 0) {
      EXPECT_TRUE(notes.insert(line.substr(line.find("** ") + 3)).second) << line;
    }
  }
  EXPECT_GT(notes.size(), 20u);
}

// With MORAVANE_WRITE_CATALOGUE set, the fresh catalogue is written there instead of compared.
TEST(PaintOrderCatalogue, TheCommittedFileIsWhatThePlatformDoesNow) {
  const std::vector<Recording> windows = WindowsRecordings();
  ASSERT_FALSE(HasFailure()) << "a recording in docs/windows is refused; nothing is written";
  ASSERT_EQ(WineRecording().Traces.size(), 2 * PaintOrderCases().size());
  const std::string fresh = RenderCatalogue(WineRecording(), windows);
  if (const char* out = std::getenv("MORAVANE_WRITE_CATALOGUE")) {
    std::ofstream file(out, std::ios::binary);
    file << fresh;
    file.close();
    ASSERT_TRUE(file) << "could not write " << out;
    std::printf("Wrote %s\n", out);
    return;
  }
  EXPECT_TRUE(FileText(std::string(MORAVANE_DOCS) + "\\paint-order.md") == fresh)
      << "docs/paint-order.md is out of date: run scripts/catalogue";
}

}  // namespace

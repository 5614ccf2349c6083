#include "paint_order/comparison.h"

#include <algorithm>

const Rows& ExpectedRows(const PaintOrderCase& c, Target target) {
  return target == Target::TextBox && c.TextBox ? *c.TextBox : c.Button;
}

const Evidence& EvidenceFor(const PaintOrderCase& c, Target target) {
  return target == Target::TextBox && c.TextBoxOnWindows ? *c.TextBoxOnWindows : c.OnWindows;
}

const char* RemarkFor(const PaintOrderCase& c, Target target) {
  return target == Target::TextBox && c.TextBoxRemark != nullptr ? c.TextBoxRemark : c.Remark;
}

std::size_t Comparison::Same() const {
  return static_cast<std::size_t>(std::count_if(
      Compared.begin(), Compared.end(), [](const RowComparison& row) { return !row.Differs && row.Absent.empty(); }));
}

std::size_t Comparison::SameButOptional() const {
  return static_cast<std::size_t>(std::count_if(
      Compared.begin(), Compared.end(), [](const RowComparison& row) { return !row.Differs && !row.Absent.empty(); }));
}

std::size_t Comparison::Differing() const {
  return static_cast<std::size_t>(
      std::count_if(Compared.begin(), Compared.end(), [](const RowComparison& row) { return row.Differs; }));
}

std::size_t Comparison::DifferingWhereSame() const {
  const std::vector<PaintOrderCase>& cases = PaintOrderCases();
  return static_cast<std::size_t>(std::count_if(Compared.begin(), Compared.end(), [&](const RowComparison& row) {
    const std::string& verdict = EvidenceFor(cases[row.Case], row.On).Verdict;
    return row.Differs && (verdict == "same" || verdict == "same in part");
  }));
}

Comparison Compare(const Recording& recording, bool optionalMayBeMissing) {
  const std::vector<PaintOrderCase>& cases = PaintOrderCases();
  Comparison comparison;
  for (std::size_t row = 0; row < recording.Traces.size() && row / 2 < cases.size(); ++row) {
    RowComparison compared{row / 2, row % 2 == 0 ? Target::Button : Target::TextBox, RowsOf(recording.Traces[row]), {}};
    compared.Differs = !Matches(compared.Recorded, ExpectedRows(cases[compared.Case], compared.On),
                                optionalMayBeMissing, &compared.Absent);
    if (compared.Differs) compared.Absent.clear();
    comparison.Compared.push_back(compared);
  }
  return comparison;
}

namespace {

std::string Indented(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "      " + line + "\n";
  return text.empty() ? "      nothing\n" : text;
}

std::string Lines(const Rows& rows) {
  return "    during the call:\n" + Indented(LinesOf(rows, When::During)) + "    later:\n" +
         Indented(LinesOf(rows, When::Later));
}

std::string RowHeading(const RowComparison& row) {
  const PaintOrderCase& c = PaintOrderCases()[row.Case];
  return "Row " + std::to_string(2 * row.Case + (row.On == Target::Button ? 1 : 2)) + ": " + RequestText(c.Request) +
         ", on the " + TargetName(row.On) + " (\"" + c.Title + "\")\n";
}

}  // namespace

std::string Report(const Comparison& comparison, const std::string& place) {
  const std::vector<PaintOrderCase>& cases = PaintOrderCases();
  std::string text = "Recorded " + std::to_string(comparison.Compared.size()) + " rows on " + place + ":\n";
  text += "  " + std::to_string(comparison.Same()) + " the same as Wine's record,\n";
  text += "  " + std::to_string(comparison.SameButOptional()) +
          " the same but for optional lines that the catalogue allows to be absent,\n";
  text += "  " + std::to_string(comparison.Differing()) + " differing.\n";
  for (const RowComparison& row : comparison.Compared) {
    if (row.Differs) {
      text += "\n" + RowHeading(row) + "  Wine's lines:\n" + Lines(ExpectedRows(cases[row.Case], row.On)) +
              "  the lines recorded:\n" + Lines(row.Recorded);
    } else if (!row.Absent.empty()) {
      text += "\n" + RowHeading(row) + "  as Wine's, without the optional lines the catalogue allows to be absent:\n" +
              Lines(row.Absent);
    }
  }
  text += "\nRows that differ: " + std::to_string(comparison.Differing()) + "\n";
  text += "Rows the catalogue calls \"same\" that differ: " + std::to_string(comparison.DifferingWhereSame()) + "\n";
  return text;
}

Conclusion Conclude(const Recording& recording) {
  const Comparison comparison = Compare(recording, recording.System.Wine.empty());
  return {Report(comparison, PlaceOf(recording.System)),
          comparison.Differing() == 0 ? Recorded : RecordedWithDifferences};
}

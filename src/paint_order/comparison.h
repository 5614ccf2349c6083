// A recording row by row against Wine's record in the catalogue: the one comparison, under Wine and on Windows.
#pragma once

#include <string>
#include <vector>

#include "paint_order/cases.h"
#include "paint_order/recording.h"

// The rows Wine's record expects of one request on one target.
const Rows& ExpectedRows(const PaintOrderCase& c, Target target);
// What sources that reflect Windows say of a request on one target, and why Wine answered as it did there.
const Evidence& EvidenceFor(const PaintOrderCase& c, Target target);
const char* RemarkFor(const PaintOrderCase& c, Target target);

struct RowComparison {
  std::size_t Case;
  Target On;
  Rows Recorded;
  Rows Absent;           // optional rows Windows left out, where the catalogue allows it
  bool Differs = false;  // the rows are not the expected ones, even where optional rows may be missing
};

struct Comparison {
  std::vector<RowComparison> Compared;     // in the catalogue's order
  std::size_t Same() const;                // rows exactly as Wine's record
  std::size_t SameButOptional() const;     // rows as Wine's record but for optional rows left out
  std::size_t Differing() const;           // the three counts add up to the rows compared
  std::size_t DifferingWhereSame() const;  // differing rows whose evidence says "same", in whole or in part
};

// Under Wine every expected row must be there; on Windows an optional one may be missing.
Comparison Compare(const Recording& recording, bool optionalMayBeMissing);

// What the recorder tells its user: how many rows are as Wine's, and each row that is not, with both lines.
std::string Report(const Comparison& comparison, const std::string& place);

// The recorder's exit codes.
enum RecorderExit : int { Recorded = 0, RecordedWithDifferences = 1, NotRecorded = 2 };

struct Conclusion {
  std::string Report;
  RecorderExit ExitCode;
};
// How the recorder ends once its recording is written: Windows may leave optional rows out, Wine may not.
Conclusion Conclude(const Recording& recording);

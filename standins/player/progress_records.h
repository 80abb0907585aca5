// Progress records in the shapes the real tools write through a pipe.
#pragma once

#include <string>
#include <vector>

#include "scenario_step.h"

class CProgressRecords {
public:
  // "[" + 58 cells + "]": floor(58 * p / 100) cells of "=", the figure "%.1f%" written over
  // the cells from cell 27 (cell 26 for the wider "100.0%"). ASCII.
  static std::string DismBar(double percent);
  // A bar as one pipe record: bar + " " + CR LF + CR LF, or CR + bar for in-place redraws.
  static std::string DismRecord(double percent, RecordStyle style);
  // "验证 N% 已完成。" + CR in UTF-16LE, as bytes.
  static std::string SfcRecord(int percent);
  // first, first + step, ... below last, then last itself; figures in tenths.
  static std::vector<long long> TenthsFromTo(double first, double last, double step);
};

#include "progress_records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kBarCells = 58;

std::string Utf16Le(const std::u16string& text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace

std::string CProgressRecords::DismBar(double percent) {
  // Working in tenths keeps 58 * p / 100 exact where a double would round 0.1 steps.
  long long tenths = std::llround(percent * 10.0);
  long long filled = kBarCells * tenths / 1000;
  std::string cells(kBarCells, ' ');
  for (long long i = 0; i < filled && i < kBarCells; ++i) cells[i] = '=';
  char figure[16];
  std::snprintf(figure, sizeof figure, "%lld.%lld%%", tenths / 10, tenths % 10);
  std::string text(figure);
  size_t start = text.size() >= 6 ? 26 : 27;
  cells.replace(start, text.size(), text);
  std::string bar;
  bar.reserve(kBarCells + 2);
  bar.push_back('[');
  bar.append(cells);
  bar.push_back(']');
  return bar;
}

std::string CProgressRecords::DismRecord(double percent, RecordStyle style) {
  std::string record;
  if (style == RecordStyle::CarriageReturn) record.push_back('\r');
  record.append(DismBar(percent));
  if (style == RecordStyle::Lines) record.append(" \r\n\r\n");
  return record;
}

std::string CProgressRecords::SfcRecord(int percent) {
  std::u16string text = u"\u9A8C\u8BC1 ";  // 验证
  for (char c : std::to_string(percent)) text += static_cast<char16_t>(c);
  text += u"% \u5DF2\u5B8C\u6210\u3002\r";  // 已完成。
  return Utf16Le(text);
}

std::vector<long long> CProgressRecords::TenthsFromTo(double first, double last, double step) {
  long long from = std::llround(first * 10.0);
  long long to = std::llround(last * 10.0);
  long long by = std::max(1LL, std::llround(step * 10.0));
  std::vector<long long> values;
  for (long long v = from; v < to; v += by) values.push_back(v);
  values.push_back(to);
  return values;
}

#pragma once
// Message records in the manner of Wine's conformance tests: a window under test appends
// what it receives; a test compares the record with a static table of expected entries and
// prints message names, not numbers, when they differ.
#include <windows.h>

#include <string>
#include <vector>

struct MessageRecord {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  const char* who;  // which window, when several write into one record
};

enum MessageCheck : unsigned {
  kAny = 0,
  kWParam = 1,    // wParam must match
  kLParam = 2,    // lParam must match
  kOptional = 4,  // may be missing (differences between Wine and Windows)
};

struct ExpectedMessage {
  UINT message;
  unsigned checks;
  WPARAM wParam;
  LPARAM lParam;
  const char* who;  // null: any window
};

class CMessageLog {
 public:
  void Add(UINT message, WPARAM wParam, LPARAM lParam, const char* who = "") {
    m_records.push_back({message, wParam, lParam, who});
  }
  void Clear() { m_records.clear(); }
  const std::vector<MessageRecord>& Records() const { return m_records; }
  bool Contains(UINT message) const;
  // The expected entries must appear in this order; messages not in the table may come in
  // between (the platform sends more than a test cares about). Empty on success, else a
  // readable account of the first mismatch and the whole record.
  std::string Match(const std::vector<ExpectedMessage>& expected) const;
  std::string Dump() const;

  static std::string Name(UINT message);

 private:
  std::vector<MessageRecord> m_records;
};

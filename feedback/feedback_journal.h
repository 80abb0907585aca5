// Appends call records to the journal file named by ZSR_FEEDBACK_JOURNAL, for tests that
// watch how a program uses the service. Without that variable nothing is written.
#pragma once

#include "journal_line.h"

class CFeedbackJournal {
 public:
  // Writes the line and its line end in one piece; callers on other threads or in other
  // processes sharing the file never split it. A journal that cannot be written is skipped:
  // the service works the same with or without it.
  static void Append(const CJournalLine& line);
};

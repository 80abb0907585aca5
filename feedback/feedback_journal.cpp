#include "feedback_journal.h"

#include <windows.h>

#include <mutex>
#include <string>

#include "feedback_settings.h"
#include "scoped_handle.h"

namespace {

// Held for the whole write, so the file lock below is never asked for twice by one process.
std::mutex& JournalMutex() {
  static std::mutex mutex;
  return mutex;
}

// Locks the whole file (and any length it may grow to) for the life of the object.
class CWholeFileLock {
 public:
  explicit CWholeFileLock(HANDLE file) : m_hFile(file) {
    m_bLocked = LockFileEx(m_hFile, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &m_overlapped) != FALSE;
  }
  CWholeFileLock(const CWholeFileLock&) = delete;
  CWholeFileLock& operator=(const CWholeFileLock&) = delete;
  ~CWholeFileLock() {
    if (m_bLocked) UnlockFileEx(m_hFile, 0, MAXDWORD, MAXDWORD, &m_overlapped);
  }

 private:
  HANDLE m_hFile;
  OVERLAPPED m_overlapped{};
  bool m_bLocked = false;
};

}  // namespace

void CFeedbackJournal::Append(const CJournalLine& line) {
  const std::wstring path = CFeedbackSettings::JournalPath();
  if (path.empty()) return;

  const std::string record = line.Text() + "\n";
  std::lock_guard<std::mutex> guard(JournalMutex());
  // Opened for each record: a test may remove or replace the file between calls.
  CScopedHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  // Append-only access writes at the end as it is when the write happens; the lock keeps
  // writers of other processes from mixing into this record.
  CWholeFileLock lock(file.Get());
  DWORD written = 0;
  WriteFile(file.Get(), record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
}

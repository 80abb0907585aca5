#include "app/interruptible_time.h"

#include <ctime>

CInterruptibleTime::CInterruptibleTime() : m_hInterrupted(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

bool CInterruptibleTime::Sleep(int milliseconds) {
  // Without the event a pause could not be cut short; refusing it keeps shutdown prompt.
  if (!m_hInterrupted) return false;
  const DWORD wait = milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0;
  return ::WaitForSingleObject(m_hInterrupted.Get(), wait) == WAIT_TIMEOUT;
}

void CInterruptibleTime::Interrupt() {
  if (m_hInterrupted) ::SetEvent(m_hInterrupted.Get());
}

std::int64_t CInterruptibleTime::UnixTime() { return static_cast<std::int64_t>(std::time(nullptr)); }

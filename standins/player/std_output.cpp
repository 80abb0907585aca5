#include "std_output.h"

#include <algorithm>

CStdOutput::CStdOutput() : m_hOutput(GetStdHandle(STD_OUTPUT_HANDLE)) {}

bool CStdOutput::Write(const std::string& bytes) {
  size_t piece = m_nPieceSize == 0 ? bytes.size() : m_nPieceSize;
  for (size_t pos = 0; pos < bytes.size(); pos += piece) {
    if (!WriteAll(bytes.data() + pos, std::min(piece, bytes.size() - pos))) return false;
    bool flush = m_nFlush == Flush::Always || (m_nFlush == Flush::Pieces && m_nPieceSize > 0);
    if (flush) FlushFileBuffers(m_hOutput);  // fails harmlessly on a console
  }
  return true;
}

bool CStdOutput::WriteAll(const char* data, size_t count) {
  if (!m_hOutput || m_hOutput == INVALID_HANDLE_VALUE) return false;
  while (count > 0) {
    DWORD written = 0;
    DWORD chunk = static_cast<DWORD>(std::min<size_t>(count, 1u << 20));
    if (!WriteFile(m_hOutput, data, chunk, &written, nullptr) || written == 0) return false;
    data += written;
    count -= written;
  }
  return true;
}

// The tool's standard output, written as a real tool writes a pipe: raw bytes, no C runtime
// buffering or newline translation, optionally cut into pieces that each reach the reader
// on their own.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class CStdOutput {
public:
  CStdOutput();
  void SetPieceSize(size_t size) { m_nPieceSize = size; }
  // A flushed write waits until the reader has taken it, so no two pieces can merge into
  // one read. By default only pieces are flushed: a whole write then ends like a real
  // tool's, without waiting for a reader that may never come.
  void SetFlush(bool flush) { m_nFlush = flush ? Flush::Always : Flush::Never; }
  bool Write(const std::string& bytes);

private:
  bool WriteAll(const char* data, size_t count);
  HANDLE m_hOutput;  // borrowed from the process
  size_t m_nPieceSize = 0;
  enum class Flush { Pieces, Always, Never };
  Flush m_nFlush = Flush::Pieces;
};

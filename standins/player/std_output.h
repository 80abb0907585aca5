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
  // With flushing on, each piece waits until the reader has taken it, so no two pieces
  // can merge into one read.
  void SetFlush(bool flush) { m_bFlush = flush; }
  bool Write(const std::string& bytes);

private:
  bool WriteAll(const char* data, size_t count);
  HANDLE m_hOutput;  // borrowed from the process
  size_t m_nPieceSize = 0;
  bool m_bFlush = true;
};

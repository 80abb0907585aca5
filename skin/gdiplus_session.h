#pragma once
#include <windows.h>

// The one owner of the GDI+ token: the program (or a test run) keeps exactly one of these
// alive for as long as any picture exists.
class CGdiplusSession {
 public:
  CGdiplusSession();
  ~CGdiplusSession();
  CGdiplusSession(const CGdiplusSession&) = delete;
  CGdiplusSession& operator=(const CGdiplusSession&) = delete;

  bool IsStarted() const { return m_token != 0; }

 private:
  ULONG_PTR m_token = 0;
};

#pragma once
// Real time for the run: pauses wait on an event, so that shutdown ends them at once.
#include <windows.h>

#include "common/scoped_handle.h"
#include "workflow/repair_time.h"

class CInterruptibleTime : public IRepairTime {
 public:
  CInterruptibleTime();

  bool Sleep(int milliseconds) override;
  void Interrupt() override;
  std::int64_t UnixTime() override;

 private:
  CScopedHandle m_hInterrupted;
};

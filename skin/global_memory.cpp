#include "skin/global_memory.h"

#include <cstring>

bool CGlobalMemory::Fill(const void* bytes, SIZE_T size) {
  if (!m_hBlock) return false;
  void* target = GlobalLock(m_hBlock);
  if (!target) return false;
  std::memcpy(target, bytes, size);
  GlobalUnlock(m_hBlock);
  return true;
}

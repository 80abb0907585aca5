#include "skin/text_alignment.h"

namespace {
// The DrawText flag values, kept here so this stays free of the platform headers.
constexpr unsigned kLeft = 0x0, kCenter = 0x1, kRight = 0x2, kVCenter = 0x4, kWordBreak = 0x10,
                   kSingleLine = 0x20;
}  // namespace

std::optional<unsigned> DrawTextStaticFlags(int mode) {
  switch (mode) {
    case 0: return kWordBreak | kVCenter;
    case 1:
    case 4: return kLeft | kVCenter | kSingleLine;
    case 2: return kCenter | kVCenter | kSingleLine;
    case 3: return kRight | kWordBreak | kVCenter;
    default: return std::nullopt;
  }
}

unsigned StateInfoStaticFlags(int mode) {
  switch (mode) {
    case 2: return kCenter | kVCenter | kSingleLine;
    case 3: return kRight | kVCenter | kSingleLine;
    case 4: return kLeft | kWordBreak | kVCenter;
    case 5: return kCenter | kWordBreak | kVCenter;
    case 6: return kRight | kWordBreak | kVCenter;
    default: return kLeft | kVCenter | kSingleLine;
  }
}

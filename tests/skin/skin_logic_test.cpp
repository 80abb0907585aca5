// Window-free rules of the skinned controls: the picture button's states and the drawn
// statics' alignment flags.
#include <gtest/gtest.h>

#include <vector>

#include "skin/png_button_state.h"
#include "skin/text_alignment.h"

namespace {

enum class EEvent { HitTest, Down, Up, Reset };

struct Step {
  EEvent event;
  bool enabled;
  bool inside;
  EPngButtonState expected;
  bool redraw;
};

struct Sequence {
  const char* name;
  std::vector<Step> steps;
};

bool Apply(CPngButtonState& state, const Step& step) {
  switch (step.event) {
    case EEvent::HitTest: return state.OnHitTest(step.enabled, step.inside);
    case EEvent::Down: return state.OnButtonDown(step.enabled, step.inside);
    case EEvent::Up: return state.OnButtonUp(step.enabled, step.inside);
    case EEvent::Reset: return state.OnReset(step.enabled, step.inside);
  }
  return false;
}

constexpr auto N = EPngButtonState::Normal;
constexpr auto H = EPngButtonState::Hover;
constexpr auto P = EPngButtonState::Pressed;
constexpr auto D = EPngButtonState::Disabled;
constexpr auto kHit = EEvent::HitTest;
constexpr auto kDown = EEvent::Down;
constexpr auto kUp = EEvent::Up;
constexpr auto kReset = EEvent::Reset;

}  // namespace

TEST(PngButtonState, Sequences) {
  const Sequence sequences[] = {
      {"click inside",
       {{kHit, true, true, H, true}, {kHit, true, true, H, false}, {kDown, true, true, P, true},
        {kUp, true, true, H, true}, {kHit, true, false, N, true}}},
      {"release outside stays pressed until the owner resets",
       {{kHit, true, true, H, true},
        {kDown, true, true, P, true},
        {kUp, true, false, P, false},
        {kHit, true, false, P, false},
        {kHit, true, true, P, false},
        {kReset, true, true, P, false},
        {kReset, true, false, N, true},
        {kReset, true, false, N, false}}},
      {"down outside the client area changes nothing",
       {{kDown, true, false, N, false}, {kUp, true, false, N, false}}},
      {"reset returns hover to normal",
       {{kHit, true, true, H, true}, {kReset, true, false, N, true}}},
      {"disabled shows its picture at the first notice of any kind",
       {{kHit, false, true, D, true}, {kHit, false, false, D, false}, {kDown, false, true, D, false},
        {kReset, false, true, D, false}}},
      {"disabled through reset and through a click",
       {{kReset, false, true, D, true}, {kReset, true, false, N, true}, {kUp, false, true, D, true}}},
      {"enabled again from disabled: only leaving the button returns to normal",
       {{kDown, false, true, D, true}, {kHit, true, true, D, false}, {kReset, true, false, N, true}}},
  };
  for (const Sequence& sequence : sequences) {
    CPngButtonState state;
    ASSERT_EQ(state.State(), N);
    int index = 0;
    for (const Step& step : sequence.steps) {
      const bool redraw = Apply(state, step);
      EXPECT_EQ(state.State(), step.expected) << sequence.name << ", step " << index;
      EXPECT_EQ(redraw, step.redraw) << sequence.name << ", step " << index;
      ++index;
    }
  }
}

TEST(TextAlignment, ModesToDrawTextFlags) {
  struct Case {
    int mode;
    std::optional<unsigned> plain;
    unsigned status;
  } cases[] = {
      {-1, std::nullopt, 0x24}, {0, 0x14, 0x24}, {1, 0x24, 0x24}, {2, 0x25, 0x25},
      {3, 0x16, 0x26},          {4, 0x24, 0x14}, {5, std::nullopt, 0x15},
      {6, std::nullopt, 0x16},  {7, std::nullopt, 0x24},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DrawTextStaticFlags(c.mode), c.plain) << "mode " << c.mode;
    EXPECT_EQ(StateInfoStaticFlags(c.mode), c.status) << "mode " << c.mode;
  }
}

#pragma once
// Window-free state machine of the four-picture button: which picture it shows, worked out
// from hit tests, clicks and the owner's periodic reset. Each event answers whether the
// state changed, i.e. whether the button must be redrawn.
enum class EPngButtonState : int { Normal = 1, Hover = 2, Pressed = 3, Disabled = 4 };

class CPngButtonState {
 public:
  EPngButtonState State() const { return m_state; }

  // Non-client hit test; `inside`: the point lies in the button's window rectangle.
  bool OnHitTest(bool enabled, bool inside);
  // Left button down / up; `inside`: the point lies in the client rectangle.
  bool OnButtonDown(bool enabled, bool inside);
  bool OnButtonUp(bool enabled, bool inside);
  // The owner's check with the cursor position, since the button hears nothing once the
  // cursor has left it: the only way out of the pressed state after a release outside.
  bool OnReset(bool enabled, bool inside);

 private:
  bool Become(EPngButtonState state);
  bool DisabledCheck() { return Become(EPngButtonState::Disabled); }

  EPngButtonState m_state = EPngButtonState::Normal;
};

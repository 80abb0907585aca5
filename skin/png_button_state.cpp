#include "skin/png_button_state.h"

bool CPngButtonState::Become(EPngButtonState state) {
  if (m_state == state) return false;
  m_state = state;
  return true;
}

bool CPngButtonState::OnHitTest(bool enabled, bool inside) {
  if (!enabled) return DisabledCheck();
  if (inside && m_state == EPngButtonState::Normal) return Become(EPngButtonState::Hover);
  if (!inside && m_state == EPngButtonState::Hover) return Become(EPngButtonState::Normal);
  return false;
}

bool CPngButtonState::OnButtonDown(bool enabled, bool inside) {
  if (!enabled) return DisabledCheck();
  return inside && Become(EPngButtonState::Pressed);
}

bool CPngButtonState::OnButtonUp(bool enabled, bool inside) {
  if (!enabled) return DisabledCheck();
  return inside && Become(EPngButtonState::Hover);
}

bool CPngButtonState::OnReset(bool enabled, bool inside) {
  if (!enabled) return DisabledCheck();
  return !inside && Become(EPngButtonState::Normal);
}

#include "skin/parent_font.h"

CFont CopyParentFont(HWND hWnd, int enlarge) {
  HWND parent = ::GetParent(hWnd);
  auto source = parent ? reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
  if (!source) source = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (!source) source = static_cast<HFONT>(::GetStockObject(ANSI_VAR_FONT));
  LOGFONTW font{};
  if (!source || ::GetObjectW(source, sizeof(font), &font) == 0) return {};
  font.lfHeight -= enlarge;
  return CFont(::CreateFontIndirectW(&font));
}

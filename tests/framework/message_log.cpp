#include "message_log.h"

#include <commctrl.h>

#include <cstdio>

namespace {

struct NamedMessage {
  UINT message;
  const char* name;
};

#define NAMED(m) {m, #m}
constexpr NamedMessage kNames[] = {
    NAMED(WM_NULL), NAMED(WM_CREATE), NAMED(WM_DESTROY), NAMED(WM_MOVE), NAMED(WM_SIZE),
    NAMED(WM_ACTIVATE), NAMED(WM_SETFOCUS), NAMED(WM_KILLFOCUS), NAMED(WM_ENABLE), NAMED(WM_SETTEXT),
    NAMED(WM_GETTEXT), NAMED(WM_GETTEXTLENGTH), NAMED(WM_PAINT), NAMED(WM_CLOSE), NAMED(WM_QUIT),
    NAMED(WM_ERASEBKGND), NAMED(WM_SHOWWINDOW), NAMED(WM_ACTIVATEAPP), NAMED(WM_SETCURSOR),
    NAMED(WM_MOUSEACTIVATE), NAMED(WM_GETMINMAXINFO), NAMED(WM_DRAWITEM), NAMED(WM_SETFONT),
    NAMED(WM_GETFONT), NAMED(WM_QUERYDRAGICON), NAMED(WM_WINDOWPOSCHANGING), NAMED(WM_WINDOWPOSCHANGED),
    NAMED(WM_NOTIFY), NAMED(WM_GETICON), NAMED(WM_SETICON), NAMED(WM_NCCREATE), NAMED(WM_NCDESTROY),
    NAMED(WM_NCCALCSIZE), NAMED(WM_NCHITTEST), NAMED(WM_NCPAINT), NAMED(WM_NCACTIVATE),
    NAMED(WM_GETDLGCODE), NAMED(WM_NCMOUSEMOVE), NAMED(WM_NCLBUTTONDOWN), NAMED(WM_NCRBUTTONDOWN),
    NAMED(WM_KEYDOWN), NAMED(WM_KEYUP), NAMED(WM_CHAR), NAMED(WM_SYSKEYDOWN), NAMED(WM_INITDIALOG),
    NAMED(WM_COMMAND), NAMED(WM_SYSCOMMAND), NAMED(WM_TIMER), NAMED(WM_HSCROLL), NAMED(WM_VSCROLL),
    NAMED(WM_INITMENU), NAMED(WM_ENTERIDLE), NAMED(WM_CTLCOLORBTN), NAMED(WM_CTLCOLORDLG),
    NAMED(WM_CTLCOLORSTATIC), NAMED(WM_MOUSEMOVE), NAMED(WM_LBUTTONDOWN), NAMED(WM_LBUTTONUP),
    NAMED(WM_LBUTTONDBLCLK), NAMED(WM_RBUTTONDOWN), NAMED(WM_MBUTTONDOWN), NAMED(WM_PARENTNOTIFY),
    NAMED(WM_MOUSEHOVER), NAMED(WM_MOUSELEAVE), NAMED(WM_PRINTCLIENT), NAMED(WM_CHANGEUISTATE),
    NAMED(WM_UPDATEUISTATE), NAMED(WM_QUERYUISTATE), NAMED(WM_STYLECHANGING), NAMED(WM_STYLECHANGED),
    NAMED(WM_IME_SETCONTEXT), NAMED(WM_IME_NOTIFY), NAMED(WM_NCMOUSELEAVE), NAMED(WM_CANCELMODE),
    NAMED(WM_CHILDACTIVATE), NAMED(WM_NEXTDLGCTL), NAMED(WM_ENTERSIZEMOVE), NAMED(WM_EXITSIZEMOVE),
    NAMED(WM_CAPTURECHANGED), NAMED(WM_SYNCPAINT), NAMED(DM_GETDEFID), NAMED(DM_SETDEFID),
    NAMED(BM_GETCHECK), NAMED(BM_SETCHECK), NAMED(BM_GETSTATE), NAMED(BM_SETSTATE), NAMED(BM_SETSTYLE),
    NAMED(BM_CLICK), NAMED(SBM_SETSCROLLINFO), NAMED(SBM_GETSCROLLINFO), NAMED(WM_USER), NAMED(WM_APP),
};
#undef NAMED

}  // namespace

std::string CMessageLog::Name(UINT message) {
  for (const auto& named : kNames) {
    if (named.message == message) return named.name;
  }
  char buffer[32];
  if (message >= WM_APP) {
    std::snprintf(buffer, sizeof buffer, "WM_APP+%u", message - WM_APP);
  } else if (message >= WM_USER) {
    std::snprintf(buffer, sizeof buffer, "WM_USER+%u", message - WM_USER);
  } else {
    std::snprintf(buffer, sizeof buffer, "0x%04X", message);
  }
  return buffer;
}

bool CMessageLog::Contains(UINT message) const {
  for (const auto& record : m_records) {
    if (record.message == message) return true;
  }
  return false;
}

std::string CMessageLog::Dump() const {
  std::string text;
  char buffer[96];
  for (const auto& record : m_records) {
    std::snprintf(buffer, sizeof buffer, "  %s%s%s wParam=%#llx lParam=%#llx\n", record.who, *record.who ? ": " : "",
                  Name(record.message).c_str(),
                  static_cast<unsigned long long>(record.wParam), static_cast<unsigned long long>(record.lParam));
    text += buffer;
  }
  return text;
}

std::string CMessageLog::Match(const std::vector<ExpectedMessage>& expected) const {
  size_t next = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    const ExpectedMessage& want = expected[i];
    size_t found = next;
    for (; found < m_records.size(); ++found) {
      const MessageRecord& got = m_records[found];
      if (got.message != want.message) continue;
      if (want.who && std::string(want.who) != got.who) continue;
      if ((want.checks & kWParam) && got.wParam != want.wParam) continue;
      if ((want.checks & kLParam) && got.lParam != want.lParam) continue;
      break;
    }
    if (found == m_records.size()) {
      if (want.checks & kOptional) continue;
      char buffer[200];
      std::snprintf(buffer, sizeof buffer, "expected entry %zu, %s%s%s (wParam %#llx, lParam %#llx), not found in order; record:\n",
                    i, want.who ? want.who : "", want.who ? ": " : "", Name(want.message).c_str(), static_cast<unsigned long long>(want.wParam),
                    static_cast<unsigned long long>(want.lParam));
      return buffer + Dump();
    }
    next = found + 1;
  }
  return {};
}

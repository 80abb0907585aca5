#include "dialog_template.h"

#include <cstring>

namespace {

class CTemplateReader {
 public:
  CTemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}
  bool ok() const { return m_ok; }
  template <typename T>
  T Read() {
    T value{};
    if (m_pos + sizeof(T) > m_size) {
      m_ok = false;
      return value;
    }
    std::memcpy(&value, m_data + m_pos, sizeof(T));
    m_pos += sizeof(T);
    return value;
  }
  std::wstring ReadString() {
    std::wstring text;
    for (wchar_t ch = Read<wchar_t>(); m_ok && ch; ch = Read<wchar_t>()) text += ch;
    return text;
  }
  // A string, or 0xFFFF and an ordinal.
  std::wstring ReadNameOrOrdinal(WORD* ordinal) {
    *ordinal = 0;
    const WORD first = Read<WORD>();
    if (first == 0) return {};
    if (first == 0xFFFF) {
      *ordinal = Read<WORD>();
      return {};
    }
    std::wstring text(1, static_cast<wchar_t>(first));
    return text + ReadString();
  }
  void AlignToDword() { m_pos = (m_pos + 3) & ~static_cast<size_t>(3); }
  void Skip(size_t bytes) { m_pos += bytes; }

 private:
  const BYTE* m_data;
  size_t m_size;
  size_t m_pos = 0;
  bool m_ok = true;
};

std::wstring PredefinedClass(WORD ordinal) {
  switch (ordinal) {
    case 0x80: return L"Button";
    case 0x81: return L"Edit";
    case 0x82: return L"Static";
    case 0x83: return L"ListBox";
    case 0x84: return L"ScrollBar";
    case 0x85: return L"ComboBox";
    default: return L"#" + std::to_wstring(ordinal);
  }
}

}  // namespace

const DialogTemplateItem* DialogTemplate::Item(DWORD id) const {
  for (const auto& item : items) {
    if (item.id == id) return &item;
  }
  return nullptr;
}

bool LoadDialogTemplate(HMODULE module, UINT id, WORD language, DialogTemplate* out) {
  HRSRC found = ::FindResourceExW(module, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(id), language);  // RT_DIALOG
  if (!found) return false;
  const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, found)));
  CTemplateReader reader(data, ::SizeofResource(module, found));
  if (reader.Read<WORD>() != 1 || reader.Read<WORD>() != 0xFFFF) return false;
  reader.Read<DWORD>();  // help id
  out->exStyle = reader.Read<DWORD>();
  out->style = reader.Read<DWORD>();
  const WORD count = reader.Read<WORD>();
  out->x = reader.Read<short>();
  out->y = reader.Read<short>();
  out->cx = reader.Read<short>();
  out->cy = reader.Read<short>();
  WORD ordinal = 0;
  reader.ReadNameOrOrdinal(&ordinal);  // menu
  reader.ReadNameOrOrdinal(&ordinal);  // class
  out->caption = reader.ReadString();
  if (out->style & DS_SETFONT) {
    out->pointSize = reader.Read<WORD>();
    out->weight = reader.Read<WORD>();
    reader.Read<BYTE>();  // italic
    reader.Read<BYTE>();  // charset
    out->font = reader.ReadString();
  }
  out->items.clear();
  for (WORD i = 0; i < count && reader.ok(); ++i) {
    reader.AlignToDword();
    DialogTemplateItem item;
    reader.Read<DWORD>();  // help id
    item.exStyle = reader.Read<DWORD>();
    item.style = reader.Read<DWORD>();
    item.x = reader.Read<short>();
    item.y = reader.Read<short>();
    item.cx = reader.Read<short>();
    item.cy = reader.Read<short>();
    item.id = reader.Read<DWORD>();
    item.className = reader.ReadNameOrOrdinal(&ordinal);
    if (item.className.empty()) item.className = PredefinedClass(ordinal);
    item.text = reader.ReadNameOrOrdinal(&ordinal);
    if (ordinal) item.text = L"#" + std::to_wstring(ordinal);
    reader.Skip(reader.Read<WORD>());  // creation data
    out->items.push_back(item);
  }
  return reader.ok();
}

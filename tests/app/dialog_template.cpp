#include "dialog_template.h"

#include <cctype>
#include <cstdint>
#include <cstring>

namespace {
class Reader {
 public:
  explicit Reader(const void* data) : m_at(static_cast<const BYTE*>(data)) {}

  WORD Word() { return Take<WORD>(); }
  DWORD Dword() { return Take<DWORD>(); }
  short Short() { return static_cast<short>(Word()); }
  BYTE Byte() { return Take<BYTE>(); }

  std::string Text() {
    std::string text;
    for (WORD c = Word(); c != 0; c = Word()) text += static_cast<char>(c);
    return text;
  }

  TemplateId Id() {
    TemplateId id;
    const WORD first = Word();
    if (first == 0xFFFF) {
      id.isOrdinal = true;
      id.ordinal = Word();
    } else {
      for (WORD c = first; c != 0; c = Word()) id.text += static_cast<char>(c);
    }
    return id;
  }

  void AlignToDword() {
    while (reinterpret_cast<uintptr_t>(m_at) % 4 != 0) ++m_at;
  }
  void Skip(size_t bytes) { m_at += bytes; }

 private:
  template <typename T>
  T Take() {
    T value;
    memcpy(&value, m_at, sizeof(value));
    m_at += sizeof(value);
    return value;
  }

  const BYTE* m_at;
};
}  // namespace

DialogTemplate ParseDialogTemplate(const void* data) {
  Reader in(data);
  DialogTemplate dialog;
  const WORD version = in.Word();
  const WORD signature = in.Word();
  dialog.extended = version == 1 && signature == 0xFFFF;
  WORD itemCount = 0;
  if (dialog.extended) {
    dialog.helpId = in.Dword();
    dialog.exStyle = in.Dword();
    dialog.style = in.Dword();
  } else {
    dialog.style = MAKELONG(version, signature);
    dialog.exStyle = in.Dword();
  }
  itemCount = in.Word();
  dialog.x = in.Short();
  dialog.y = in.Short();
  dialog.cx = in.Short();
  dialog.cy = in.Short();
  dialog.menu = in.Id();
  dialog.windowClass = in.Id();
  dialog.title = in.Text();
  if (dialog.style & DS_SETFONT) {
    dialog.pointSize = in.Word();
    if (dialog.extended) {
      dialog.weight = in.Word();
      dialog.italic = in.Byte();
      dialog.charSet = in.Byte();
    }
    dialog.typeface = in.Text();
  }
  for (WORD i = 0; i < itemCount; ++i) {
    in.AlignToDword();
    DialogItem item;
    if (dialog.extended) {
      item.helpId = in.Dword();
      item.exStyle = in.Dword();
      item.style = in.Dword();
    } else {
      item.style = in.Dword();
      item.exStyle = in.Dword();
    }
    item.x = in.Short();
    item.y = in.Short();
    item.cx = in.Short();
    item.cy = in.Short();
    item.id = dialog.extended ? static_cast<int>(in.Dword()) : static_cast<short>(in.Word());
    item.windowClass = in.Id();
    item.title = in.Id();
    item.extraCount = in.Word();
    in.Skip(item.extraCount);
    dialog.items.push_back(item);
  }
  return dialog;
}

std::string ClassName(const TemplateId& windowClass) {
  if (windowClass.isOrdinal) {
    switch (windowClass.ordinal) {
      case 0x0080:
        return "BUTTON";
      case 0x0081:
        return "EDIT";
      case 0x0082:
        return "STATIC";
      case 0x0083:
        return "LISTBOX";
      case 0x0084:
        return "SCROLLBAR";
      case 0x0085:
        return "COMBOBOX";
      default:
        return "#" + std::to_string(windowClass.ordinal);
    }
  }
  std::string name = windowClass.text;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

// Reads a dialog template resource, classic or extended, into plain values.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A name or ordinal field of a template: the ordinal when it is one, else
// the text.
struct TemplateId {
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::string text;
};

struct DialogItem {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  TemplateId windowClass;
  TemplateId title;
  WORD extraCount = 0;
};

struct DialogTemplate {
  bool extended = false;
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  TemplateId menu;
  TemplateId windowClass;
  std::string title;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charSet = 0;
  std::string typeface;
  std::vector<DialogItem> items;
};

DialogTemplate ParseDialogTemplate(const void* data);

// The class of a control as a name; the predefined ordinals become BUTTON,
// EDIT, STATIC, LISTBOX, SCROLLBAR and COMBOBOX, and names are upper-cased
// (class names are case-insensitive).
std::string ClassName(const TemplateId& windowClass);

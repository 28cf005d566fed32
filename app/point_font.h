// A screen font given by face name and size in tenths of a point; the font
// object lives as long as this wrapper.
#pragma once

#include <windows.h>

class CPointFont {
 public:
  CPointFont() = default;
  ~CPointFont();

  // Replaces any font held. Leaves a null handle when creation fails.
  void Create(int tenthsOfPoint, const char* faceName);
  HFONT GetSafeHandle() const { return m_hFont; }

 private:
  void Delete();

  HFONT m_hFont = nullptr;

  CPointFont(const CPointFont&) = delete;
  CPointFont& operator=(const CPointFont&) = delete;
};

#include "point_font.h"

namespace {

// The character height in pixels (negative: without internal leading) of a
// font of the given size on a display with the given vertical resolution.
int PointFontHeight(int tenthsOfPoint, int pixelsPerInch) {
  return -MulDiv(tenthsOfPoint, pixelsPerInch, 720);
}

}  // namespace

CPointFont::~CPointFont() { Delete(); }

void CPointFont::Create(int tenthsOfPoint, const char* faceName) {
  Delete();
  const HDC screen = GetDC(nullptr);
  LOGFONTA font = {};
  font.lfHeight = PointFontHeight(tenthsOfPoint, GetDeviceCaps(screen, LOGPIXELSY));
  font.lfCharSet = DEFAULT_CHARSET;
  ReleaseDC(nullptr, screen);
  lstrcpynA(font.lfFaceName, faceName, LF_FACESIZE);
  m_hFont = CreateFontIndirectA(&font);
}

void CPointFont::Delete() {
  if (m_hFont != nullptr) DeleteObject(m_hFont);
  m_hFont = nullptr;
}

// A monospace font rendered with FreeType into the 1-bit glyph bitmaps the
// engine's text path draws, so text reaches the driver as an application's
// text would.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "uGdiClient.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace host {

struct TGlyph {
  LONG Left;  // bitmap offset from the pen position
  LONG Top;   // rows above the baseline
  LONG Width;
  LONG Height;
  LONG Advance;            // pixels
  std::vector<BYTE> Bits;  // rows of (Width + 7) / 8 bytes, top row first
};

struct TFont {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  LONG LineHeight = 0;
  LONG Ascender = 0;
  LONG Advance = 0;  // of every character: the font is monospace
  std::map<char32_t, TGlyph> Glyphs;
  TFont() = default;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;
  ~TFont();
};

// The monospace font at a size in pixels ($PIXMOR_FONT overrides the file).
void OpenFont(TFont& font, LONG pixelSize);

// Draws a line of text with its baseline at y; returns the pen's advance.
LONG DrawText(HDC hdc, TFont& font, LONG x, LONG y, const std::u32string& text, COLORREF color);

std::u32string Utf32(const std::string& utf8);

}  // namespace host

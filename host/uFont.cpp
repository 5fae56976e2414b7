#include "uFont.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>

#include "uCommandLine.h"
#include "uFiles.h"

namespace host {

namespace {

constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
    "/usr/share/fonts/truetype/freefont/FreeMono.ttf",
};

const TGlyph& GlyphOf(TFont& font, char32_t c) {
  auto found = font.Glyphs.find(c);
  if (found != font.Glyphs.end()) return found->second;
  TGlyph glyph{};
  if (FT_Load_Char(font.Face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) == 0) {
    const FT_GlyphSlot slot = font.Face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Width = static_cast<LONG>(bitmap.width);
    glyph.Height = static_cast<LONG>(bitmap.rows);
    glyph.Advance = static_cast<LONG>(slot->advance.x >> 6);
    const std::size_t rowBytes = (bitmap.width + 7) / 8;
    glyph.Bits.resize(rowBytes * bitmap.rows);
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* source =
            bitmap.buffer + static_cast<std::ptrdiff_t>(row) * bitmap.pitch;
        std::copy(source, source + rowBytes, glyph.Bits.begin() + row * rowBytes);
      }
    } else {
      glyph.Width = glyph.Height = 0;
      glyph.Bits.clear();
    }
  } else {
    glyph.Advance = font.Advance;
  }
  return font.Glyphs.emplace(c, std::move(glyph)).first->second;
}

}  // namespace

TFont::~TFont() {
  if (Face != nullptr) FT_Done_Face(Face);
  if (Library != nullptr) FT_Done_FreeType(Library);
}

void OpenFont(TFont& font, LONG pixelSize) {
  if (FT_Init_FreeType(&font.Library) != 0) throw TCommandError("cannot start FreeType");
  std::vector<std::string> files;
  if (const char* own = std::getenv("PIXMOR_FONT"); own != nullptr && *own != 0)
    files.push_back(own);
  for (const char* file : kFontFiles) files.emplace_back(file);
  for (const std::string& file : files) {
    if (FileExists(file) && FT_New_Face(font.Library, file.c_str(), 0, &font.Face) == 0) break;
    font.Face = nullptr;
  }
  if (font.Face == nullptr) {
    throw TCommandError(
        std::string("no monospace font found (install fonts-dejavu-core or set PIXMOR_FONT)"));
  }
  FT_Set_Pixel_Sizes(font.Face, 0, static_cast<FT_UInt>(pixelSize < 1 ? 1 : pixelSize));
  const FT_Size_Metrics& metrics = font.Face->size->metrics;
  font.LineHeight = static_cast<LONG>(metrics.height >> 6);
  font.Ascender = static_cast<LONG>(metrics.ascender >> 6);
  font.Advance = static_cast<LONG>(metrics.max_advance >> 6);
  if (font.LineHeight < 1) font.LineHeight = 1;
  if (font.Advance < 1) font.Advance = 1;
  font.Advance = GlyphOf(font, U'M').Advance > 0 ? GlyphOf(font, U'M').Advance : font.Advance;
}

LONG DrawText(HDC hdc, TFont& font, LONG x, LONG y, const std::u32string& text, COLORREF color) {
  std::vector<PLATFORM_GLYPH> glyphs;
  glyphs.reserve(text.size());
  LONG pen = x;
  for (char32_t c : text) {
    const TGlyph& glyph = GlyphOf(font, c);
    if (glyph.Width > 0 && glyph.Height > 0) {
      glyphs.push_back(PLATFORM_GLYPH{POINTL{pen, y}, POINTL{glyph.Left, -glyph.Top},
                                      SIZEL{glyph.Width, glyph.Height}, glyph.Bits.data()});
    }
    pen += glyph.Advance;
  }
  if (!glyphs.empty() &&
      !PlatformGlyphTextOut(hdc, glyphs.data(), static_cast<ULONG>(glyphs.size()), color)) {
    throw TCommandError("drawing text failed");
  }
  return pen - x;
}

std::u32string Utf32(const std::string& utf8) {
  std::u32string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    std::size_t extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = extra != 0 ? (b & (0x3F >> extra)) : b;
    if (b >= 0x80 && b < 0xC0) c = U'?';  // a stray continuation byte
    ++i;
    for (; extra > 0 && i < utf8.size(); --extra, ++i) {
      c = (c << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace host

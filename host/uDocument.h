// The documents the host prints: PDF (rendered with poppler in bands), PNG
// and JPEG images, plain text, and the built-in test page. Each is loaded and
// checked before the job starts, so a bad file never leaves a partial job.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "uGdiClient.h"

namespace poppler {
class document;
}

namespace host {

struct TFont;

enum class EDocumentKind { Pdf, Image, Text, TestPage };

// What the device context says about the page, and the settings to show.
struct TPageGeometry {
  LONG Width;
  LONG Height;
  LONG DpiX;
  LONG DpiY;
  bool Grey;
  std::string Settings;  // one line per setting, for the test page
};

struct TImage {
  LONG Width = 0;
  LONG Height = 0;
  std::vector<BYTE> Pixels;  // 32-bit BGRX, top row first
};

struct TDocument {
  EDocumentKind Kind = EDocumentKind::TestPage;
  std::string Path;
  std::shared_ptr<poppler::document> Pdf;
  TImage Image;
  std::string Text;
  std::vector<std::vector<std::u32string>> TextPages;  // laid out for the page
  std::shared_ptr<TFont> Font;                         // the text's font at the page's resolution
  int PageCount = 0;
};

// Loads and checks a file; throws TCommandError naming it when it is
// missing, unreadable, damaged or of a kind the host does not print.
TDocument LoadDocument(const std::string& path);
TDocument TestPageDocument();

// Lays text out for the page (other kinds need nothing) and sets PageCount.
void LayoutDocument(TDocument& document, const TPageGeometry& page);

// Draws page `index` (0 first) of a document between StartPage and EndPage.
void DrawDocumentPage(HDC hdc, const TDocument& document, int index, const TPageGeometry& page);

// Rows of a PDF page rendered and drawn at once.
inline constexpr LONG kPdfBandRows = 256;

}  // namespace host

// Small documents written by the tests themselves: a PDF with black squares
// at known places, a PNG image and plain text.
#pragma once

#include <string>
#include <vector>

namespace testfiles {

// A PDF rectangle in points from the page's bottom-left corner.
struct TSquare {
  double X, Y, Size;
};

// One page per entry, each of the given size in points, with its squares
// filled black.
void WritePdf(const std::string& path, double widthPt, double heightPt,
              const std::vector<std::vector<TSquare>>& pages);

// An RGB PNG image: the left half black, the right half white.
void WriteHalfBlackPng(const std::string& path, int width, int height);

void WriteText(const std::string& path, const std::string& text);

}  // namespace testfiles

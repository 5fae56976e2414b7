#include "uTestFiles.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testfiles {

void WritePdf(const std::string& path, double widthPt, double heightPt,
              const std::vector<std::vector<TSquare>>& pages) {
  std::vector<std::string> objects;  // object k + 1
  const std::size_t pageCount = pages.size();
  std::ostringstream kids;
  for (std::size_t i = 0; i < pageCount; ++i) kids << (3 + 2 * i) << " 0 R ";
  objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
  objects.push_back("<< /Type /Pages /Kids [" + kids.str() + "] /Count " +
                    std::to_string(pageCount) + " >>");
  for (std::size_t i = 0; i < pageCount; ++i) {
    std::ostringstream content;
    content << "0 0 0 rg\n";
    for (const TSquare& square : pages[i]) {
      content << square.X << ' ' << square.Y << ' ' << square.Size << ' ' << square.Size
              << " re f\n";
    }
    std::ostringstream page;
    page << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " << widthPt << ' ' << heightPt
         << "] /Contents " << (4 + 2 * i) << " 0 R /Resources << >> >>";
    objects.push_back(page.str());
    objects.push_back("<< /Length " + std::to_string(content.str().size()) + " >>\nstream\n" +
                      content.str() + "endstream");
  }
  std::string file = "%PDF-1.4\n";
  std::vector<std::size_t> offsets;
  for (std::size_t k = 0; k < objects.size(); ++k) {
    offsets.push_back(file.size());
    file += std::to_string(k + 1) + " 0 obj\n" + objects[k] + "\nendobj\n";
  }
  const std::size_t xref = file.size();
  file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (std::size_t offset : offsets) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    file += entry;
  }
  file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
          " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  WriteText(path, file);
}

void WriteHalfBlackPng(const std::string& path, int width, int height) {
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3, 255);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width / 2; ++x) {
      unsigned char* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      p[0] = p[1] = p[2] = 0;
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr)) {
    throw std::runtime_error("cannot write " + path);
  }
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace testfiles

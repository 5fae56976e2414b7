// Draws the configuration driver's icon (a printer turning a plain page into
// a picture) and writes it as an .ico file with eight images: 16 and 32
// pixels at 4 bits per pixel, 16, 32 and 48 pixels at 8 and at 32 bits per
// pixel. Usage: pixmorui_icon_generator OUTPUT.ico
//
// The drawing is a list of filled shapes on a 48-unit canvas, painted in
// order and sampled 8 x 8 times per pixel; the paletted images take the
// nearest palette colour, and their transparency comes from the mask.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct TColour {
  double R, G, B, A;  // 0 to 1, straight alpha
};

struct TShape {
  std::function<bool(double, double)> Inside;
  TColour Colour;
};

std::function<bool(double, double)> Rect(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

std::function<bool(double, double)> RoundRect(double x0, double y0, double x1, double y1,
                                              double r) {
  return [=](double x, double y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const double cx = x < x0 + r ? x0 + r : (x > x1 - r ? x1 - r : x);
    const double cy = y < y0 + r ? y0 + r : (y > y1 - r ? y1 - r : y);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

std::function<bool(double, double)> Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

std::function<bool(double, double)> Clipped(std::function<bool(double, double)> shape,
                                            std::function<bool(double, double)> clip) {
  return [=](double x, double y) { return clip(x, y) && shape(x, y); };
}

constexpr TColour Rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0, 1.0}; }

std::vector<TShape> Drawing() {
  std::vector<TShape> s;
  // The plain page going in at the back, with lines of text.
  s.push_back({Rect(13, 1, 35, 20), Rgb(120, 120, 128)});
  s.push_back({Rect(14, 2, 34, 20), Rgb(255, 255, 255)});
  for (double y = 5; y < 16; y += 3) s.push_back({Rect(16, y, 32, y + 1.2), Rgb(96, 104, 120)});
  // The printer: body, lighter top, paper slot, ready light.
  s.push_back({RoundRect(3, 15, 45, 37, 3), Rgb(56, 64, 76)});
  s.push_back({RoundRect(4, 16, 44, 23, 2), Rgb(140, 152, 164)});
  s.push_back({Rect(9, 29, 39, 32), Rgb(20, 22, 28)});
  s.push_back({Ellipse(39.5, 25.5, 1.8, 1.8), Rgb(60, 220, 80)});
  // The page coming out at the front is a picture: sky, sun, hills.
  const auto picture = Rect(11, 31, 37, 47);
  s.push_back({Rect(10, 30, 38, 48), Rgb(240, 240, 240)});
  s.push_back({picture, Rgb(70, 150, 235)});
  s.push_back({Clipped(Rect(11, 31, 37, 36), picture), Rgb(110, 180, 245)});
  s.push_back({Ellipse(30, 36.5, 3.2, 3.2), Rgb(255, 210, 40)});
  s.push_back({Clipped(Ellipse(30, 50, 12, 8), picture), Rgb(40, 140, 60)});
  s.push_back({Clipped(Ellipse(17, 49, 12, 9), picture), Rgb(70, 180, 70)});
  return s;
}

// The image at `size` pixels, straight-alpha colours, top row first.
std::vector<TColour> Render(int size) {
  constexpr int kSamples = 8;
  const std::vector<TShape> shapes = Drawing();
  std::vector<TColour> pixels(static_cast<std::size_t>(size * size));
  const double scale = 48.0 / size;
  for (int py = 0; py < size; ++py) {
    for (int px = 0; px < size; ++px) {
      double r = 0, g = 0, b = 0, a = 0;  // premultiplied sums
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double x = (px + (sx + 0.5) / kSamples) * scale;
          const double y = (py + (sy + 0.5) / kSamples) * scale;
          TColour c{0, 0, 0, 0};
          for (const TShape& shape : shapes) {
            if (shape.Inside(x, y)) c = shape.Colour;  // every shape is opaque
          }
          r += c.R * c.A;
          g += c.G * c.A;
          b += c.B * c.A;
          a += c.A;
        }
      }
      const double n = kSamples * kSamples;
      TColour& out = pixels[static_cast<std::size_t>(py * size + px)];
      out.A = a / n;
      out.R = a > 0 ? r / a : 0;
      out.G = a > 0 ? g / a : 0;
      out.B = a > 0 ? b / a : 0;
    }
  }
  return pixels;
}

std::uint8_t Byte(double v) {
  const long n = std::lround(v * 255.0);
  return static_cast<std::uint8_t>(n < 0 ? 0 : (n > 255 ? 255 : n));
}

using TPalette = std::vector<std::array<std::uint8_t, 3>>;  // r, g, b

TPalette SixteenColours() {
  return {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
          {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
          {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
          {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
}

// A 6 x 6 x 6 colour cube and a 40-step grey ramp.
TPalette TwoFiftySixColours() {
  TPalette p;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) {
        p.push_back({static_cast<std::uint8_t>(r * 51), static_cast<std::uint8_t>(g * 51),
                     static_cast<std::uint8_t>(b * 51)});
      }
  for (int i = 0; i < 40; ++i) {
    const auto v = static_cast<std::uint8_t>((i * 255 + 19) / 39);
    p.push_back({v, v, v});
  }
  return p;
}

std::size_t Nearest(const TPalette& palette, const TColour& c) {
  std::size_t best = 0;
  long bestDistance = -1;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const long dr = long{Byte(c.R)} - palette[i][0];
    const long dg = long{Byte(c.G)} - palette[i][1];
    const long db = long{Byte(c.B)} - palette[i][2];
    const long d = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || d < bestDistance) {
      best = i;
      bestDistance = d;
    }
  }
  return best;
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::size_t RowBytes(int size, int bits) {
  return static_cast<std::size_t>((size * bits + 31) / 32 * 4);
}

// One image as the .ico file stores it: a BITMAPINFOHEADER of twice the
// height, the palette, the colour rows and the mask rows, bottom-up.
std::vector<std::uint8_t> Image(int size, int bits) {
  const std::vector<TColour> pixels = Render(size);
  const TPalette palette =
      bits == 4 ? SixteenColours() : (bits == 8 ? TwoFiftySixColours() : TPalette{});
  const std::size_t colourRow = RowBytes(size, bits), maskRow = RowBytes(size, 1);
  const auto imageBytes = static_cast<std::uint32_t>((colourRow + maskRow) * size);
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(size * 2));
  Put16(out, 1);
  Put16(out, static_cast<unsigned>(bits));
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  for (const auto& entry : palette) {
    out.push_back(entry[2]);
    out.push_back(entry[1]);
    out.push_back(entry[0]);
    out.push_back(0);
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(colourRow, 0);
    for (int x = 0; x < size; ++x) {
      const TColour& c = pixels[static_cast<std::size_t>(y * size + x)];
      const bool opaque = c.A >= 0.5;
      if (bits == 32) {
        row[4 * x + 0] = Byte(c.B);
        row[4 * x + 1] = Byte(c.G);
        row[4 * x + 2] = Byte(c.R);
        row[4 * x + 3] = Byte(c.A);
      } else {
        const std::size_t index = opaque ? Nearest(palette, c) : 0;
        if (bits == 8) {
          row[x] = static_cast<std::uint8_t>(index);
        } else {
          row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskRow, 0);
    for (int x = 0; x < size; ++x) {
      if (pixels[static_cast<std::size_t>(y * size + x)].A < 0.5) {
        row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT.ico\n", argv[0]);
    return 2;
  }
  struct TEntry {
    int Size, Bits;
  };
  constexpr std::array<TEntry, 8> entries = {
      {{16, 4}, {32, 4}, {16, 8}, {32, 8}, {48, 8}, {16, 32}, {32, 32}, {48, 32}}};
  std::vector<std::vector<std::uint8_t>> images;
  for (const TEntry& e : entries) images.push_back(Image(e.Size, e.Bits));

  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);  // an icon
  Put16(file, entries.size());
  auto offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    file.push_back(static_cast<std::uint8_t>(entries[i].Size));
    file.push_back(static_cast<std::uint8_t>(entries[i].Size));
    file.push_back(static_cast<std::uint8_t>(entries[i].Bits == 4 ? 16 : 0));
    file.push_back(0);
    Put16(file, 1);
    Put16(file, static_cast<unsigned>(entries[i].Bits));
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

  FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr || std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
    std::perror(argv[1]);
    if (out != nullptr) std::fclose(out);
    return 1;
  }
  return std::fclose(out) == 0 ? 0 : 1;
}

#include "uJobFile.h"

#include <fcntl.h>
#include <png.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include "uCommandLine.h"
#include "uFiles.h"

namespace host {

namespace {

constexpr std::uint32_t kFileHeader = 14;
constexpr std::uint32_t kInfoHeader = 40;

std::uint32_t U32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t U16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint64_t RowSize(std::int32_t width, std::uint16_t bitCount) {
  return ((static_cast<std::uint64_t>(width) * bitCount + 31) / 32) * 4;
}

std::string PageError(std::size_t page, std::uint64_t offset, const std::string& what) {
  return "page " + std::to_string(page) + " at byte " + std::to_string(offset) + ": " + what;
}

}  // namespace

TJobScan ScanJob(const unsigned char* data, std::uint64_t size) {
  TJobScan scan;
  std::uint64_t offset = 0;
  while (offset < size) {
    const std::size_t number = scan.Pages.size() + 1;
    const std::uint64_t left = size - offset;
    const unsigned char* p = data + offset;
    if (left < 2 || p[0] != 'B' || p[1] != 'M') {
      scan.Error = PageError(number, offset, "not a BMP file (no 'BM' signature)");
      return scan;
    }
    if (left < kFileHeader + kInfoHeader) {
      scan.Error =
          PageError(number, offset,
                    "truncated: only " + std::to_string(left) + " bytes left for a 54-byte header");
      return scan;
    }
    TJobPage page{};
    page.Offset = offset;
    page.Size = U32(p + 2);
    page.PixelOffset = U32(p + 10);
    const std::uint32_t infoSize = U32(p + 14);
    page.Width = static_cast<std::int32_t>(U32(p + 18));
    page.Height = static_cast<std::int32_t>(U32(p + 22));
    page.BitCount = U16(p + 28);
    const std::uint32_t compression = U32(p + 30);
    if (infoSize != kInfoHeader || (page.BitCount != 8 && page.BitCount != 24) ||
        compression != 0 || page.Width <= 0 || page.Height <= 0) {
      scan.Error = PageError(number, offset,
                             "not a page image of this printer (" + std::to_string(page.BitCount) +
                                 " bits, " + std::to_string(page.Width) + " x " +
                                 std::to_string(page.Height) + ")");
      return scan;
    }
    const std::uint64_t pixels = RowSize(page.Width, page.BitCount) * page.Height;
    const std::uint64_t minOffset = kFileHeader + kInfoHeader + (page.BitCount == 8 ? 1024 : 0);
    if (page.PixelOffset < minOffset || page.PixelOffset + pixels > page.Size) {
      scan.Error = PageError(
          number, offset,
          "header sizes do not fit together (file size " + std::to_string(page.Size) + ")");
      return scan;
    }
    if (page.Size > left) {
      scan.Error = PageError(number, offset,
                             "truncated: the page says " + std::to_string(page.Size) +
                                 " bytes but only " + std::to_string(left) + " are left");
      return scan;
    }
    scan.Pages.push_back(page);
    offset += page.Size;
  }
  return scan;
}

TMappedFile::~TMappedFile() {
  if (Data != nullptr && Size != 0) munmap(const_cast<unsigned char*>(Data), Size);
}

void MapFile(const std::string& path, TMappedFile& file) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw TCommandError("cannot open '" + path + "': " + std::strerror(errno));
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    throw TCommandError("'" + path + "' is not a regular file");
  }
  file.Size = static_cast<std::uint64_t>(info.st_size);
  if (file.Size != 0) {
    void* map = mmap(nullptr, file.Size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
      close(fd);
      throw TCommandError("cannot read '" + path + "': " + std::strerror(errno));
    }
    madvise(map, file.Size, MADV_SEQUENTIAL);
    file.Data = static_cast<const unsigned char*>(map);
  }
  close(fd);
}

namespace {

struct TPngWriter {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  ~TPngWriter() { png_destroy_write_struct(&Png, &Info); }
};

[[noreturn]] void PngFailed(png_structp png, png_const_charp message) {
  auto* error = static_cast<std::string*>(png_get_error_ptr(png));
  *error = message;
  std::longjmp(png_jmpbuf(png), 1);
}

bool IsGreyRamp(const unsigned char* table) {
  for (int i = 0; i < 256; ++i) {
    const unsigned char* entry = table + 4 * i;
    if (entry[0] != i || entry[1] != i || entry[2] != i) return false;
  }
  return true;
}

// libpng reports errors by longjmp; nothing with a destructor lives in here.
bool EncodePng(FILE* out, const unsigned char* file, const TJobPage& page, std::string& error) {
  TPngWriter writer;
  writer.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, PngFailed, nullptr);
  if (writer.Png == nullptr) return false;
  writer.Info = png_create_info_struct(writer.Png);
  if (writer.Info == nullptr) return false;
  if (setjmp(png_jmpbuf(writer.Png))) return false;
  png_init_io(writer.Png, out);
  png_set_compression_level(writer.Png, 3);
  const unsigned char* table = file + kFileHeader + kInfoHeader;
  const auto width = static_cast<png_uint_32>(page.Width);
  const auto height = static_cast<png_uint_32>(page.Height);
  if (page.BitCount == 24) {
    png_set_IHDR(writer.Png, writer.Info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_bgr(writer.Png);
  } else if (IsGreyRamp(table)) {
    png_set_IHDR(writer.Png, writer.Info, width, height, 8, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  } else {
    png_color palette[256];
    for (int i = 0; i < 256; ++i) {
      palette[i] = png_color{table[4 * i + 2], table[4 * i + 1], table[4 * i]};
    }
    png_set_IHDR(writer.Png, writer.Info, width, height, 8, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_PLTE(writer.Png, writer.Info, palette, 256);
  }
  png_write_info(writer.Png, writer.Info);
  const std::uint64_t stride = RowSize(page.Width, page.BitCount);
  const unsigned char* pixels = file + page.PixelOffset;
  for (std::int64_t row = page.Height - 1; row >= 0; --row) {  // the file is bottom-up
    png_write_row(writer.Png, pixels + static_cast<std::uint64_t>(row) * stride);
  }
  png_write_end(writer.Png, writer.Info);
  return true;
}

}  // namespace

std::string WritePage(const unsigned char* job, const TJobPage& page, unsigned number,
                      const std::string& folder, EPageFormat format) {
  char name[32];
  std::snprintf(name, sizeof name, "page-%04u.%s", number,
                format == EPageFormat::Png ? "png" : "bmp");
  const std::string path = folder + "/" + name;
  const unsigned char* file = job + page.Offset;
  TAtomicFile out(path);
  if (format == EPageFormat::Bmp) {
    out.Write(file, page.Size);
  } else {
    std::string error;
    if (!EncodePng(out.Stream(), file, page, error)) {
      throw TCommandError("cannot write '" + path +
                          "': " + (error.empty() ? "PNG encoding failed" : error));
    }
  }
  out.Commit();
  return path;
}

}  // namespace host

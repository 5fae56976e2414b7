// A print job as the rendering driver leaves it: complete BMP files back to
// back. Reading it checks every page's header, so a truncated or foreign job
// is reported at the page and byte where it goes wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct TJobPage {
  std::uint64_t Offset;  // of the page's file within the job
  std::uint32_t Size;    // bfSize
  std::int32_t Width;
  std::int32_t Height;  // positive: rows bottom-up
  std::uint16_t BitCount;
  std::uint32_t PixelOffset;  // bfOffBits, from the page's start
};

struct TJobScan {
  std::vector<TJobPage> Pages;  // the good pages, up to the first bad one
  std::string Error;            // empty when the whole job is sound
};

TJobScan ScanJob(const unsigned char* data, std::uint64_t size);

// A job file mapped into memory, read-only.
struct TMappedFile {
  const unsigned char* Data = nullptr;
  std::uint64_t Size = 0;
  TMappedFile() = default;
  TMappedFile(const TMappedFile&) = delete;
  TMappedFile& operator=(const TMappedFile&) = delete;
  ~TMappedFile();
};

// Throws TCommandError naming the file when it cannot be read.
void MapFile(const std::string& path, TMappedFile& file);

enum class EPageFormat { Bmp, Png };

// Writes page `number` (1 first) of a job into folder as page-NNNN.bmp or
// .png; the file appears whole or not at all. Returns the path written.
std::string WritePage(const unsigned char* job, const TJobPage& page, unsigned number,
                      const std::string& folder, EPageFormat format);

}  // namespace host

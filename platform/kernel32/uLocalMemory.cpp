// LocalAlloc and LocalFree. Small blocks come from the C heap; large ones are
// mapped directly, asking for transparent huge pages, so that a freshly
// allocated page image is cheap to touch for the first time. The last large
// block freed is kept for the next large request it fits, because a printer
// driver allocates and frees one page-sized buffer per page, and touching
// fresh memory costs several times more than clearing warm memory. Every
// block carries a header with its size and origin; live blocks are counted,
// and a test can make the n-th allocation fail.
#include <sys/mman.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#include "uPlatformTesting.h"
#include "uWinBase.h"

namespace {

constexpr std::size_t kHeaderSize = 64;  // keeps the block 64-byte aligned
constexpr std::size_t kMapThreshold = std::size_t{4} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::uint32_t kMagic = 0x4C4F434Bu;

struct TBlockHeader {
  std::uint32_t Magic;
  std::uint32_t Mapped;
  std::size_t Size;       // bytes asked for
  void* MapBase;          // start of the mapping, when mapped
  std::size_t MapLength;  // length of the mapping, when mapped
};
static_assert(sizeof(TBlockHeader) <= kHeaderSize);

std::atomic<long> LiveBlocks{0};
std::atomic<unsigned long> AllocCalls{0};
std::atomic<unsigned long> FailAt{0};  // absolute call number that fails; 0 none

// The one large mapping kept for reuse, by its header; null when none.
std::mutex KeptLock;
TBlockHeader* Kept = nullptr;

std::size_t Capacity(const TBlockHeader* header) {
  return header->MapLength - static_cast<std::size_t>(reinterpret_cast<const char*>(header) -
                                                      static_cast<const char*>(header->MapBase));
}

void Unmap(TBlockHeader* header) { munmap(header->MapBase, header->MapLength); }

// A kept mapping that holds `total` bytes without wasting more than half.
char* TakeKept(std::size_t total) {
  std::lock_guard<std::mutex> guard(KeptLock);
  if (Kept == nullptr || Capacity(Kept) < total || Capacity(Kept) / 2 > total) return nullptr;
  char* region = reinterpret_cast<char*>(Kept);
  Kept = nullptr;
  return region;
}

// Keeps a freed mapping for reuse, giving back the one kept before.
void Keep(TBlockHeader* header) {
  TBlockHeader* previous = nullptr;
  {
    std::lock_guard<std::mutex> guard(KeptLock);
    previous = Kept;
    Kept = header;
  }
  if (previous != nullptr) Unmap(previous);
}

TBlockHeader* HeaderOf(void* block) {
  return reinterpret_cast<TBlockHeader*>(static_cast<char*>(block) - kHeaderSize);
}

void* MapLarge(std::size_t total) {
  // Align the block's pages to huge-page boundaries, so the kernel can back
  // them with huge pages from the first touch.
  if (total > SIZE_MAX - kHugePage) return nullptr;
  const std::size_t length = total + kHugePage;
  void* base = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(base);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  char* region = reinterpret_cast<char*>(aligned);
  madvise(region, total, MADV_HUGEPAGE);
  auto* header = reinterpret_cast<TBlockHeader*>(region);
  header->MapBase = base;
  header->MapLength = length;
  header->Mapped = 1;
  return region;
}

}  // namespace

extern "C" {

PIXMOR_EXPORT HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes) {
  const unsigned long call = ++AllocCalls;
  const unsigned long failAt = FailAt.load();
  if (failAt != 0 && call == failAt) {
    FailAt = 0;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (uBytes > SIZE_MAX - kHeaderSize - kHugePage) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  const std::size_t total = uBytes + kHeaderSize;
  char* region = nullptr;
  if (total >= kMapThreshold) {
    region = TakeKept(total);
    if (region != nullptr) {
      // Warm memory: clearing it costs far less than fresh pages would.
      if ((uFlags & LMEM_ZEROINIT) != 0) std::memset(region + kHeaderSize, 0, uBytes);
    } else {
      region = static_cast<char*>(MapLarge(total));  // mapped memory is zero already
    }
  } else {
    region = static_cast<char*>((uFlags & LMEM_ZEROINIT) != 0 ? std::calloc(1, total)
                                                              : std::malloc(total));
    if (region != nullptr) {
      auto* header = reinterpret_cast<TBlockHeader*>(region);
      header->Mapped = 0;
      header->MapBase = nullptr;
      header->MapLength = 0;
    }
  }
  if (region == nullptr) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  auto* header = reinterpret_cast<TBlockHeader*>(region);
  header->Magic = kMagic;
  header->Size = uBytes;
  ++LiveBlocks;
  return region + kHeaderSize;
}

PIXMOR_EXPORT HLOCAL WINAPI LocalFree(HLOCAL hMem) {
  if (hMem == nullptr) return nullptr;
  TBlockHeader* header = HeaderOf(hMem);
  if (header->Magic != kMagic) {
    SetLastError(ERROR_INVALID_HANDLE);
    return hMem;
  }
  header->Magic = 0;
  --LiveBlocks;
  if (header->Mapped != 0) {
    Keep(header);
  } else {
    std::free(header);
  }
  return nullptr;
}

PIXMOR_EXPORT long PlatformLiveLocalBlocks() { return LiveBlocks.load(); }

PIXMOR_EXPORT unsigned long PlatformLocalAllocCalls() { return AllocCalls.load(); }

PIXMOR_EXPORT void PlatformFailNthLocalAlloc(unsigned long n) {
  FailAt = n == 0 ? 0 : AllocCalls.load() + n;
}

}  // extern "C"

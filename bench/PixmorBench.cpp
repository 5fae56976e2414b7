// Benchmarks of the page path: the page file against a plain row-reversed
// copy, a whole DrvSendPage against memcpy, the page clear against memset,
// and the memory one page takes, up to the D size sheet at 1200 dpi. Each
// goal prints one line: NAME: VALUE (goal OP TARGET).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>
#include <string>

#include "uDriverFunctions.h"
#include "uGdiClient.h"
#include "uPDevData.h"
#include "uPageImage.h"
#include "uPixmorDefs.h"

namespace {

using namespace pixmor;

// The stand-in spooler: pages sent to this handle are counted and dropped,
// so the measurement is the driver's own work. Any other handle goes to the
// substitute spooler.
HANDLE const DiscardPrinter = reinterpret_cast<HANDLE>(0xD15CA4D);
std::uint64_t DiscardedBytes = 0;

}  // namespace

extern "C" BOOL WINAPI WritePrinter(HANDLE hPrinter, LPVOID pBuf, DWORD cbBuf, LPDWORD pcWritten) {
  if (hPrinter == DiscardPrinter) {
    benchmark::DoNotOptimize(pBuf);
    DiscardedBytes += cbBuf;
    if (pcWritten != nullptr) *pcWritten = cbBuf;
    return kTrue;
  }
  using PFN_WritePrinter = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD);
  static const auto next = reinterpret_cast<PFN_WritePrinter>(dlsym(RTLD_NEXT, "WritePrinter"));
  return next(hPrinter, pBuf, cbBuf, pcWritten);
}

namespace {

DEVMODEW DevMode(SHORT paper, SHORT dpi, SHORT colour) {
  DEVMODEW dm = DefaultDevMode;
  dm.dmPaperSize = paper;
  dm.dmPrintQuality = dpi;
  dm.dmYResolution = dpi;
  dm.dmColor = colour;
  return dm;
}

// One device in the engine's call order, the benchmark standing in for the
// engine's device-context side.
struct TDevice {
  DHPDEV dhpdev = nullptr;
  HSURF hsurf = nullptr;
  SURFOBJ* so = nullptr;

  explicit TDevice(const DEVMODEW& mode) {
    static const bool enabled = [] {
      DRVENABLEDATA data{};
      return DrvEnableDriver(DDI_DRIVER_VERSION_NT5_01_SP1, sizeof data, &data) != 0;
    }();
    if (!enabled) return;
    DEVMODEW dm = mode;
    GDIINFO gi{};
    DEVINFO di{};
    dhpdev = DrvEnablePDEV(&dm, nullptr, 0, nullptr, sizeof gi, &gi, sizeof di, &di, nullptr,
                           nullptr, DiscardPrinter);
    if (dhpdev == nullptr) return;
    DrvCompletePDEV(dhpdev, nullptr);
    hsurf = DrvEnableSurface(dhpdev);
    so = EngLockSurface(hsurf);
    if (so != nullptr) so->dhpdev = dhpdev;  // what the engine's association gives
  }
  ~TDevice() {
    if (dhpdev == nullptr) return;
    DrvDisableSurface(dhpdev);
    DrvDisablePDEV(dhpdev);
  }
  bool Ok() const { return so != nullptr; }
  std::uint64_t FileSize() const {
    const TPDevData& dev = *DevDataOf(dhpdev);
    return PageImageLayout(dev.PageWidth, dev.PageHeight,
                           IsGreyDevice(dev.DevMode) ? EPageMode::Grey : EPageMode::Colour)
        ->FileSize;
  }
};

// The baseline of the page file: the same bytes, rows reversed, into a
// freshly allocated buffer of the file's size.
void CopyReversed(const TDevice& device) {
  const TPDevData& dev = *DevDataOf(device.dhpdev);
  const auto layout =
      *PageImageLayout(dev.PageWidth, dev.PageHeight,
                       IsGreyDevice(dev.DevMode) ? EPageMode::Grey : EPageMode::Colour);
  auto* out = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, layout.FileSize));
  if (out == nullptr) return;
  const std::size_t row = static_cast<std::size_t>(layout.RowSize);
  const auto* scan0 = static_cast<const BYTE*>(device.so->pvScan0);
  BYTE* pixels = out + layout.PixelOffset;
  for (LONG r = 0; r < dev.PageHeight; ++r) {
    std::memcpy(pixels + row * static_cast<std::size_t>(dev.PageHeight - 1 - r),
                scan0 + static_cast<std::ptrdiff_t>(r) * device.so->lDelta, row);
  }
  benchmark::DoNotOptimize(out);
  LocalFree(out);
}

const DEVMODEW LetterColour = DevMode(1, 576, DMCOLOR_COLOR);
const DEVMODEW A4Grey = DevMode(9, 600, DMCOLOR_MONOCHROME);

// The CPU time of this thread, the kernel's page faults included. On a
// shared two-core machine the wall clock mostly measures the neighbours.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Subject and baseline run in turn within each iteration, so both meet the
// same conditions (above all, whether the kernel has huge pages at hand for
// a fresh buffer); the goals compare the medians of their times.
struct TPair {
  std::vector<double> Subject, Baseline;
};
std::map<std::string, TPair> Pairs;

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

template <class Subject, class Baseline>
void Paired(benchmark::State& state, const std::string& name, Subject subject, Baseline baseline) {
  TPair& pair = Pairs[name];
  for (auto _ : state) {
    const double t0 = ThreadSeconds();
    baseline();
    const double t1 = ThreadSeconds();
    if (!subject()) return state.SkipWithError("the driver failed");
    const double t2 = ThreadSeconds();
    pair.Baseline.push_back(t1 - t0);
    pair.Subject.push_back(t2 - t1);
  }
}

void SendPageVsReversedCopy(benchmark::State& state, const DEVMODEW* mode, const char* name) {
  TDevice device(*mode);
  if (!device.Ok()) return state.SkipWithError("no device");
  DrvStartPage(device.so);
  Paired(
      state, name, [&] { return DrvSendPage(device.so) != 0; }, [&] { CopyReversed(device); });
}

// Against a warm memcpy of as many bytes as the page file has.
void SendPageVsMemcpy(benchmark::State& state) {
  TDevice device(LetterColour);
  if (!device.Ok()) return state.SkipWithError("no device");
  DrvStartPage(device.so);
  const auto size = static_cast<std::size_t>(device.FileSize());
  auto* from = static_cast<BYTE*>(LocalAlloc(LPTR, size));
  auto* to = static_cast<BYTE*>(LocalAlloc(LPTR, size));
  if (from != nullptr && to != nullptr) {
    std::memset(from, 1, size);
    std::memset(to, 2, size);
    Paired(
        state, "memcpy", [&] { return DrvSendPage(device.so) != 0; },
        [&] {
          std::memcpy(to, from, size);
          benchmark::ClobberMemory();
        });
  } else {
    state.SkipWithError("no memory");
  }
  LocalFree(from);
  LocalFree(to);
}

void StartPageVsMemset(benchmark::State& state) {
  TDevice device(LetterColour);
  if (!device.Ok()) return state.SkipWithError("no device");
  Paired(
      state, "memset",
      [&] {
        const bool cleared = DrvStartPage(device.so) != 0;
        benchmark::ClobberMemory();
        return cleared;
      },
      [&] {
        std::memset(device.so->pvBits, 0xFF, device.so->cjBits);
        benchmark::ClobberMemory();
      });
}

void Goal(const char* name, double value, const char* op, double target, const char* unit = "") {
  const bool met = op[0] == '>' ? value >= target : value <= target;
  std::printf("%s: %.3f%s (goal %s %.3f%s)%s\n", name, value, unit, op, target, unit,
              met ? "" : "  NOT MET");
}

long KiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(field, 0) == 0)
      return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
  }
  return -1;
}

bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  return static_cast<bool>(clear.flush());
}

// The memory one whole page takes (device, clear, page file, release), as
// the rise of the resident peak over what was resident before.
struct TPeak {
  bool measured;
  bool printed;
  double peakMiB;
  double budgetMiB;
};

TPeak PagePeak(const DEVMODEW& mode) {
  const std::uint64_t sent = DiscardedBytes;
  if (!ResetPeak()) return {false, false, 0, 0};
  const long before = KiB("VmRSS:");
  std::uint64_t surface = 0, file = 0;
  bool printed = false;
  {
    TDevice device(mode);
    if (device.Ok()) {
      surface = device.so->cjBits;
      file = device.FileSize();
      printed = DrvStartPage(device.so) != 0 && DrvSendPage(device.so) != 0 &&
                DiscardedBytes - sent == file;
    }
  }
  const long peak = KiB("VmHWM:");
  constexpr double SmallConstantMiB = 16;
  return {true, printed, static_cast<double>(peak - before) / 1024.0,
          static_cast<double>(surface + file) / (1024.0 * 1024.0) + SmallConstantMiB};
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("SendPageVsReversedCopy/LetterColour576", SendPageVsReversedCopy,
                               &LetterColour, "letter")
      ->Unit(benchmark::kMillisecond)
      ->MinTime(2.0);
  benchmark::RegisterBenchmark("SendPageVsReversedCopy/A4Grey600", SendPageVsReversedCopy, &A4Grey,
                               "a4")
      ->Unit(benchmark::kMillisecond)
      ->MinTime(2.0);
  benchmark::RegisterBenchmark("SendPageVsMemcpy/LetterColour576", SendPageVsMemcpy)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(2.0);
  benchmark::RegisterBenchmark("StartPageVsMemset/LetterColour576", StartPageVsMemset)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(1.0);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();

  // The subject's throughput relative to its baseline's.
  auto speed = [](const char* name) {
    const double subject = Median(Pairs[name].Subject);
    return subject > 0 ? Median(Pairs[name].Baseline) / subject : 0.0;
  };
  std::printf("\n");
  Goal("SendPage colour Letter 576 dpi, throughput vs reversed copy", speed("letter"), ">=", 0.8);
  Goal("SendPage grey A4 600 dpi, throughput vs reversed copy", speed("a4"), ">=", 0.8);
  const double memcpySpeed = speed("memcpy");
  Goal("SendPage colour Letter 576 dpi, time vs warm memcpy",
       memcpySpeed > 0 ? 1.0 / memcpySpeed : 0.0, "<=", 2.5, "x");
  Goal("StartPage clear, throughput vs memset", speed("memset"), ">=", 0.9);
  const struct {
    const char* name;
    DEVMODEW mode;
  } pages[] = {{"Peak memory, colour Letter 576 dpi page", LetterColour},
               {"Peak memory, grey D size 1200 dpi page", DevMode(25, 1200, DMCOLOR_MONOCHROME)},
               {"Peak memory, colour D size 1200 dpi page", DevMode(25, 1200, DMCOLOR_COLOR)}};
  for (const auto& page : pages) {
    const TPeak peak = PagePeak(page.mode);
    if (!peak.measured) {
      std::printf("%s: not measurable here (the resident peak cannot be reset)\n", page.name);
      continue;
    }
    if (!peak.printed) {
      std::printf("%s: page not printed (goal: printed)  NOT MET\n", page.name);
      continue;
    }
    Goal(page.name, peak.peakMiB, "<=", peak.budgetMiB, " MiB");
  }
  benchmark::Shutdown();
  return 0;
}

// Benchmarks of the page path: the page file against a plain row-reversed
// copy, a whole DrvSendPage against memcpy, the page clear against memset,
// and the memory one page takes, up to the D size sheet at 1200 dpi. Each
// goal prints one line: NAME: VALUE (goal OP TARGET).
#include <benchmark/benchmark.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
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

void SendPage(benchmark::State& state, const DEVMODEW* mode) {
  TDevice device(*mode);
  if (!device.Ok()) return state.SkipWithError("no device");
  DrvStartPage(device.so);
  for (auto _ : state) {
    if (DrvSendPage(device.so) == 0) return state.SkipWithError("DrvSendPage failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * device.FileSize()));
}

void ReversedCopy(benchmark::State& state, const DEVMODEW* mode) {
  TDevice device(*mode);
  if (!device.Ok()) return state.SkipWithError("no device");
  DrvStartPage(device.so);
  for (auto _ : state) CopyReversed(device);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * device.FileSize()));
}

// Warm memcpy of as many bytes as the colour Letter page file has.
void WarmMemcpy(benchmark::State& state) {
  TDevice device(LetterColour);
  const std::size_t size = static_cast<std::size_t>(device.FileSize());
  auto* from = static_cast<BYTE*>(LocalAlloc(LPTR, size));
  auto* to = static_cast<BYTE*>(LocalAlloc(LPTR, size));
  std::memset(from, 1, size);
  std::memset(to, 2, size);
  for (auto _ : state) {
    std::memcpy(to, from, size);
    benchmark::ClobberMemory();
  }
  LocalFree(from);
  LocalFree(to);
}

void StartPage(benchmark::State& state) {
  TDevice device(LetterColour);
  if (!device.Ok()) return state.SkipWithError("no device");
  for (auto _ : state) {
    DrvStartPage(device.so);
    benchmark::ClobberMemory();
  }
}

void Memset(benchmark::State& state) {
  TDevice device(LetterColour);
  if (!device.Ok()) return state.SkipWithError("no device");
  DrvStartPage(device.so);
  for (auto _ : state) {
    std::memset(device.so->pvBits, 0xFF, device.so->cjBits);
    benchmark::ClobberMemory();
  }
}

// Seconds per iteration of every benchmark run, by name. The process's CPU
// time (the kernel's page faults included) is compared rather than the wall
// clock, which on a shared two-core machine mostly measures the neighbours.
class TCollector : public benchmark::ConsoleReporter {
 public:
  TCollector() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      // The median of the repetitions: one slow run (a page fault storm
      // when the kernel has no huge page at hand) does not decide a goal.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" &&
          !run.error_occurred) {
        // Keyed by the registered name, without the run's options.
        const std::string name = run.benchmark_name();
        Seconds[name.substr(0, name.find("/min_time"))] =
            run.cpu_accumulated_time / static_cast<double>(run.iterations);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> Seconds;
};

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
  benchmark::RegisterBenchmark("SendPage/LetterColour576", SendPage, &LetterColour)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("ReversedCopy/LetterColour576", ReversedCopy, &LetterColour)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("SendPage/A4Grey600", SendPage, &A4Grey)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("ReversedCopy/A4Grey600", ReversedCopy, &A4Grey)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("WarmMemcpy/LetterColour576", WarmMemcpy)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("StartPage/LetterColour576", StartPage)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::RegisterBenchmark("Memset/LetterColour576", Memset)
      ->Unit(benchmark::kMillisecond)
      ->MinTime(0.3)
      ->Repetitions(5)
      ->ReportAggregatesOnly(true);
  benchmark::Initialize(&argc, argv);
  TCollector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);

  auto& s = collector.Seconds;
  auto ratio = [&](const char* baseline, const char* subject) {
    return s.count(baseline) && s.count(subject) ? s[baseline] / s[subject] : 0.0;
  };
  std::printf("\n");
  Goal("SendPage colour Letter 576 dpi, throughput vs reversed copy",
       ratio("ReversedCopy/LetterColour576", "SendPage/LetterColour576"), ">=", 0.8);
  Goal("SendPage grey A4 600 dpi, throughput vs reversed copy",
       ratio("ReversedCopy/A4Grey600", "SendPage/A4Grey600"), ">=", 0.8);
  Goal("SendPage colour Letter 576 dpi, time vs warm memcpy",
       ratio("SendPage/LetterColour576", "WarmMemcpy/LetterColour576"), "<=", 2.5, "x");
  Goal("StartPage clear, throughput vs memset",
       ratio("Memset/LetterColour576", "StartPage/LetterColour576"), ">=", 0.9);
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

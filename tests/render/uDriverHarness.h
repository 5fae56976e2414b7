// What the rendering driver's tests share: the driver library loaded as the
// engine loads it (its function table by index), a spool folder with one
// printer per test, device modes, and a job read back page by page.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "uGdiClient.h"
#include "uPixmorDefs.h"
#include "uPlatformTesting.h"
#include "uSpoolerClient.h"

namespace harness {

// The driver's entry points, from its own function table.
struct TDriver {
  PFN Functions[64] = {};
  template <class Fn>
  Fn Get(ULONG index) const {
    Fn fn{};
    std::memcpy(&fn, &Functions[index], sizeof fn);
    return fn;
  }
};

// Loaded on first use; the caller's last error survives the loading.
inline const TDriver& Driver() {
  static const TDriver driver = [] {
    const DWORD lastError = GetLastError();
    TDriver d;
    HMODULE module = LoadLibraryW(u"pixmor.dll");  // kept for the process
    EXPECT_NE(module, nullptr);
    PFN_DrvEnableDriver enable = nullptr;
    const FARPROC proc = GetProcAddress(module, "DrvEnableDriver");
    std::memcpy(&enable, &proc, sizeof enable);
    DRVENABLEDATA table{};
    EXPECT_NE(enable(DDI_DRIVER_VERSION_NT5_01_SP1, sizeof table, &table), 0);
    for (ULONG i = 0; i < table.c; ++i) d.Functions[table.pdrvfn[i].iFunc] = table.pdrvfn[i].pfn;
    SetLastError(lastError);
    return d;
  }();
  return driver;
}

inline DEVMODEW DevMode(SHORT paper = 1, SHORT dpi = 576, SHORT colour = DMCOLOR_COLOR,
                        SHORT orientation = DMORIENT_PORTRAIT) {
  DEVMODEW dm = pixmor::DefaultDevMode;
  dm.dmFields |= DM_FORMNAME;
  dm.dmPaperSize = paper;
  dm.dmPrintQuality = dpi;
  dm.dmYResolution = dpi;
  dm.dmColor = colour;
  dm.dmOrientation = orientation;
  return dm;
}

// A custom paper of width x length tenths of a millimetre.
inline DEVMODEW CustomDevMode(SHORT width, SHORT length, SHORT dpi, SHORT colour = DMCOLOR_COLOR) {
  DEVMODEW dm = DevMode(0, dpi, colour);
  dm.dmPaperWidth = width;
  dm.dmPaperLength = length;
  return dm;
}

inline std::vector<BYTE> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(in), {});
}

inline std::uint32_t Le32(std::span<const BYTE> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

// The pages of a job, each found through the bfSize of the one before.
inline std::vector<std::vector<BYTE>> SplitJob(const std::vector<BYTE>& job) {
  std::vector<std::vector<BYTE>> pages;
  std::size_t at = 0;
  while (at + 6 <= job.size()) {
    EXPECT_EQ(job[at], 'B');
    EXPECT_EQ(job[at + 1], 'M');
    const std::uint32_t size = Le32(job, at + 2);
    if (size < 54 || at + size > job.size()) {
      ADD_FAILURE() << "page at " << at << " claims " << size << " bytes";
      break;
    }
    pages.emplace_back(job.begin() + at, job.begin() + at + size);
    at += size;
  }
  EXPECT_EQ(at, job.size()) << "bytes after the last page";
  return pages;
}

// One spool folder and printer per test.
class TSpoolTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pixmor-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Folder = pattern;
    PlatformSetSpoolFolder(Folder.c_str());
    ASSERT_NE(PlatformAddPrinter(Printer.c_str(), u"pixmor.dll", u"pixmorui.dll"), 0);
  }
  void TearDown() override {
    PlatformSetSpoolFolder(nullptr);
    std::filesystem::remove_all(Folder);
  }

  HDC CreateDC(const DEVMODEW& dm) {
    return CreateDCW(u"pixmor.dll", Printer.c_str(), nullptr, &dm);
  }

  // Starts a document whose job lands in the test's folder.
  std::string StartJob(HDC hdc, const char* name = "job.bmp") {
    const std::string path = Folder + "/" + name;
    const std::u16string output(path.begin(), path.end());
    DOCINFOW info{sizeof(DOCINFOW), u"Test document", output.c_str(), nullptr, 0};
    EXPECT_GT(StartDocW(hdc, &info), 0);
    return path;
  }

  HANDLE OpenPrinter() {
    HANDLE printer = nullptr;
    EXPECT_NE(OpenPrinterW(Printer.data(), &printer, nullptr), 0);
    return printer;
  }

  std::string Folder;
  std::u16string Printer = u"Pixmor Test";
};

}  // namespace harness

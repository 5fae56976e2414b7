// The real pixmor.dll, loaded as the engine loads it.
#include <gtest/gtest.h>

#include <bit>
#include <vector>

#include "uPrintOem.h"

namespace {

struct TPixmorDll : testing::Test {
  static void SetUpTestSuite() { Module = LoadLibraryW(u"pixmor.dll"); }
  template <class Fn>
  static Fn Export(const char* name) {
    return std::bit_cast<Fn>(GetProcAddress(Module, name));
  }
  static inline HMODULE Module = nullptr;
};

TEST_F(TPixmorDll, ExportsItsThreeEntryPointsByName) {
  ASSERT_NE(Module, nullptr);
  for (const char* name : {"DrvEnableDriver", "DrvQueryDriverInfo", "DrvDisableDriver"}) {
    EXPECT_NE(GetProcAddress(Module, name), nullptr) << name;
  }
  EXPECT_EQ(GetProcAddress(Module, "DrvEnablePDEV"), nullptr);  // only through the table
}

TEST_F(TPixmorDll, EnableDriverResultsErrorsAndTable) {
  ASSERT_NE(Module, nullptr);
  auto enable = Export<PFN_DrvEnableDriver>("DrvEnableDriver");
  ASSERT_NE(enable, nullptr);

  DRVENABLEDATA data{};
  SetLastError(0);
  EXPECT_EQ(enable(0x00030100, 12, &data), 0);
  EXPECT_EQ(GetLastError(), ERROR_BAD_DRIVER_LEVEL);
  EXPECT_EQ(enable(0x00030101, 11, &data), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(enable(0x00030101, 12, nullptr), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  ASSERT_EQ(enable(0x00030101, 12, &data), -1);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(data.iDriverVersion, 0x00030101u);
  ASSERT_EQ(data.c, 14u);
  std::vector<ULONG> indices;
  for (ULONG i = 0; i < data.c; ++i) indices.push_back(data.pdrvfn[i].iFunc);
  EXPECT_EQ(indices, (std::vector<ULONG>{8, 0, 7, 1, 2, 3, 4, 32, 33, 35, 34, 19, 23, 14}));

  DRVENABLEDATA again{};
  ASSERT_EQ(enable(0x00030101, 12, &again), -1);
  EXPECT_EQ(again.pdrvfn, data.pdrvfn);
}

TEST_F(TPixmorDll, DrawingThroughAnEmptyEngineSlotFailsInsteadOfCrashing) {
  ASSERT_NE(Module, nullptr);
  DRVENABLEDATA data{};
  ASSERT_EQ(Export<PFN_DrvEnableDriver>("DrvEnableDriver")(0x00030101, 12, &data), -1);
  HMODULE gdi32 = LoadLibraryW(u"gdi32.dll");
  if (gdi32 != nullptr && GetProcAddress(gdi32, "EngCopyBits") != nullptr) {
    GTEST_SKIP() << "this gdi32 has the engine services";
  }
  for (ULONG i = 0; i < data.c; ++i) {
    if (data.pdrvfn[i].iFunc != INDEX_DrvCopyBits) continue;
    auto copyBits = std::bit_cast<PFN_DrvCopyBits>(data.pdrvfn[i].pfn);
    SetLastError(1234);
    EXPECT_EQ(copyBits(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), 1234u);
  }
}

TEST_F(TPixmorDll, QueryDriverInfoAndDisable) {
  ASSERT_NE(Module, nullptr);
  auto query = Export<decltype(&DrvQueryDriverInfo)>("DrvQueryDriverInfo");
  DWORD buffer = 0, needed = 0;
  EXPECT_EQ(query(1, &buffer, 4, &needed), -1);
  EXPECT_EQ(buffer, 1u);
  EXPECT_EQ(query(1, &buffer, 3, &needed), 0);
  EXPECT_EQ(needed, 4u);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(query(2, &buffer, 4, &needed), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

  SetLastError(77);
  Export<PFN_DrvDisableDriver>("DrvDisableDriver")();
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

}  // namespace

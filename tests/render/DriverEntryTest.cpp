// The driver's exports: the engine's first call with its binding and its
// failure table, the function table, the user-mode query and the last call.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <dlfcn.h>

#include <vector>

#include "uDriverFunctions.h"
#include "uEngineServices.h"
#include "uPlatformTesting.h"

namespace {

using namespace pixmor;

constexpr DWORD kUntouched = 0xDEADBEEF;

struct TEnableCase {
  const char* name;
  ULONG engineVersion;
  ULONG cj;
  bool passRecord;
  BOOL result;
  DWORD lastError;
};

class DrvEnableDriverCases : public testing::TestWithParam<TEnableCase> {};

TEST_P(DrvEnableDriverCases, ResultAndLastError) {
  const TEnableCase& c = GetParam();
  DRVENABLEDATA data{0xAAAA, 0xBBBB, nullptr};
  SetLastError(kUntouched);
  EXPECT_EQ(DrvEnableDriver(c.engineVersion, c.cj, c.passRecord ? &data : nullptr), c.result);
  EXPECT_EQ(GetLastError(), c.lastError);
  if (c.result == kTrue) {
    EXPECT_EQ(data.iDriverVersion, 0x00030101u);
    EXPECT_EQ(data.c, 14u);
    EXPECT_EQ(data.pdrvfn, DriverFunctions.data());
  } else if (c.passRecord) {
    EXPECT_EQ(data.iDriverVersion, 0xAAAAu);  // nothing written on failure
  }
  // The binding happens before anything is tested.
  EXPECT_NE(EngineBinding.hGdi32, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DrvEnableDriverCases,
    testing::Values(
        TEnableCase{"version_too_low", 0x00030100, 12, true, kFalse, ERROR_BAD_DRIVER_LEVEL},
        TEnableCase{"version_exact", 0x00030101, 12, true, kTrue, ERROR_SUCCESS},
        TEnableCase{"version_higher", 0x00060000, 12, true, kTrue, ERROR_SUCCESS},
        TEnableCase{"no_record", 0x00030101, 12, false, kFalse, ERROR_INVALID_PARAMETER},
        TEnableCase{"record_too_small", 0x00030101, 11, true, kFalse, ERROR_INVALID_PARAMETER},
        TEnableCase{"version_tested_first", 0x00020000, 12, false, kFalse, ERROR_BAD_DRIVER_LEVEL},
        TEnableCase{"large_cj", 0x00030101, 4096, true, kTrue, ERROR_SUCCESS}),
    TCaseName());

TEST(DrvEnableDriver, BindsOnceAndFindsOnlyWhatTheEngineHas) {
  DRVENABLEDATA first{}, second{};
  ASSERT_EQ(DrvEnableDriver(0x00030101, 12, &first), kTrue);
  const HMODULE gdi32 = EngineBinding.hGdi32;
  const auto slots = EngineBinding.Slots;
  ASSERT_EQ(DrvEnableDriver(0x00030101, 12, &second), kTrue);
  EXPECT_EQ(EngineBinding.hGdi32, gdi32);
  EXPECT_EQ(EngineBinding.Slots, slots);
  EXPECT_EQ(first.pdrvfn, second.pdrvfn);
  EXPECT_EQ(second.c, 14u);

  // The stand-in engine has three of the sixteen services.
  std::vector<std::string> bound;
  for (std::size_t i = 0; i < EngineServiceNames.size(); ++i) {
    if (slots[i] != nullptr) bound.emplace_back(EngineServiceNames[i]);
  }
  EXPECT_EQ(bound,
            (std::vector<std::string>{"EngCreatePalette", "EngDeletePalette", "EngCopyBits"}));
}

TEST(DriverFunctions, IndicesInTheirOrder) {
  std::vector<ULONG> indices;
  for (const DRVFN& fn : DriverFunctions) {
    indices.push_back(fn.iFunc);
    EXPECT_NE(fn.pfn, nullptr);
  }
  EXPECT_EQ(indices, (std::vector<ULONG>{8, 0, 7, 1, 2, 3, 4, 32, 33, 35, 34, 19, 23, 14}));
  EXPECT_EQ(std::bit_cast<PFN_DrvDisableDriver>(DriverFunctions.front().pfn), &DrvDisableDriver);
}

TEST(DrawingPassThrough, ReturnsWhatTheEngineReturnsAndFailsOnAnEmptySlot) {
  DRVENABLEDATA data{};
  ASSERT_EQ(DrvEnableDriver(0x00030101, 12, &data), kTrue);
  void* fake = dlopen("libgdi32.so", RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(fake, nullptr);
  auto setResult = reinterpret_cast<void (*)(BOOL)>(dlsym(fake, "FakeGdiSetCopyBitsResult"));
  ASSERT_NE(setResult, nullptr);
  for (BOOL engineResult : {kTrue, kFalse, BOOL{7}}) {
    setResult(engineResult);
    SetLastError(kUntouched);
    EXPECT_EQ(DrvCopyBits(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr), engineResult);
    EXPECT_EQ(GetLastError(), kUntouched);  // neither tested nor set
  }
  // EngTextOut and EngStrokePath are missing: the calls end with FALSE.
  SetLastError(kUntouched);
  EXPECT_EQ(DrvTextOut(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, 0),
            kFalse);
  EXPECT_EQ(DrvStrokePath(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 0),
            kFalse);
  EXPECT_EQ(GetLastError(), kUntouched);
  dlclose(fake);
}

struct TQueryCase {
  const char* name;
  DWORD mode;
  bool passBuffer;
  DWORD cbBuf;
  bool passNeeded;
  BOOL result;
  DWORD lastError;
  DWORD buffer;  // after the call
  DWORD needed;  // after the call
};

class DrvQueryDriverInfoCases : public testing::TestWithParam<TQueryCase> {};

TEST_P(DrvQueryDriverInfoCases, ResultBufferAndLastError) {
  const TQueryCase& c = GetParam();
  DWORD buffer = 0x55, needed = 0x66;
  SetLastError(kUntouched);
  EXPECT_EQ(DrvQueryDriverInfo(c.mode, c.passBuffer ? &buffer : nullptr, c.cbBuf,
                               c.passNeeded ? &needed : nullptr),
            c.result);
  EXPECT_EQ(GetLastError(), c.lastError);
  EXPECT_EQ(buffer, c.buffer);
  EXPECT_EQ(needed, c.needed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DrvQueryDriverInfoCases,
    testing::Values(
        TQueryCase{"user_mode", 1, true, 4, true, kTrue, ERROR_SUCCESS, 1, 0x66},
        TQueryCase{"short_buffer", 1, true, 3, true, kFalse, ERROR_INSUFFICIENT_BUFFER, 0x55, 4},
        TQueryCase{"short_buffer_no_needed", 1, true, 0, false, kFalse, kUntouched, 0x55, 0x66},
        TQueryCase{"other_mode", 2, true, 4, true, kFalse, ERROR_INVALID_PARAMETER, 0x55, 0x66},
        TQueryCase{"no_buffer", 1, false, 4, true, kFalse, ERROR_INVALID_PARAMETER, 0x55, 0x66}),
    TCaseName());

TEST(DrvDisableDriver, SetsSuccessAndReleasesNothing) {
  DRVENABLEDATA data{};
  ASSERT_EQ(DrvEnableDriver(0x00030101, 12, &data), kTrue);
  const HMODULE gdi32 = EngineBinding.hGdi32;
  SetLastError(kUntouched);
  DrvDisableDriver();
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_EQ(EngineBinding.hGdi32, gdi32);
}

}  // namespace

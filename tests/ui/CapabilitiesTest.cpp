// The spooler's queries: every capability code, the lists' contents, job
// acceptance and printer events.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "uCompstui.h"

namespace {

constexpr BYTE kGuard = 0xCD;
constexpr std::size_t kBufferBytes = 16384;  // more than the longest list

struct TCapabilityCase {
  WORD code;
  DWORD result;
  std::size_t bytesWritten;  // 0: the buffer stays untouched
};

// Written out from the published answers, not from the driver's table.
constexpr std::array<TCapabilityCase, 37> kCapabilities = {{
    {0, 0xFFFFFFFF, 0}, {1, 0x01806C0F, 0},  {2, 90, 90 * 2}, {3, 90, 90 * 8},  {4, 0, 0},
    {5, 0, 0},          {6, 0, 0},           {7, 0, 0},       {8, 0, 0},        {9, 0, 0},
    {10, 0x0401, 0},    {11, 0x0401, 0},     {12, 0, 0},      {13, 13, 13 * 8}, {14, 0, 0},
    {15, 0, 0},         {16, 90, 11520},     {17, 0, 0},      {18, 0, 0},       {19, 0, 0},
    {20, 0, 0},         {21, 0, 0},          {22, 0, 0},      {23, 0, 0},       {24, 0, 0},
    {25, 0, 0},         {26, 0, 0},          {27, 1, 0},      {28, 0, 0},       {29, 90, 11520},
    {30, 0, 0},         {31, 0, 0},          {32, 1, 0},      {33, 0, 0},       {34, 0, 0},
    {35, 0, 0},         {36, 0xFFFFFFFF, 0},
}};

std::vector<BYTE> Query(WORD code, DWORD* result) {
  std::vector<BYTE> buffer(kBufferBytes, kGuard);
  *result = DrvDeviceCapabilities(nullptr, nullptr, code, buffer.data(), nullptr);
  return buffer;
}

template <class T>
T At(const std::vector<BYTE>& buffer, std::size_t index) {
  T value{};
  std::memcpy(&value, buffer.data() + index * sizeof(T), sizeof(T));
  return value;
}

std::u16string NameInSlot(const std::vector<BYTE>& buffer, std::size_t slot) {
  std::u16string name;
  for (std::size_t k = 0; k < 64; ++k) {
    const auto unit = At<char16_t>(buffer, slot * 64 + k);
    if (unit == 0) break;
    name.push_back(unit);
  }
  return name;
}

TEST(DrvDeviceCapabilities, EveryCodeFromZeroTo36) {
  for (const TCapabilityCase& c : kCapabilities) {
    SCOPED_TRACE("code " + std::to_string(c.code));
    EXPECT_EQ(DrvDeviceCapabilities(nullptr, nullptr, c.code, nullptr, nullptr), c.result);
    DWORD result = 0;
    const std::vector<BYTE> buffer = Query(c.code, &result);
    EXPECT_EQ(result, c.result);
    // The list is written whole and nothing beyond it.
    std::size_t lastWritten = 0;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
      if (buffer[i] != kGuard) lastWritten = i + 1;
    }
    EXPECT_EQ(lastWritten, c.bytesWritten);
  }
  EXPECT_EQ(DrvDeviceCapabilities(nullptr, nullptr, 0xFFFF, nullptr, nullptr), 0xFFFFFFFFu);
}

TEST(DrvDeviceCapabilities, PaperNumbers) {
  DWORD result = 0;
  const std::vector<BYTE> buffer = Query(DC_PAPERS, &result);
  ASSERT_EQ(result, 90u);
  const std::vector<std::pair<std::size_t, WORD>> expected = {
      {0, 0}, {1, 1}, {25, 25}, {26, 27}, {46, 47}, {47, 50}, {89, 92}};
  for (auto [entry, id] : expected) EXPECT_EQ(At<WORD>(buffer, entry), id) << "entry " << entry;
  for (std::size_t k = 1; k < 90; ++k) EXPECT_LT(At<WORD>(buffer, k - 1), At<WORD>(buffer, k));
}

TEST(DrvDeviceCapabilities, PaperSizesInTenthsOfAMillimetrePortrait) {
  DWORD result = 0;
  const std::vector<BYTE> buffer = Query(DC_PAPERSIZE, &result);
  ASSERT_EQ(result, 90u);
  struct TSize {
    std::size_t entry;
    LONG width, height;
  };
  for (auto [entry, width, height] : {TSize{0, 0, 0},
                                      {1, 2159, 2794},
                                      {19, 984, 2254},
                                      {9, 2100, 2970},
                                      {72, 2794, 2159},
                                      {89, 2350, 1050}}) {
    EXPECT_EQ(At<LONG>(buffer, 2 * entry), width) << "entry " << entry;
    EXPECT_EQ(At<LONG>(buffer, 2 * entry + 1), height) << "entry " << entry;
  }
}

TEST(DrvDeviceCapabilities, PaperNamesFillSlotsOf64UnitsAndMediaReadyIsTheSame) {
  DWORD names = 0, ready = 0;
  const std::vector<BYTE> a = Query(DC_PAPERNAMES, &names);
  const std::vector<BYTE> b = Query(DC_MEDIAREADY, &ready);
  ASSERT_EQ(names, 90u);
  ASSERT_EQ(ready, 90u);
  EXPECT_EQ(std::memcmp(a.data(), b.data(), 11520), 0);
  EXPECT_EQ(NameInSlot(a, 0), u"NULL");
  EXPECT_EQ(NameInSlot(a, 1), u"Letter");
  EXPECT_EQ(NameInSlot(a, 26), u"Envelope DL");
  EXPECT_EQ(NameInSlot(a, 89), u"Japan Envelope You #4 Rotated");
  for (std::size_t slot = 0; slot < 90; ++slot) {
    const std::size_t length = NameInSlot(a, slot).size();
    ASSERT_GT(length, 0u);
    for (std::size_t k = length; k < 64; ++k) {
      ASSERT_EQ(At<char16_t>(a, slot * 64 + k), 0) << "slot " << slot << " unit " << k;
    }
  }
  EXPECT_EQ(a[11520], kGuard);
}

TEST(DrvDeviceCapabilities, ResolutionPairsAscending) {
  DWORD result = 0;
  const std::vector<BYTE> buffer = Query(DC_ENUMRESOLUTIONS, &result);
  ASSERT_EQ(result, 13u);
  const std::array<LONG, 13> dpi = {36, 48, 72, 96, 100, 144, 200, 288, 300, 576, 600, 1152, 1200};
  for (std::size_t k = 0; k < dpi.size(); ++k) {
    EXPECT_EQ(At<LONG>(buffer, 2 * k), dpi[k]);
    EXPECT_EQ(At<LONG>(buffer, 2 * k + 1), dpi[k]);
  }
}

TEST(DrvDeviceCapabilities, UnalignedBufferIsFilledTheSame) {
  std::vector<BYTE> aligned(kBufferBytes), shifted(kBufferBytes + 1);
  for (WORD code : {DC_PAPERS, DC_PAPERSIZE, DC_PAPERNAMES, DC_ENUMRESOLUTIONS}) {
    DrvDeviceCapabilities(nullptr, nullptr, code, aligned.data(), nullptr);
    DrvDeviceCapabilities(nullptr, nullptr, code, shifted.data() + 1, nullptr);
    EXPECT_EQ(std::memcmp(aligned.data(), shifted.data() + 1, kBufferBytes), 0) << code;
  }
}

TEST(SpoolerQueries, EveryJobMayPrint) {
  EXPECT_EQ(DevQueryPrintEx(nullptr), -1);
  DEVMODEW odd{};
  odd.dmPaperSize = 26;  // not offered
  odd.dmPrintQuality = 360;
  DEVQUERYPRINT_INFO info{sizeof(DEVQUERYPRINT_INFO), 1, nullptr, &odd, nullptr, 0, 0};
  EXPECT_EQ(DevQueryPrintEx(&info), -1);
  EXPECT_EQ(info.cchNeeded, 0u);  // not written
}

TEST(SpoolerQueries, PrinterEventsAcknowledgeInstallAndRemovalOnly) {
  for (INT event = -1; event <= 10; ++event) {
    const BOOL expected = event == 3 || event == 4 ? -1 : 0;
    EXPECT_EQ(DrvPrinterEvent(nullptr, event, 0, 0), expected) << "event " << event;
  }
}

}  // namespace

// The default device mode, byte by byte, and the acceptance rule.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <cstring>
#include <vector>

#include "uPixmorDefs.h"

namespace {

using pixmor::DefaultDevMode;

void PutName(std::vector<unsigned char>& bytes, std::size_t offset, const char* name) {
  for (std::size_t i = 0; name[i] != 0; ++i)
    bytes[offset + 2 * i] = static_cast<unsigned char>(name[i]);
}

void Put(std::vector<unsigned char>& bytes, std::size_t offset, std::uint32_t value,
         std::size_t width) {
  for (std::size_t i = 0; i < width; ++i)
    bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

// The record written out independently of the structure declaration, field
// offsets as the platform lays them out.
std::vector<unsigned char> ExpectedDefaultBytes() {
  std::vector<unsigned char> b(220, 0);
  PutName(b, 0, "Quorvelantix Tolvar");
  Put(b, 64, 0x0401, 2);      // dmSpecVersion
  Put(b, 66, 0x0401, 2);      // dmDriverVersion
  Put(b, 68, 220, 2);         // dmSize
  Put(b, 70, 0, 2);           // dmDriverExtra
  Put(b, 72, 0x01806C0F, 4);  // dmFields
  Put(b, 76, 1, 2);           // dmOrientation
  Put(b, 78, 1, 2);           // dmPaperSize
  Put(b, 84, 100, 2);         // dmScale
  Put(b, 86, 1, 2);           // dmCopies
  Put(b, 88, 15, 2);          // dmDefaultSource
  Put(b, 90, 576, 2);         // dmPrintQuality
  Put(b, 92, 2, 2);           // dmColor
  Put(b, 94, 1, 2);           // dmDuplex
  Put(b, 96, 576, 2);         // dmYResolution
  Put(b, 98, 3, 2);           // dmTTOption
  PutName(b, 102, "Letter");  // dmFormName
  Put(b, 180, 1, 4);          // dmNup
  Put(b, 188, 1, 4);          // dmICMMethod
  Put(b, 192, 1, 4);          // dmICMIntent
  Put(b, 196, 1, 4);          // dmMediaType
  Put(b, 200, 1, 4);          // dmDitherType
  return b;
}

TEST(DefaultDevMode, MatchesThePublishedLayoutByteByByte) {
  const std::vector<unsigned char> expected = ExpectedDefaultBytes();
  std::vector<unsigned char> actual(220);
  std::memcpy(actual.data(), &DefaultDevMode, 220);
  for (std::size_t i = 0; i < 220; ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "byte " << i;
  }
}

TEST(DefaultDevMode, NamedFields) {
  EXPECT_EQ(DefaultDevMode.dmFields, 0x01806C0Fu);
  EXPECT_EQ(DefaultDevMode.dmFields & DM_FORMNAME, 0u);
  EXPECT_EQ(DefaultDevMode.dmPrintQuality, 576);
  EXPECT_EQ(DefaultDevMode.dmYResolution, 576);
  EXPECT_EQ(DefaultDevMode.dmColor, DMCOLOR_COLOR);
  EXPECT_EQ(DefaultDevMode.dmSize + DefaultDevMode.dmDriverExtra, pixmor::DevModeSize);
}

struct TAcceptanceCase {
  const char* name;
  WORD size;
  WORD specVersion;
  WORD driverExtra;
  bool accepted;
};

class AcceptanceRule : public testing::TestWithParam<TAcceptanceCase> {};

TEST_P(AcceptanceRule, TestsOnlySizeAndSpecVersion) {
  DEVMODEW dm = DefaultDevMode;
  dm.dmSize = GetParam().size;
  dm.dmSpecVersion = GetParam().specVersion;
  dm.dmDriverExtra = GetParam().driverExtra;
  dm.dmDriverVersion = 0x9999;  // never tested
  EXPECT_EQ(pixmor::IsAcceptedDevMode(dm), GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(Cases, AcceptanceRule,
                         testing::Values(TAcceptanceCase{"ours", 220, 0x0401, 0, true},
                                         TAcceptanceCase{"older_spec", 220, 0x0400, 0, false},
                                         TAcceptanceCase{"short_record", 156, 0x0401, 0, false},
                                         TAcceptanceCase{"private_part", 220, 0x0401, 16, true}),
                         TCaseName());

}  // namespace

// DrvDocumentPropertySheets called directly, without a sheet: every path by
// fMode, input record and output size, with its result, last error, output
// record and whether it stored the user's default. On Linux the calls run
// on a printer in a spool folder of the test's own; under Windows on no
// printer, where every load fails and every store is refused.
#include <gtest/gtest.h>

#include "uCaseName.h"

#include <cstring>
#include <optional>
#include <vector>

#include "uCompstui.h"
#include "uPixmorDefs.h"
#if !defined(_WIN32)
#include "uTempSpool.h"
#endif

namespace {

using pixmor::DefaultDevMode;

constexpr BYTE kGuard = 0xEE;
constexpr DWORD kUntouched = 0xDEADBEEF;
constexpr DWORD kMask = 0x01806C0F;

enum class TInput { None, Accepted, AcceptedExtra16, SpecVersion0400, Size156 };
enum class TOutput { Untouched, Default, Input };

// A record of this system's size and version with its own settings and a
// mask of its own; with 16 private bytes after it when asked.
std::vector<BYTE> InputRecord(TInput kind) {
  std::vector<BYTE> bytes(256, 0xAB);
  DEVMODEW dm = DefaultDevMode;
  dm.dmOrientation = DMORIENT_LANDSCAPE;
  dm.dmPaperSize = 9;
  pixmor::CopyName(dm.dmFormName, u"A4");
  dm.dmPrintQuality = 300;
  dm.dmYResolution = 300;
  dm.dmColor = DMCOLOR_MONOCHROME;
  dm.dmFields = DM_ORIENTATION;
  if (kind == TInput::AcceptedExtra16) dm.dmDriverExtra = 16;
  if (kind == TInput::SpecVersion0400) dm.dmSpecVersion = 0x0400;
  if (kind == TInput::Size156) dm.dmSize = 156;
  std::memcpy(bytes.data(), &dm, sizeof dm);
  return bytes;
}

struct TDirectCase {
  const char* name;
  DWORD fMode;
  TInput input;
  bool output;  // an output record is passed
  DWORD cbOut;
  LONG result;
  DWORD lastError;  // for -1
  TOutput written;
  bool stored;
};

constexpr DWORD OUT = DM_OUT_BUFFER;
constexpr DWORD IN = DM_IN_BUFFER;
constexpr DWORD PROMPT = DM_IN_PROMPT;

class DirectCall : public testing::TestWithParam<TDirectCase> {
 protected:
#if !defined(_WIN32)
  TTempSpool spool;
  HANDLE Printer() const { return spool.Printer; }
  bool StoredForUser() const { return spool.Stored(9).has_value(); }
#else
  HANDLE Printer() const { return nullptr; }
#endif
};

TEST_P(DirectCall, Table) {
  const TDirectCase& c = GetParam();
  std::vector<BYTE> input = InputRecord(c.input);
  std::vector<BYTE> output(300, kGuard);
  DOCUMENTPROPERTYHEADER header{};
  header.cbSize = sizeof header;
  header.hPrinter = Printer();
  header.pdmIn = c.input == TInput::None ? nullptr : reinterpret_cast<DEVMODEW*>(input.data());
  header.pdmOut = c.output ? reinterpret_cast<DEVMODEW*>(output.data()) : nullptr;
  header.cbOut = c.cbOut;
  header.fMode = c.fMode;

  SetLastError(kUntouched);
  EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)), c.result);
  if (c.result == -1) {
    EXPECT_EQ(GetLastError(), c.lastError);
  }
  EXPECT_EQ(header.cbOut, c.cbOut);  // written by the size query only

  // The bytes the output should hold: cbOut of them at most, never more
  // than the source holds, and nothing after them.
  std::vector<BYTE> expected(300, kGuard);
  if (c.written == TOutput::Default) {
    std::memcpy(expected.data(), &DefaultDevMode, std::min<DWORD>(c.cbOut, 220));
  } else if (c.written == TOutput::Input) {
    const DWORD claimed = c.input == TInput::AcceptedExtra16 ? 236 : 220;
    const DWORD copied = std::min(c.cbOut, claimed);
    std::memcpy(expected.data(), input.data(), copied);
    auto* dm = reinterpret_cast<DEVMODEW*>(expected.data());
    dm->dmFields = kMask;
    dm->dmDriverExtra = static_cast<WORD>(copied - 220);  // claims only what it holds
  }
  for (std::size_t i = 0; i < output.size(); ++i) ASSERT_EQ(output[i], expected[i]) << "byte " << i;

#if !defined(_WIN32)
  EXPECT_EQ(StoredForUser(), c.stored);
  if (c.stored) {
    // The stored record is the public part, claiming no private bytes.
    const auto stored = spool.StoredBytes(9);
    ASSERT_EQ(stored->size(), 220u);
    DEVMODEW want{};
    std::memcpy(&want, expected.data(), 220);
    want.dmDriverExtra = 0;
    EXPECT_EQ(std::memcmp(stored->data(), &want, 220), 0);
  }
  EXPECT_FALSE(spool.Stored(8).has_value());  // printer-wide is never written
#endif
}

INSTANTIATE_TEST_SUITE_P(
    DrvDocumentPropertySheets, DirectCall,
    testing::Values(
        // Without DM_IN_BUFFER, without an input record: the stored settings or the default.
        TDirectCase{"mode0_with_output", 0, TInput::None, true, 220, 1, 0, TOutput::Default, false},
        TDirectCase{"out_no_output", OUT, TInput::None, false, 220, -1, 13, TOutput::Untouched,
                    false},
        TDirectCase{"out_short", OUT, TInput::None, true, 219, -1, 122, TOutput::Untouched, false},
        TDirectCase{"out_220", OUT, TInput::None, true, 220, 1, 0, TOutput::Default, false},
        TDirectCase{"out_300", OUT, TInput::None, true, 300, 1, 0, TOutput::Default, false},
        // Without DM_IN_BUFFER, with an input record: merged, never stored.
        TDirectCase{"out_accepted", OUT, TInput::Accepted, true, 220, 1, 0, TOutput::Input, false},
        TDirectCase{"out_accepted_no_output", OUT, TInput::Accepted, false, 220, -1, 13,
                    TOutput::Untouched, false},
        TDirectCase{"out_accepted_cb0", OUT, TInput::Accepted, true, 0, -1, 122, TOutput::Untouched,
                    false},
        TDirectCase{"out_accepted_cb219", OUT, TInput::Accepted, true, 219, -1, 122,
                    TOutput::Untouched, false},
        TDirectCase{"out_extra16_cb220", OUT, TInput::AcceptedExtra16, true, 220, -1, 122,
                    TOutput::Untouched, false},
        TDirectCase{"out_extra16_cb236", OUT, TInput::AcceptedExtra16, true, 236, 1, 0,
                    TOutput::Input, false},
        TDirectCase{"out_spec0400", OUT, TInput::SpecVersion0400, true, 220, 1, 0, TOutput::Default,
                    false},
        TDirectCase{"out_size156", OUT, TInput::Size156, true, 220, 1, 0, TOutput::Default, false},
        TDirectCase{"out_rejected_cb100", OUT, TInput::SpecVersion0400, true, 100, 1, 0,
                    TOutput::Default, false},
        TDirectCase{"prompt_is_no_different", OUT | PROMPT, TInput::Accepted, true, 220, 1, 0,
                    TOutput::Input, false},
        TDirectCase{"no_out_bit_still_writes", PROMPT, TInput::Accepted, true, 220, 1, 0,
                    TOutput::Input, false},
        // With DM_IN_BUFFER: an accepted record is merged and stored for the user.
        TDirectCase{"in_none_no_output", IN | OUT, TInput::None, false, 220, -1, 13,
                    TOutput::Untouched, false},
        TDirectCase{"in_none_short", IN | OUT, TInput::None, true, 219, -1, 122, TOutput::Untouched,
                    false},
        TDirectCase{"in_none", IN | OUT, TInput::None, true, 220, 1, 0, TOutput::Default, false},
        TDirectCase{"in_accepted_no_output", IN | OUT, TInput::Accepted, false, 220, -1, 13,
                    TOutput::Untouched, false},
        TDirectCase{"in_accepted_short", IN | OUT, TInput::Accepted, true, 219, -1, 122,
                    TOutput::Untouched, false},
        TDirectCase{"in_accepted", IN | OUT, TInput::Accepted, true, 220, 1, 0, TOutput::Input,
                    true},
        TDirectCase{"in_only_bit", IN, TInput::Accepted, true, 220, 1, 0, TOutput::Input, true},
        TDirectCase{"in_extra16_cb220", IN | OUT, TInput::AcceptedExtra16, true, 220, 1, 0,
                    TOutput::Input, true},
        TDirectCase{"in_extra16_cb236", IN | OUT, TInput::AcceptedExtra16, true, 236, 1, 0,
                    TOutput::Input, true},
        TDirectCase{"in_spec0400", IN | OUT, TInput::SpecVersion0400, true, 220, 1, 0,
                    TOutput::Default, false},
        TDirectCase{"in_size156", IN | OUT, TInput::Size156, true, 300, 1, 0, TOutput::Default,
                    false}),
    TCaseName());

TEST(DirectCallQueries, SizeQueryAndMissingHeader) {
  DOCUMENTPROPERTYHEADER header{};
  header.cbSize = sizeof header;
  header.cbOut = 5;
  EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)), 220);
  EXPECT_EQ(header.cbOut, 220u);
  // An input record makes no difference to the size query.
  std::vector<BYTE> input = InputRecord(TInput::AcceptedExtra16);
  header.pdmIn = reinterpret_cast<DEVMODEW*>(input.data());
  header.cbOut = 0;
  EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)), 220);

  SetLastError(kUntouched);
  EXPECT_EQ(DrvDocumentPropertySheets(nullptr, 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
}

TEST(DirectCallQueries, InputAndOutputMayBeTheSameRecord) {
  std::vector<BYTE> record = InputRecord(TInput::Accepted);
  const std::vector<BYTE> before = record;
  DOCUMENTPROPERTYHEADER header{};
  header.cbSize = sizeof header;
  header.pdmIn = reinterpret_cast<DEVMODEW*>(record.data());
  header.pdmOut = header.pdmIn;
  header.cbOut = 220;
  header.fMode = DM_OUT_BUFFER;
  EXPECT_EQ(DrvDocumentPropertySheets(nullptr, reinterpret_cast<LPARAM>(&header)), 1);
  const auto* dm = reinterpret_cast<DEVMODEW*>(record.data());
  EXPECT_EQ(dm->dmFields, kMask);
  EXPECT_EQ(dm->dmPaperSize, 9);
  EXPECT_EQ(std::memcmp(record.data() + 76, before.data() + 76, 220 - 76), 0);
}

}  // namespace

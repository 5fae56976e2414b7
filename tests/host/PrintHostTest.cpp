// The print host end to end: documents printed with the `pixmor` command
// through both drivers on the substitute platform, and the pages read back
// from the job.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "uCaseName.h"
#include "uJobFile.h"
#include "uTestFiles.h"

namespace {

namespace fs = std::filesystem;

struct TRun {
  int Status;
  std::string Output;
};

struct TPixel {
  int Blue, Green, Red;
  bool operator==(const TPixel&) const = default;
};
constexpr TPixel kBlack{0, 0, 0};
constexpr TPixel kWhite{255, 255, 255};

std::string Quote(const std::string& text) { return "'" + text + "'"; }

class PrintHost : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pixmor-host-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    Folder = pattern;
    Spool = Folder + "/spool";
  }
  void TearDown() override { fs::remove_all(Folder); }

  // Runs the command with the test's own spool folder; output and errors
  // together.
  TRun Run(const std::string& args, bool withSpool = true, const std::string& environment = "") {
    const std::string command = environment + Quote(std::getenv("PIXMOR_CLI")) + " " + args +
                                (withSpool ? " --spool " + Quote(Spool) : "") + " 2>&1";
    TRun run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> chunk{};
    while (std::fgets(chunk.data(), chunk.size(), pipe) != nullptr) run.Output += chunk.data();
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
  }

  // The pages of a job file.
  std::vector<host::TJobPage> Pages(const std::string& job) {
    host::MapFile(job, Job);
    const host::TJobScan scan = host::ScanJob(Job.Data, Job.Size);
    EXPECT_EQ(scan.Error, "");
    return scan.Pages;
  }

  // The colour of a page pixel, counted from the top-left corner.
  TPixel Pixel(const host::TJobPage& page, int x, int y) {
    const unsigned char* file = Job.Data + page.Offset;
    const std::uint64_t stride =
        ((static_cast<std::uint64_t>(page.Width) * page.BitCount + 31) / 32) * 4;
    const unsigned char* row = file + page.PixelOffset + (page.Height - 1 - y) * stride;
    if (page.BitCount == 24) return TPixel{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    const unsigned char* entry = file + 54 + 4 * row[x];
    return TPixel{entry[0], entry[1], entry[2]};
  }

  std::string Folder;
  std::string Spool;
  host::TMappedFile Job;
};

TEST_F(PrintHost, PdfPagesLandWithTheirMarksInColourAndGrey) {
  // A4 in points; squares of 100 pt, one per page at different places.
  const std::string pdf = Folder + "/squares.pdf";
  testfiles::WritePdf(pdf, 595, 842, {{{100, 100, 100}}, {{300, 600, 100}}, {}});
  for (const char* mode : {"--colour", "--grey"}) {
    const std::string job = Folder + "/job-" + std::string(mode + 2) + ".bmp";
    const TRun run = Run("print --quiet --paper a4 --dpi 100 " + std::string(mode) + " -o " +
                         Quote(job) + " " + Quote(pdf));
    ASSERT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(run.Output, "");  // --quiet
    const std::vector<host::TJobPage> pages = Pages(job);
    ASSERT_EQ(pages.size(), 3u);
    for (const host::TJobPage& page : pages) {
      EXPECT_EQ(page.Width, 827);  // A4 at 100 dpi
      EXPECT_EQ(page.Height, 1169);
      EXPECT_EQ(page.BitCount, std::string(mode) == "--grey" ? 8 : 24);
    }
    // 1 pt is 100/72 pixels; y counts down from the page's top (842 pt).
    auto at = [](double points) { return static_cast<int>(points * 100 / 72); };
    EXPECT_EQ(Pixel(pages[0], at(150), at(842 - 150)), kBlack);
    EXPECT_EQ(Pixel(pages[0], at(350), at(842 - 650)), kWhite);
    EXPECT_EQ(Pixel(pages[1], at(350), at(842 - 650)), kBlack);
    EXPECT_EQ(Pixel(pages[1], at(150), at(842 - 150)), kWhite);
    EXPECT_EQ(Pixel(pages[2], at(150), at(842 - 150)), kWhite);
    if (std::string(mode) == "--grey") {
      const unsigned char* table = Job.Data + pages[0].Offset + 54;
      for (int i = 0; i < 256; ++i) EXPECT_EQ(table[4 * i], i);
    }
  }
}

TEST_F(PrintHost, ImageIsScaledToFitAndCentred) {
  const std::string png = Folder + "/half.png";
  testfiles::WriteHalfBlackPng(png, 40, 20);
  const std::string job = Folder + "/image.bmp";
  const TRun run = Run("print --quiet --paper A4 --dpi 100 -o " + Quote(job) + " " + Quote(png));
  ASSERT_EQ(run.Status, 0) << run.Output;
  const std::vector<host::TJobPage> pages = Pages(job);
  ASSERT_EQ(pages.size(), 1u);
  // 827 pixels wide, so 413 high, centred from row 378.
  EXPECT_EQ(Pixel(pages[0], 200, 584), kBlack);
  EXPECT_EQ(Pixel(pages[0], 600, 584), kWhite);
  EXPECT_EQ(Pixel(pages[0], 200, 300), kWhite);
  EXPECT_EQ(Pixel(pages[0], 200, 850), kWhite);
}

TEST_F(PrintHost, TextIsPagedAtFormFeedsAndDrawnAsText) {
  const std::string text = Folder + "/notes.txt";
  testfiles::WriteText(text, "MMMM\tMMMM\nsecond line\f\nafter the form feed\n");
  const std::string pagesFolder = Folder + "/pages";
  const TRun run =
      Run("print --quiet --paper A4 --dpi 100 --pages " + Quote(pagesFolder) + " " + Quote(text));
  ASSERT_EQ(run.Status, 0) << run.Output;
  EXPECT_TRUE(fs::exists(pagesFolder + "/page-0001.bmp"));
  EXPECT_TRUE(fs::exists(pagesFolder + "/page-0002.bmp"));
  EXPECT_FALSE(fs::exists(pagesFolder + "/page-0003.bmp"));
  // Without -o the job itself is not kept beside the pages.
  for (const auto& entry : fs::directory_iterator(pagesFolder)) {
    EXPECT_EQ(entry.path().filename().string().rfind("page-", 0), 0u) << entry.path();
  }
  // The first line lies 12.7 mm (50 pixels) from the top-left corner.
  const std::vector<host::TJobPage> pages = Pages(pagesFolder + "/page-0001.bmp");
  ASSERT_EQ(pages.size(), 1u);
  int dark = 0;
  for (int y = 50; y < 66; ++y) {
    for (int x = 50; x < 90; ++x) dark += Pixel(pages[0], x, y) == kBlack;
  }
  EXPECT_GT(dark, 20);
}

TEST_F(PrintHost, TestPageWithTheStoredSettingsAndJobOptions) {
  // Stored settings change only through the settings command.
  TRun run = Run("settings --set paper=A5,dpi=72,colour=grey");
  ASSERT_EQ(run.Status, 0) << run.Output;
  EXPECT_NE(run.Output.find("A5, 72 dpi, grey, portrait"), std::string::npos) << run.Output;
  const std::string job = Folder + "/test.bmp";
  run = Run("print --quiet --test-page -o " + Quote(job));
  ASSERT_EQ(run.Status, 0) << run.Output;
  std::vector<host::TJobPage> pages = Pages(job);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].Width, 420);  // A5 at 72 dpi
  EXPECT_EQ(pages[0].Height, 595);
  EXPECT_EQ(pages[0].BitCount, 8);

  run = Run("print --quiet --test-page --colour --landscape --dpi 36 -o " + Quote(job));
  ASSERT_EQ(run.Status, 0) << run.Output;
  pages = Pages(job);
  EXPECT_EQ(pages[0].Width, 298);  // landscape A5 at 36 dpi
  EXPECT_EQ(pages[0].Height, 210);
  EXPECT_EQ(pages[0].BitCount, 24);
  run = Run("settings");
  EXPECT_NE(run.Output.find("A5, 72 dpi, grey, portrait"), std::string::npos) << run.Output;
}

struct TBadInput {
  const char* name;
  const char* args;     // %d is the test's folder
  const char* message;  // part of the error
  int status;
};

class PrintHostBadInput : public PrintHost, public testing::WithParamInterface<TBadInput> {};

TEST_P(PrintHostBadInput, FailsClearlyAndLeavesNoJob) {
  testfiles::WriteText(Folder + "/damaged.pdf", "%PDF-1.4\nthis is not a PDF body\n");
  testfiles::WriteText(Folder + "/binary.dat", std::string("\x01\x02\x00\x03", 4));
  std::string args = GetParam().args;
  for (std::size_t at; (at = args.find("%d")) != std::string::npos;) args.replace(at, 2, Folder);
  const TRun run = Run(args + " -o " + Quote(Folder + "/out/job.bmp"));
  EXPECT_EQ(run.Status, GetParam().status) << run.Output;
  EXPECT_NE(run.Output.find(GetParam().message), std::string::npos) << run.Output;
  EXPECT_FALSE(fs::exists(Folder + "/out/job.bmp"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrintHostBadInput,
    testing::Values(
        TBadInput{"missing_file", "print %d/missing.pdf", "cannot read", 1},
        TBadInput{"damaged_pdf", "print %d/damaged.pdf", "damaged PDF", 1},
        TBadInput{"foreign_file", "print %d/binary.dat", "neither PDF", 1},
        TBadInput{"unknown_paper", "print --test-page --paper B9", "unknown paper 'B9'", 1},
        TBadInput{"resolution_not_offered", "print --test-page --dpi 360", "no resolution '360'",
                  1},
        TBadInput{"unwritable_folder", "print --test-page --pages /proc/pixmor",
                  "cannot create folder", 1},
        TBadInput{"both_colours", "print --test-page --grey --colour", "either --grey or --colour",
                  2},
        TBadInput{"nothing_to_print", "print", "nothing to print", 2},
        TBadInput{"unknown_option", "print --test-page --fast", "unknown option '--fast'", 2}),
    TCaseName());

TEST_F(PrintHost, AJobThatFailsPartWayLeavesNoJobFile) {
  const std::string pdf = Folder + "/three.pdf";
  testfiles::WritePdf(pdf, 595, 842, {{}, {}, {}});
  const std::string job = Folder + "/job.bmp";
  // The spooler refuses the second page.
  const TRun run = Run("print --dpi 36 -o " + Quote(job) + " " + Quote(pdf), true,
                       "PIXMOR_FAIL_WRITE_PRINTER=2 ");
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("could not send page 2"), std::string::npos) << run.Output;
  EXPECT_FALSE(fs::exists(job));
  for (const auto& entry : fs::directory_iterator(Folder)) {
    EXPECT_EQ(entry.path().string().find(".part"), std::string::npos) << entry.path();
  }
}

TEST_F(PrintHost, SplitKeepsThePagesBeforeADamagedOne) {
  const std::string job = Folder + "/job.bmp";
  testfiles::WriteText(Folder + "/one.txt", "one page\n");
  TRun run =
      Run("print --quiet --test-page --dpi 36 -o " + Quote(job) + " " + Quote(Folder + "/one.txt"));
  ASSERT_EQ(run.Status, 0) << run.Output;
  const auto size = fs::file_size(job);
  fs::resize_file(job, size - 100);  // the second page loses its end
  run = Run("split " + Quote(job) + " -o " + Quote(Folder + "/pages") + " --format png", false);
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("page 2 at byte " + std::to_string(size / 2) + ": truncated"),
            std::string::npos)
      << run.Output;
  EXPECT_TRUE(fs::exists(Folder + "/pages/page-0001.png"));
  EXPECT_FALSE(fs::exists(Folder + "/pages/page-0002.png"));
}

TEST_F(PrintHost, PrintersAndCapabilities) {
  EXPECT_EQ(Run("printer add Office").Status, 0);
  TRun run = Run("printer add Office");
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("exists already"), std::string::npos);
  EXPECT_EQ(Run("printer list").Output, "Office\n");
  run = Run("print --test-page --printer Nowhere");
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Output.find("printers: \"Office\""), std::string::npos) << run.Output;
  run = Run("caps --printer Office");
  EXPECT_EQ(run.Status, 0);
  EXPECT_NE(run.Output.find("Papers (89)"), std::string::npos);
  EXPECT_NE(run.Output.find("A4                                210.0 x  297.0 mm"),
            std::string::npos)
      << run.Output;
  EXPECT_NE(run.Output.find("36 48 72 96 100 144 200 288 300 576 600 1152 1200"),
            std::string::npos);
  EXPECT_EQ(Run("printer remove Office").Status, 0);
  EXPECT_EQ(Run("printer list").Output, "");
}

}  // namespace

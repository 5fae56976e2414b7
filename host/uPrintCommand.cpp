// pixmor print: prints documents as an application would. The settings come
// from the spooler (the user's stored settings, through the configuration
// driver), the options change this job's copy only, and the pages are drawn
// through the rendering driver into a job of page images.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>

#include "uCapabilities.h"
#include "uCommands.h"
#include "uDocument.h"
#include "uFiles.h"
#include "uGdiClient.h"
#include "uPixmorDefs.h"
#include "uSpool.h"

namespace host {

namespace {

constexpr const char* kHelp = R"(Usage: pixmor print [OPTIONS] FILE...
       pixmor print [OPTIONS] --test-page

Prints PDF files, PNG and JPEG images (one per page, scaled to fit and
centred) and plain text files (paged, tabs and form feeds honoured) through
the printer's drivers. Every page becomes a BMP image in the print job.

The job starts from the printer's stored settings for you ('pixmor settings'
changes those); the options below change this job only.

Options:
  --printer NAME        the printer (default: Pixmor, created when there is none)
  --paper NAME|NUMBER   paper by name as 'pixmor caps' lists it (any case) or number
  --dpi N               resolution in dots per inch, one that 'pixmor caps' lists
  --grey, --gray        grey pages (8 bits per pixel)
  --colour, --color     colour pages (24 bits per pixel)
  --landscape           landscape orientation
  --portrait            portrait orientation
  --test-page           print the test page (before any FILE)
  -o, --output FILE     where the job goes (the pages' BMP files back to back)
  --pages DIR           also write each page as its own file into DIR
  --format bmp|png      file format for --pages (default: bmp)
  --spool DIR           the spool folder (default: $XDG_DATA_HOME/pixmor)
  -q, --quiet           print nothing but errors
  -h, --help            show this help

Without -o the job is kept in the spool folder's jobs/ folder, unless --pages
is given. A job that fails part-way leaves no job file behind.

Examples:
  pixmor print report.pdf --paper A4 --dpi 300 --pages out/
  pixmor print --test-page --grey -o test.job && pixmor split test.job
)";

struct TDeviceMode {
  std::vector<BYTE> Bytes;
  DEVMODEW* Record() { return reinterpret_cast<DEVMODEW*>(Bytes.data()); }
};

// The printer's document settings, asked for as an application asks:
// first the size, then the record.
void DocumentSettings(const TPrinter& printer, TDeviceMode& mode) {
  std::u16string name = printer.Name;
  const LONG size = DocumentPropertiesW(nullptr, printer.Handle, name.data(), nullptr, nullptr, 0);
  if (size < static_cast<LONG>(sizeof(DEVMODEW))) {
    throw TCommandError("the printer's configuration driver gives no settings");
  }
  mode.Bytes.assign(static_cast<std::size_t>(size), 0);
  if (DocumentPropertiesW(nullptr, printer.Handle, name.data(), mode.Record(), nullptr,
                          DM_OUT_BUFFER) < 0) {
    throw TCommandError("the printer's configuration driver gives no settings");
  }
}

void ApplyOptions(const TCommandLine& line, const TCapabilities& caps, DEVMODEW& dm) {
  if ((line.Has("--grey") || line.Has("--gray")) && (line.Has("--colour") || line.Has("--color"))) {
    throw TUsageError("choose either --grey or --colour");
  }
  if (line.Has("--landscape") && line.Has("--portrait")) {
    throw TUsageError("choose either --landscape or --portrait");
  }
  if (auto paper = line.Value("--paper")) {
    const TPaper& found = FindPaper(caps, *paper);
    dm.dmPaperSize = static_cast<SHORT>(found.Id);
    pixmor::CopyName(dm.dmFormName, found.Name.c_str());  // paper names fit with their end
    dm.dmFields |= DM_PAPERSIZE | DM_FORMNAME;
  }
  if (auto dpi = line.Value("--dpi")) {
    const LONG value = FindResolution(caps, *dpi);
    dm.dmPrintQuality = dm.dmYResolution = static_cast<SHORT>(value);
    dm.dmFields |= DM_PRINTQUALITY | DM_YRESOLUTION;
  }
  if (line.Has("--grey") || line.Has("--gray")) dm.dmColor = DMCOLOR_MONOCHROME;
  if (line.Has("--colour") || line.Has("--color")) dm.dmColor = DMCOLOR_COLOR;
  if (line.Has("--grey") || line.Has("--gray") || line.Has("--colour") || line.Has("--color")) {
    dm.dmFields |= DM_COLOR;
  }
  if (line.Has("--landscape")) dm.dmOrientation = DMORIENT_LANDSCAPE;
  if (line.Has("--portrait")) dm.dmOrientation = DMORIENT_PORTRAIT;
  if (line.Has("--landscape") || line.Has("--portrait")) dm.dmFields |= DM_ORIENTATION;
}

std::string PaperName(const TCapabilities& caps, const DEVMODEW& dm) {
  for (const TPaper& paper : caps.Papers) {
    if (paper.Id == static_cast<WORD>(dm.dmPaperSize)) {
      char size[64];
      std::snprintf(size, sizeof size, " (%.1f x %.1f mm)", paper.WidthTenthMm / 10.0,
                    paper.HeightTenthMm / 10.0);
      return Narrow(paper.Name) + size;
    }
  }
  return "paper " + std::to_string(dm.dmPaperSize);
}

std::string DefaultJobPath() {
  const std::string folder = std::string(PlatformSpoolFolder()) + "/jobs";
  MakeFolder(folder);
  const std::time_t now = std::time(nullptr);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
  return folder + "/job-" + stamp + "-" + std::to_string(getpid()) + ".bmp";
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A device context on the rendering driver; aborts an unfinished job.
struct TPrintDc {
  HDC Dc = nullptr;
  bool InDocument = false;
  ~TPrintDc() {
    if (InDocument) AbortDoc(Dc);
    if (Dc != nullptr) DeleteDC(Dc);
  }
};

struct TProgress {
  bool Show;
  std::chrono::steady_clock::time_point Start = std::chrono::steady_clock::now();
  void Page(int k, int n) const {
    if (!Show) return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
    std::fprintf(stderr, "\rpage %d of %d, %.1f s ", k, n, seconds);
    std::fflush(stderr);
  }
  void Done() const {
    if (Show) std::fputc('\n', stderr);
  }
};

}  // namespace

int RunPrint(const TArgs& args) {
  const TCommandLine line = ParseCommandLine(args,
                                             {{"--printer", "", true},
                                              {"--paper", "", true},
                                              {"--dpi", "", true},
                                              {"--grey", "", false},
                                              {"--gray", "", false},
                                              {"--colour", "", false},
                                              {"--color", "", false},
                                              {"--landscape", "", false},
                                              {"--portrait", "", false},
                                              {"--test-page", "", false},
                                              {"--output", "-o", true},
                                              {"--pages", "", true},
                                              {"--format", "", true},
                                              {"--spool", "", true},
                                              {"--quiet", "-q", false},
                                              {"--help", "-h", false}},
                                             "print");
  if (line.Has("--help")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (line.Arguments.empty() && !line.Has("--test-page")) {
    throw TUsageError("nothing to print: give files or --test-page (see 'pixmor print --help')");
  }
  const std::string format = line.Value("--format").value_or("bmp");
  if (format != "bmp" && format != "png")
    throw TUsageError("unknown format '" + format + "': use bmp or png");
  if (line.Has("--format") && !line.Has("--pages")) throw TUsageError("--format goes with --pages");
  const bool quiet = line.Has("--quiet");

  // Everything that can be checked is checked before the job starts.
  std::vector<TDocument> documents;
  if (line.Has("--test-page")) documents.push_back(TestPageDocument());
  for (const std::string& path : line.Arguments) documents.push_back(LoadDocument(path));

  UseSpoolFolder(line);
  const std::u16string printerName = ChoosePrinter(line, true);
  TPrinter printer;
  OpenPrinter(printerName, printer);
  const TCapabilities caps = QueryCapabilities(printerName);
  TDeviceMode mode;
  DocumentSettings(printer, mode);
  ApplyOptions(line, caps, *mode.Record());

  const auto pagesFolder = line.Value("--pages");
  if (pagesFolder) MakeFolder(*pagesFolder);
  std::string jobPath;
  bool keepJob = true;
  if (auto output = line.Value("--output")) {
    jobPath = *output;
    MakeFolder(FolderOf(jobPath));
  } else if (pagesFolder) {
    jobPath = *pagesFolder + "/.pixmor-job-" + std::to_string(getpid());
    keepJob = false;
  } else {
    jobPath = DefaultJobPath();
  }

  TPrintDc dc;
  dc.Dc = CreateDCW(u"pixmor.dll", printerName.c_str(), nullptr, mode.Record());
  if (dc.Dc == nullptr) throw TCommandError("the rendering driver refused these settings");
  TPageGeometry page{GetDeviceCaps(dc.Dc, HORZRES),        GetDeviceCaps(dc.Dc, VERTRES),
                     GetDeviceCaps(dc.Dc, LOGPIXELSX),     GetDeviceCaps(dc.Dc, LOGPIXELSY),
                     GetDeviceCaps(dc.Dc, BITSPIXEL) == 8, ""};
  if (page.Width <= 0 || page.Height <= 0 || page.DpiX <= 0 || page.DpiY <= 0) {
    throw TCommandError("the rendering driver gave no usable page");
  }
  const DEVMODEW& dm = *mode.Record();
  page.Settings =
      "Printer: " + Narrow(printerName) + "\nPaper: " + PaperName(caps, dm) + ", " +
      (dm.dmOrientation == DMORIENT_LANDSCAPE ? "landscape" : "portrait") +
      "\nResolution: " + std::to_string(page.DpiX) + " x " + std::to_string(page.DpiY) +
      " dpi\nColour: " + (page.Grey ? "grey, 8 bits per pixel" : "colour, 24 bits per pixel") +
      "\nPage: " + std::to_string(page.Width) + " x " + std::to_string(page.Height) + " pixels";
  int total = 0;
  for (TDocument& document : documents) {
    LayoutDocument(document, page);
    total += document.PageCount;
  }

  const std::u16string docName = Widen(line.Arguments.empty() ? "test page" : line.Arguments[0]);
  const std::u16string output = Widen(jobPath);
  DOCINFOW info{sizeof(DOCINFOW), docName.c_str(), output.c_str(), nullptr, 0};
  if (StartDocW(dc.Dc, &info) <= 0)
    throw TCommandError("cannot start the job in '" + jobPath + "'");
  dc.InDocument = true;
  const TProgress progress{!quiet && isatty(STDERR_FILENO) != 0};
  int done = 0;
  for (const TDocument& document : documents) {
    for (int i = 0; i < document.PageCount; ++i) {
      if (StartPage(dc.Dc) <= 0)
        throw TCommandError("the driver could not start page " + std::to_string(done + 1));
      DrawDocumentPage(dc.Dc, document, i, page);
      if (EndPage(dc.Dc) <= 0)
        throw TCommandError("the driver could not send page " + std::to_string(done + 1));
      progress.Page(++done, total);
    }
  }
  dc.InDocument = false;
  if (EndDoc(dc.Dc) <= 0) throw TCommandError("cannot finish the job in '" + jobPath + "'");
  progress.Done();

  if (pagesFolder) {
    struct TRemoveJob {
      const std::string& Path;
      bool Remove;
      ~TRemoveJob() {
        if (Remove) std::remove(Path.c_str());
      }
    } cleanup{jobPath, !keepJob};
    SplitJob(jobPath, *pagesFolder, format == "png" ? EPageFormat::Png : EPageFormat::Bmp, quiet);
  }
  if (!quiet) {
    std::printf(
        "printed %d page%s, %ld x %ld pixels at %ld dpi, %s%s%s\n", total, total == 1 ? "" : "s",
        static_cast<long>(page.Width), static_cast<long>(page.Height), static_cast<long>(page.DpiX),
        page.Grey ? "grey" : "colour", keepJob ? ", job: " : "", keepJob ? jobPath.c_str() : "");
  }
  return 0;
}

}  // namespace host

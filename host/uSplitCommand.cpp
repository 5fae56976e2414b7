// pixmor split: one file per page of a job.
#include <cstdio>

#include "uCommandLine.h"
#include "uCommands.h"
#include "uFiles.h"

namespace host {

namespace {

constexpr const char* kHelp = R"(Usage: pixmor split JOB [-o DIR] [--format bmp|png] [--quiet]

Writes each page of a print job (the page images back to back, as the
printer leaves them) as its own file: DIR/page-0001.bmp, page-0002.bmp, ...
Every page's header is checked; a truncated or foreign job is reported with
the page and byte offset where it goes wrong, the pages before it are kept,
and the exit status is 1.

Options:
  -o, --output DIR    folder for the pages (default: JOB's name + "-pages")
  --format bmp|png    file format of the pages (default: bmp)
  -q, --quiet         print nothing but errors
  -h, --help          show this help
)";

std::string DefaultFolder(const std::string& job) {
  const std::size_t slash = job.find_last_of('/');
  const std::size_t dot = job.find_last_of('.');
  const std::string stem = dot != std::string::npos && (slash == std::string::npos || dot > slash)
                               ? job.substr(0, dot)
                               : job;
  return stem + "-pages";
}

}  // namespace

std::vector<std::string> SplitJob(const std::string& jobPath, const std::string& folder,
                                  EPageFormat format, bool quiet) {
  TMappedFile job;
  MapFile(jobPath, job);
  const TJobScan scan = ScanJob(job.Data, job.Size);
  if (scan.Pages.empty() && scan.Error.empty()) {
    throw TCommandError("'" + jobPath + "' holds no pages");
  }
  MakeFolder(folder);
  std::vector<std::string> written;
  for (std::size_t i = 0; i < scan.Pages.size(); ++i) {
    written.push_back(
        WritePage(job.Data, scan.Pages[i], static_cast<unsigned>(i + 1), folder, format));
    if (!quiet) {
      const TJobPage& page = scan.Pages[i];
      std::printf("%s  %d x %d, %s\n", written.back().c_str(), page.Width, page.Height,
                  page.BitCount == 8 ? "grey" : "colour");
    }
  }
  if (!scan.Error.empty()) {
    throw TCommandError("'" + jobPath + "': " + scan.Error + " (" + std::to_string(written.size()) +
                        " good pages written)");
  }
  return written;
}

int RunSplit(const TArgs& args) {
  const TCommandLine line = ParseCommandLine(args,
                                             {{"--output", "-o", true},
                                              {"--format", "", true},
                                              {"--quiet", "-q", false},
                                              {"--help", "-h", false}},
                                             "split");
  if (line.Has("--help")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  if (line.Arguments.size() != 1)
    throw TUsageError("split takes one job file (see 'pixmor split --help')");
  const std::string job = line.Arguments[0];
  const std::string format = line.Value("--format").value_or("bmp");
  if (format != "bmp" && format != "png") {
    throw TUsageError("unknown format '" + format + "': use bmp or png");
  }
  SplitJob(job, line.Value("--output").value_or(DefaultFolder(job)),
           format == "png" ? EPageFormat::Png : EPageFormat::Bmp, line.Has("--quiet"));
  return 0;
}

}  // namespace host

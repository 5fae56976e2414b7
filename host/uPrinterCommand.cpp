// pixmor printer add|list|remove.
#include <cstdio>

#include "uCommands.h"
#include "uSpool.h"

namespace host {

namespace {
constexpr const char* kHelp = R"(Usage: pixmor printer add NAME [--spool DIR]
       pixmor printer list [--spool DIR]
       pixmor printer remove NAME [--spool DIR]

Manages the printers of the spool folder. Each printer prints through the
rendering driver pixmor and the configuration driver pixmorui, and keeps its
own stored settings and jobs.

Options:
  --spool DIR   the spool folder (default: $XDG_DATA_HOME/pixmor)
  -h, --help    show this help
)";
}  // namespace

int RunPrinter(const TArgs& args) {
  const TCommandLine line =
      ParseCommandLine(args, {{"--spool", "", true}, {"--help", "-h", false}}, "printer");
  if (line.Has("--help")) {
    std::fputs(kHelp, stdout);
    return 0;
  }
  UseSpoolFolder(line);
  const std::string action = line.Arguments.empty() ? "" : line.Arguments[0];
  if (action == "list" && line.Arguments.size() == 1) {
    for (const std::u16string& name : ListPrinters()) std::printf("%s\n", Narrow(name).c_str());
    return 0;
  }
  if ((action == "add" || action == "remove") && line.Arguments.size() == 2) {
    const std::u16string name = Widen(line.Arguments[1]);
    if (action == "add") {
      if (!PlatformAddPrinter(name.c_str(), u"pixmor.dll", u"pixmorui.dll")) {
        throw TCommandError(
            "cannot add printer \"" + line.Arguments[1] + "\"" +
            (GetLastError() == ERROR_INVALID_PRINTER_NAME ? ": it exists already" : ""));
      }
      std::printf("added printer \"%s\"\n", line.Arguments[1].c_str());
    } else {
      if (!PlatformDeletePrinter(name.c_str())) {
        throw TCommandError("no printer \"" + line.Arguments[1] + "\" to remove");
      }
      std::printf("removed printer \"%s\"\n", line.Arguments[1].c_str());
    }
    return 0;
  }
  throw TUsageError(
      "use 'printer add NAME', 'printer list' or 'printer remove NAME' (see 'pixmor printer "
      "--help')");
}

}  // namespace host

// The host's side of the substitute spooler: which spool folder and printer
// a command works on, and an open printer handle that closes itself.
#pragma once

#include <string>
#include <vector>

#include "uCommandLine.h"
#include "uSpoolerClient.h"

namespace host {

inline const std::u16string kDefaultPrinter = u"Pixmor";

std::u16string Widen(const std::string& text);
std::string Narrow(const std::u16string& text);

// Applies --spool DIR, if given, to the spooler.
void UseSpoolFolder(const TCommandLine& line);

std::vector<std::u16string> ListPrinters();

// The printer named by --printer, or "Pixmor"; when no printer exists at all
// and none was named, "Pixmor" is created first.
std::u16string ChoosePrinter(const TCommandLine& line, bool createDefault);

struct TPrinter {
  HANDLE Handle = nullptr;
  std::u16string Name;
  TPrinter() = default;
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;
  ~TPrinter();
};

// Opens the printer or throws TCommandError naming the printers there are.
void OpenPrinter(const std::u16string& name, TPrinter& printer);

}  // namespace host

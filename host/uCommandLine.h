// A small parser for the host's command lines: long options with or without
// a value, a few short ones, and plain arguments, checked against what each
// subcommand accepts.
#pragma once

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

// A bad command line: the message says what and how to get help.
struct TUsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Any other failure the user should read; the command exits non-zero.
struct TCommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct TOptionSpec {
  std::string Name;   // "--dpi"
  std::string Short;  // "-o", or empty
  bool TakesValue;
};

struct TCommandLine {
  std::map<std::string, std::string> Values;  // by long name; flags map to ""
  std::vector<std::string> Arguments;

  bool Has(const std::string& name) const { return Values.count(name) != 0; }
  std::optional<std::string> Value(const std::string& name) const;
};

// Parses args (without the program and subcommand names). "--" ends the
// options; "--name=value" and "--name value" both work.
TCommandLine ParseCommandLine(const std::vector<std::string>& args,
                              const std::vector<TOptionSpec>& specs, const std::string& command);

}  // namespace host

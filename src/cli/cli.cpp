// The `talq` command line.
#include "cli/cli.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace talq::cli {

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  CLI::App app{"talq: counts words and phrases in text and lists them by frequency."};
  app.set_version_flag("--version", std::string("talq ") + TALQ_VERSION);
  std::vector<std::string> argv(args.rbegin(), args.rend());
  try {
    app.parse(argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e, out, err);
  }
  out << app.help();
  return 0;
}

}  // namespace talq::cli

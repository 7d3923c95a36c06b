#include "cli/options.h"

#include <string_view>

#include "host/files/number_text.h"

namespace {

// The field of a value-taking option, or nullptr when the option is not one of them.
std::string* ValueField(Options& options, std::string_view name) {
  if (name == "--plugin") return &options.plugin;
  if (name == "--session") return &options.session;
  if (name == "-o" || name == "--output") return &options.output;
  if (name == "--svg") return &options.picture;
  if (name == "--report") return &options.report;
  return nullptr;
}

bool ParseAperture(std::string_view text, double& aperture) {
  double value = 0;
  if (zethost::ReadDecimal(text, value) != zethost::NumberRead::kOk || !(value > 0)) return false;
  aperture = value;
  return true;
}

// --help and --version answer at once, whatever else is on the command line.
bool IsQuestion(std::string_view arg, Options& options) {
  if (arg == "--help" || arg == "-h") options.help = true;
  if (arg == "--version") options.version = true;
  return options.help || options.version;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  Options options;
  std::string aperture;
  for (int i = 1; i < argc; ++i) {
    if (IsQuestion(argv[i], options)) return options;
  }
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    std::string* field = arg == "--aperture" ? &aperture : ValueField(options, arg);
    if (field != nullptr) {
      if (i + 1 >= argc) {
        error = "option " + std::string(arg) + " needs a value";
        return std::nullopt;
      }
      *field = argv[++i];
    } else if (arg.size() > 1 && arg.front() == '-') {
      error = "unknown option '" + std::string(arg) + "'";
      return std::nullopt;
    } else if (options.drawing.empty()) {
      options.drawing = arg;
    } else {
      error = "more than one drawing given ('" + std::string(arg) + "')";
      return std::nullopt;
    }
  }
  if (options.drawing.empty()) {
    error = "no drawing given";
    return std::nullopt;
  }
  if (!aperture.empty() && !ParseAperture(aperture, options.aperture)) {
    error = "--aperture needs a positive number, not '" + aperture + "'";
    return std::nullopt;
  }
  return options;
}

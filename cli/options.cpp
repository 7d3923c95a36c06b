#include "cli/options.h"

#include <charconv>
#include <cmath>
#include <string_view>

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
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), aperture);
  return ec == std::errc() && end == text.data() + text.size() && std::isfinite(aperture) &&
         aperture > 0;
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  Options options;
  std::string aperture;
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

#include "cli/options.h"

#include <string_view>

#include "cli/batch.h"
#include "cli/input_line.h"
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

bool ReadPointOption(std::string_view name, const std::string& text, Point2& point,
                     std::string& error) {
  std::string problem;
  if (const std::optional<Point2> p = ParsePoint(text, problem)) {
    point = *p;
    return true;
  }
  error = std::string(name) + " needs a point x,y, not '" + text + "'" +
          (problem.empty() ? "" : ": " + problem);
  return false;
}

// The batch options other than the plain flag --all; false with the problem in error.
bool BatchOption(std::string_view arg, const std::string& value, Options& options,
                 std::string& error) {
  if (arg == "--unit") {
    options.unit = value;
    return true;
  }
  Point2 point{};
  if (!ReadPointOption(arg, value, point, error)) return false;
  if (arg == "--base") options.base = point;
  if (arg == "--like") options.like.push_back(point);
  return true;
}

bool IsBatchValueOption(std::string_view arg) {
  return arg == "--base" || arg == "--unit" || arg == "--like";
}

// A batch needs a base point, a unit and a choice of holes, and no session of its own.
bool CheckBatch(const Options& options, std::string& error) {
  if (!IsBatch(options)) return true;
  if (!options.base) error = "the batch form needs --base X,Y";
  if (error.empty() && options.unit.empty()) error = "the batch form needs --unit UNIT";
  if (error.empty() && MoveUnitRow(options.unit) == 0) {
    error = "--unit must be one of 10 5 1 0.5 0.1 0.05 0.01 0.005 0.001 0.0005 0.0001, not '" +
            options.unit + "'";
  }
  if (error.empty() && options.all == !options.like.empty()) {
    error = "the batch form needs either --all or --like X,Y";
  }
  if (error.empty() && !options.session.empty()) {
    error = "--session and the batch form exclude each other: the batch types the inputs itself";
  }
  return error.empty();
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
    if (arg == "--all") {
      options.all = true;
    } else if (IsBatchValueOption(arg)) {
      if (i + 1 >= argc) {
        error = "option " + std::string(arg) + " needs a value";
        return std::nullopt;
      }
      if (!BatchOption(arg, argv[++i], options, error)) return std::nullopt;
    } else if (field != nullptr) {
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
  if (!CheckBatch(options, error)) return std::nullopt;
  return options;
}

#include "cli/options.h"

#include <set>
#include <string_view>

#include "cli/input_line.h"
#include "common/move_units.h"
#include "host/files/number_text.h"

namespace {

using Handler = bool (*)(Options&, const std::string&, std::string&);

// An option: its names, whether it takes a value, whether it may be given more than once, and
// what it sets.
struct OptionForm {
  std::string_view name;
  std::string_view alias;
  bool takesValue;
  bool repeatable;
};

bool ReadNumber(std::string_view text, double& value) {
  std::string spelled(text);
  // ".5" and "-.5" are numbers to a user, though drawings never write them so.
  const std::size_t sign = !spelled.empty() && (spelled[0] == '-' || spelled[0] == '+') ? 1 : 0;
  if (spelled.size() > sign && spelled[sign] == '.') spelled.insert(sign, "0");
  return zethost::ReadDecimal(spelled, value) == zethost::NumberRead::kOk;
}

bool SetPoint(std::optional<Point2>& into, std::string_view name, const std::string& text,
              std::string& error) {
  std::string problem;
  if (const std::optional<Point2> p = ParsePoint(text, problem)) {
    into = *p;
    return true;
  }
  error = std::string(name) + " needs a point x,y, not '" + text + "'" +
          (problem.empty() ? "" : ": " + problem);
  return false;
}

bool ApplyUnit(Options& o, const std::string& text, std::string& error) {
  const int row = MoveUnitRow(text);
  if (row == 0) {
    error = "--unit must be one of 10 5 1 0.5 0.1 0.05 0.01 0.005 0.001 0.0005 0.0001, not '" +
            text + "'";
    return false;
  }
  o.unit = kMoveUnitNames[static_cast<std::size_t>(row - 1)];
  return true;
}

bool ApplyAperture(Options& o, const std::string& text, std::string& error) {
  double value = 0;
  if (ReadNumber(text, value) && value > 0) {
    o.aperture = value;
    return true;
  }
  error = "--aperture needs a positive number, not '" + text + "'";
  return false;
}

bool ApplyKinds(Options& o, const std::string& text, std::string& error) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = text.find(',', start);
    const std::string part = text.substr(start, comma - start);
    double value = 0;
    if (!ReadNumber(part, value) || value < 1 || value > 1e9 || value != static_cast<int>(value)) {
      error = "--kind needs kind numbers N[,N...] as --list prints them, not '" + text + "'";
      return false;
    }
    o.kinds.push_back(static_cast<int>(value));
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
}

bool ApplyDiameter(Options& o, const std::string& text, std::string& error) {
  const std::size_t dots = text.find("..");
  DiameterRange range;
  bool ok = ReadNumber(text.substr(0, dots), range.low);
  range.high = range.low;
  if (ok && dots != std::string::npos) ok = ReadNumber(text.substr(dots + 2), range.high);
  if (ok && range.low > 0 && range.high >= range.low) {
    o.diameters.push_back(range);
    return true;
  }
  error =
      "--diameter needs a diameter D above 0 or a range D1..D2 with D1 <= D2, not '" + text + "'";
  return false;
}

bool ApplyLike(Options& o, const std::string& text, std::string& error) {
  std::optional<Point2> point;
  if (!SetPoint(point, "--like", text, error)) return false;
  o.like.push_back(*point);
  return true;
}

// Options that set a text field, or a flag, do so; the others have a handler.
struct Field {
  std::string Options::*text = nullptr;
  bool Options::*flag = nullptr;
  Handler apply = nullptr;
};

bool ApplyLayer(Options& o, const std::string& v, std::string& error) {
  if (v.empty()) {
    error = "--layer needs a layer name or a filter such as 'DRILL*'";
    return false;
  }
  o.layers.push_back(v);
  return true;
}

bool ApplyBase(Options& o, const std::string& v, std::string& error) {
  return SetPoint(o.base, "--base", v, error);
}

struct OptionEntry {
  OptionForm form;
  Field field;
};

const OptionEntry kOptions[] = {
    {{"--plugin", "", true, false}, {&Options::plugin}},
    {{"--session", "", true, false}, {&Options::session}},
    {{"-o", "--output", true, false}, {&Options::output}},
    {{"--svg", "", true, false}, {&Options::picture}},
    {{"--report", "", true, false}, {&Options::report}},
    {{"--aperture", "", true, false}, {nullptr, nullptr, ApplyAperture}},
    {{"--force", "", false, false}, {nullptr, &Options::force}},
    {{"--base", "", true, false}, {nullptr, nullptr, ApplyBase}},
    {{"--unit", "", true, false}, {nullptr, nullptr, ApplyUnit}},
    {{"--all", "", false, false}, {nullptr, &Options::all}},
    {{"--like", "", true, true}, {nullptr, nullptr, ApplyLike}},
    {{"--kind", "", true, true}, {nullptr, nullptr, ApplyKinds}},
    {{"--layer", "", true, true}, {nullptr, nullptr, ApplyLayer}},
    {{"--diameter", "", true, true}, {nullptr, nullptr, ApplyDiameter}},
    {{"--list", "", false, false}, {nullptr, &Options::list}},
    {{"--transcript", "", false, false}, {nullptr, &Options::transcript}},
    {{"--quiet", "", false, false}, {nullptr, &Options::quiet}},
    {{"--", "", false, false}, {}},
};

bool Apply(const Field& field, Options& o, const std::string& value, std::string& error) {
  if (field.text != nullptr) o.*field.text = value;
  if (field.flag != nullptr) o.*field.flag = true;
  return field.apply == nullptr || field.apply(o, value, error);
}

const OptionEntry* FindOption(std::string_view arg) {
  for (const OptionEntry& entry : kOptions) {
    const OptionForm& form = entry.form;
    if (arg == form.name || (!form.alias.empty() && arg == form.alias)) return &entry;
  }
  return nullptr;
}

// A batch needs a base point, a unit and a choice of holes, and no session of its own; --list
// corrects nothing.
bool CheckBatch(const Options& o, std::string& error) {
  if (o.list) {
    if (o.base.has_value() != !o.unit.empty())
      error = "--list counts holes off a grid given by both --base and --unit";
    if (error.empty() &&
        (!o.output.empty() || !o.picture.empty() || !o.report.empty() || !o.session.empty())) {
      error = "--list corrects nothing: it takes no -o, --svg, --report or --session";
    }
    if (error.empty() && o.all)
      error = "--list lists every hole already: --all is for a correction";
    return error.empty();
  }
  if (!IsBatch(o)) {
    if (o.drawings.size() > 1)
      error = "several drawings need the batch form (--base, --unit and a selection) or --list";
    if (error.empty() && (o.transcript || o.quiet))
      error = "--transcript and --quiet are for the batch form";
    return error.empty();
  }
  if (!o.base) error = "the batch form needs --base X,Y";
  if (error.empty() && o.unit.empty()) error = "the batch form needs --unit UNIT";
  if (error.empty() && !ChoosesHoles(o)) {
    error =
        "the batch form needs a selection: --all, --like X,Y, --kind N, --layer NAME or --diameter "
        "D";
  }
  const bool narrowed =
      !o.like.empty() || !o.kinds.empty() || !o.layers.empty() || !o.diameters.empty();
  if (error.empty() && o.all && narrowed) {
    error = "--all chooses every hole: it takes no --like, --kind, --layer or --diameter";
  }
  if (error.empty() && !o.session.empty()) {
    error = "--session and the batch form exclude each other: the batch types the inputs itself";
  }
  if (error.empty() && o.transcript && o.quiet)
    error = "--transcript and --quiet exclude each other";
  return error.empty();
}

bool CheckDrawings(const Options& o, std::string& error) {
  if (o.drawings.empty()) error = "no drawing given";
  std::size_t fromInput = 0;
  for (const std::string& d : o.drawings) fromInput += d == "-" ? 1 : 0;
  if (error.empty() && fromInput > 1) error = "standard input (-) can be read as one drawing only";
  if (error.empty() && fromInput > 0 && !IsBatch(o) && !o.list && o.session.empty()) {
    error =
        "a drawing read from standard input (-) needs --session or the batch form: the keyboard is "
        "standard input";
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

int MoveUnitRow(std::string_view text) {
  double value = 0;
  if (!ReadNumber(text, value)) return 0;
  for (std::size_t k = 0; k < kMoveUnitCount; ++k) {
    if (value == kMoveUnitSizes[k]) return static_cast<int>(k + 1);
  }
  return 0;
}

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (IsQuestion(argv[i], options)) return options;
  }
  std::set<std::string_view> seen;
  bool onlyDrawings = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const OptionEntry* entry = onlyDrawings ? nullptr : FindOption(arg);
    const OptionForm* form = entry != nullptr ? &entry->form : nullptr;
    if (form != nullptr && form->name == "--") {
      onlyDrawings = true;
      continue;
    }
    if (form == nullptr) {
      if (!onlyDrawings && arg.size() > 1 && arg.front() == '-') {
        error = "unknown option '" + std::string(arg) + "'";
        return std::nullopt;
      }
      options.drawings.emplace_back(arg);
      continue;
    }
    if (!form->repeatable && !seen.insert(form->name).second) {
      error = "option " + std::string(arg) + " is given more than once";
      return std::nullopt;
    }
    std::string value;
    if (form->takesValue) {
      if (i + 1 >= argc) {
        error = "option " + std::string(arg) + " needs a value";
        return std::nullopt;
      }
      value = argv[++i];
    }
    if (!Apply(entry->field, options, value, error)) return std::nullopt;
  }
  if (!CheckDrawings(options, error) || !CheckBatch(options, error)) return std::nullopt;
  options.drawing = options.drawings.front();
  return options;
}

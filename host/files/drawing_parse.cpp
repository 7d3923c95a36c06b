// Reading the line-based drawing file (format in docs/drawing-format.md). The whole file is
// read into a new element list first; the drawing is replaced only when every line is good.
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "host/drawing/drawing_store.h"
#include "host/files/drawing_keys.h"
#include "host/files/number_text.h"
#include "host/files/text.h"

namespace zethost {
namespace {

struct Field {
  std::string key;
  std::string value;
  bool hasValue = false;
};
using Fields = std::vector<Field>;

struct Parse {
  std::vector<Element> elements;
  std::vector<bool> givenHoleId;  // per element: the file named its hole id
  std::unordered_map<std::int64_t, int> instanceLines;
  std::unordered_map<std::int64_t, int> segmentLines;
  std::unordered_map<std::int64_t, int> holeLines;
  int line = 0;
  std::string problem;
};

bool Fail(Parse& parse, std::string problem) {
  parse.problem = std::move(problem);
  return false;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool ReadEscape(char c, std::string& value) {
  if (c == '"' || c == '\\') {
    value += c;
  } else if (c == 'n') {
    value += '\n';
  } else {
    return false;
  }
  return true;
}

// A quoted value from line[i] (the opening quote) on; i ends past the closing quote.
bool ReadQuoted(std::string_view line, std::size_t& i, std::string& value, Parse& parse) {
  for (++i; i < line.size(); ++i) {
    if (line[i] == '"') {
      ++i;
      if (i < line.size() && !IsBlank(line[i])) return Fail(parse, "a blank must follow a text");
      return true;
    }
    if (line[i] == '\\') {
      if (++i == line.size() || !ReadEscape(line[i], value)) {
        return Fail(parse, "unknown escape in a text (use \\\" \\\\ or \\n)");
      }
    } else {
      value += line[i];
    }
  }
  return Fail(parse, "a text is not closed");
}

bool ReadField(std::string_view line, std::size_t& i, Field& field, Parse& parse) {
  while (i < line.size() && !IsBlank(line[i]) && line[i] != '=') field.key += line[i++];
  if (field.key.empty()) return Fail(parse, "'=' without a key");
  if (i == line.size() || line[i] != '=') return true;
  field.hasValue = true;
  if (++i < line.size() && line[i] == '"') return ReadQuoted(line, i, field.value, parse);
  while (i < line.size() && !IsBlank(line[i])) field.value += line[i++];
  return true;
}

bool SplitFields(std::string_view line, Fields& fields, Parse& parse) {
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i == line.size()) return true;
    Field field;
    if (!ReadField(line, i, field, parse)) return false;
    fields.push_back(std::move(field));
  }
}

// The named keys of a line, each at most once; the line's first `skip` fields are positional.
bool KeyedFields(const Fields& fields, std::size_t skip,
                 std::unordered_map<std::string, const Field*>& keyed, Parse& parse) {
  for (std::size_t k = skip; k < fields.size(); ++k) {
    if (!keyed.emplace(fields[k].key, &fields[k]).second) {
      return Fail(parse, "'" + fields[k].key + "' given twice");
    }
  }
  return true;
}

bool ReadNumber(const Field& field, double& value, Parse& parse) {
  if (field.hasValue && ParseDouble(field.value, value)) return true;
  return Fail(parse, "bad number '" + field.value + "' for " + field.key);
}

bool ReadFinite(const Field& field, double& value, Parse& parse) {
  if (!ReadNumber(field, value, parse)) return false;
  return std::isfinite(value) || Fail(parse, field.key + " must be finite");
}

bool ReadPoint(const Field& field, Point2& point, Parse& parse) {
  const std::size_t comma = field.value.find(',');
  const bool good = field.hasValue && comma != std::string::npos &&
                    ParseDouble(std::string_view(field.value).substr(0, comma), point.x) &&
                    ParseDouble(std::string_view(field.value).substr(comma + 1), point.y);
  if (!good) return Fail(parse, "bad point '" + field.value + "' for " + field.key + " (x,y)");
  return (std::isfinite(point.x) && std::isfinite(point.y)) ||
         Fail(parse, field.key + " must be finite");
}

bool ReadId(const Fields& fields, const char* what, std::int32_t& id, Parse& parse) {
  if (fields.size() < 2 || fields[1].hasValue) return Fail(parse, std::string("missing ") + what);
  if (!ParseInt32(fields[1].key, id) || id <= 0) {
    return Fail(parse, std::string("bad ") + what + " '" + fields[1].key + "'");
  }
  return true;
}

bool Claim(std::unordered_map<std::int64_t, int>& lines, std::int64_t id, const char* what,
           Parse& parse) {
  const auto [place, added] = lines.emplace(id, parse.line);
  if (added) return true;
  return Fail(parse, std::string("duplicate ") + what + " " + std::to_string(id) +
                         " (first on line " + std::to_string(place->second) + ")");
}

// Fails at the first field of the line, after the positional ones, that no reader took.
bool Unknown(const Fields& fields, std::size_t skip,
             const std::unordered_map<std::string, const Field*>& keyed, const char* keyword,
             Parse& parse) {
  for (std::size_t k = skip; k < fields.size(); ++k) {
    if (keyed.count(fields[k].key) != 0) {
      return Fail(parse, "unknown key '" + fields[k].key + "' for " + keyword);
    }
  }
  return true;
}

// `keyed` loses the key; null when it was not given.
const Field* Take(std::unordered_map<std::string, const Field*>& keyed, const std::string& key) {
  const auto found = keyed.find(key);
  if (found == keyed.end()) return nullptr;
  const Field* field = found->second;
  keyed.erase(found);
  return field;
}

bool ReadHoleOptions(const Fields& fields, Element& element, bool& givenId, Parse& parse) {
  std::unordered_map<std::string, const Field*> keyed;
  if (!KeyedFields(fields, 2, keyed, parse)) return false;
  if (const Field* hole = Take(keyed, "hole")) {
    if (!ParseUint32(hole->value, element.holeId) || element.holeId == kNoHole) {
      return Fail(parse, "bad hole id '" + hole->value + "'");
    }
    if (!Claim(parse.holeLines, element.holeId, "hole id", parse)) return false;
    givenId = true;
  }
  if (const Field* flag = Take(keyed, "unsupported")) {
    if (flag->hasValue) return Fail(parse, "'unsupported' takes no value");
    element.unsupported = true;
  }
  return Unknown(fields, 2, keyed, "hole", parse);
}

bool ReadElement(const Fields& fields, ElementKind kind, Parse& parse) {
  Element element;
  element.instanceId = 0;
  element.kind = kind;
  bool givenId = false;
  if (!ReadId(fields, "instance id", element.instanceId, parse) ||
      !Claim(parse.instanceLines, element.instanceId, "instance id", parse)) {
    return false;
  }
  if (kind == ElementKind::Hole) {
    if (!ReadHoleOptions(fields, element, givenId, parse)) return false;
  } else if (fields.size() > 2) {
    return Fail(parse, "unexpected '" + fields[2].key + "' after the instance id");
  }
  parse.elements.push_back(std::move(element));
  parse.givenHoleId.push_back(givenId);
  return true;
}

bool ReadText(const Field& field, HoleDataItem& item, Parse& parse) {
  std::u16string text;
  if (!field.hasValue) return Fail(parse, "text needs a value");
  if (!DecodeUtf8(field.value, text)) return Fail(parse, "text is not valid UTF-8");
  if (text.size() > 19 || text.find(u'\0') != std::u16string::npos) {
    return Fail(parse, "text too long (" + std::to_string(text.size()) +
                           " UTF-16 units, at most 19) or holding a NUL");
  }
  std::copy(text.begin(), text.end(), item.szText);
  return true;
}

bool ReadItemKey(const ItemKey& key, const Field& field, HoleDataItem& item, Parse& parse) {
  switch (key.kind) {
    case ItemKeyKind::Integer:
      if (field.hasValue && ParseInt32(field.value, item.*key.integer)) return true;
      return Fail(parse, "bad integer '" + field.value + "' for " + field.key);
    case ItemKeyKind::Number:
      return ReadNumber(field, item.*key.number, parse);
    case ItemKeyKind::NoValue2:
      item.bNoValue2 = 1;
      return !field.hasValue || Fail(parse, "'novalue2' takes no value");
    case ItemKeyKind::Text:
      return ReadText(field, item, parse);
  }
  return false;
}

bool ReadItem(const Fields& fields, Parse& parse) {
  if (parse.elements.empty() || parse.elements.back().kind != ElementKind::Hole) {
    return Fail(parse, "item outside a hole");
  }
  std::unordered_map<std::string, const Field*> keyed;
  if (!KeyedFields(fields, 1, keyed, parse)) return false;
  HoleDataItem item{};
  for (const ItemKey& key : kItemKeys) {
    const Field* field = Take(keyed, std::string(key.name));
    if (field != nullptr && !ReadItemKey(key, *field, item, parse)) return false;
  }
  if (!Unknown(fields, 1, keyed, "item", parse)) return false;
  parse.elements.back().items.push_back(item);
  return true;
}

bool Required(std::unordered_map<std::string, const Field*>& keyed, const char* key,
              const Field*& field, Parse& parse) {
  field = Take(keyed, key);
  return field != nullptr || Fail(parse, std::string("missing ") + key);
}

bool ReadCircle(std::unordered_map<std::string, const Field*>& keyed, Geometry& geometry,
                Parse& parse) {
  Circle circle{};
  const Field* center = nullptr;
  const Field* radius = nullptr;
  if (!Required(keyed, "center", center, parse) || !ReadPoint(*center, circle.center, parse) ||
      !Required(keyed, "radius", radius, parse) || !ReadFinite(*radius, circle.radius, parse)) {
    return false;
  }
  if (!(circle.radius > 0)) return Fail(parse, "radius must be positive");
  geometry = circle;
  return true;
}

bool ReadSense(std::unordered_map<std::string, const Field*>& keyed, bool& ccw, Parse& parse) {
  const Field* forward = Take(keyed, "ccw");
  const Field* backward = Take(keyed, "cw");
  if ((forward == nullptr) == (backward == nullptr)) {
    return Fail(parse, "an arc needs either ccw or cw");
  }
  if ((forward != nullptr && forward->hasValue) || (backward != nullptr && backward->hasValue)) {
    return Fail(parse, "ccw and cw take no value");
  }
  ccw = forward != nullptr;
  return true;
}

bool ReadArc(std::unordered_map<std::string, const Field*>& keyed, Geometry& geometry,
             Parse& parse) {
  Arc arc{};
  const Field* center = nullptr;
  const Field* start = nullptr;
  const Field* end = nullptr;
  if (!Required(keyed, "center", center, parse) || !ReadPoint(*center, arc.center, parse) ||
      !Required(keyed, "start", start, parse) || !ReadPoint(*start, arc.start, parse) ||
      !Required(keyed, "end", end, parse) || !ReadPoint(*end, arc.end, parse) ||
      !ReadSense(keyed, arc.counterClockwise, parse)) {
    return false;
  }
  if (arc.start.x == arc.center.x && arc.start.y == arc.center.y) {
    return Fail(parse, "an arc cannot start at its centre");
  }
  geometry = arc;
  return true;
}

bool ReadLine(std::unordered_map<std::string, const Field*>& keyed, Geometry& geometry,
              Parse& parse) {
  Line line{};
  const Field* start = nullptr;
  const Field* end = nullptr;
  if (!Required(keyed, "start", start, parse) || !ReadPoint(*start, line.start, parse) ||
      !Required(keyed, "end", end, parse) || !ReadPoint(*end, line.end, parse)) {
    return false;
  }
  geometry = line;
  return true;
}

bool ReadSegment(const Fields& fields, Parse& parse) {
  if (parse.elements.empty()) return Fail(parse, "segment before any element");
  Segment segment{0, Line{}};
  if (!ReadId(fields, "segment id", segment.id, parse) ||
      !Claim(parse.segmentLines, segment.id, "segment id", parse)) {
    return false;
  }
  std::unordered_map<std::string, const Field*> keyed;
  if (!KeyedFields(fields, 2, keyed, parse)) return false;
  const std::string& keyword = fields[0].key;
  const bool good = keyword == "circle" ? ReadCircle(keyed, segment.geometry, parse)
                    : keyword == "arc"  ? ReadArc(keyed, segment.geometry, parse)
                                        : ReadLine(keyed, segment.geometry, parse);
  if (!good || !Unknown(fields, 2, keyed, keyword.c_str(), parse)) return false;
  parse.elements.back().segments.push_back(std::move(segment));
  return true;
}

bool IsComment(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  return first != std::string_view::npos && text[first] == '#';
}

bool ReadLineOfFile(std::string_view text, Parse& parse) {
  Fields fields;
  if (IsComment(text)) return true;
  if (!SplitFields(text, fields, parse)) return false;
  if (fields.empty()) return true;
  const std::string& keyword = fields[0].key;
  if (fields[0].hasValue) return Fail(parse, "unknown keyword '" + keyword + "='");
  if (keyword == "hole") return ReadElement(fields, ElementKind::Hole, parse);
  if (keyword == "longhole") return ReadElement(fields, ElementKind::LongHole, parse);
  if (keyword == "other") return ReadElement(fields, ElementKind::Other, parse);
  if (keyword == "item") return ReadItem(fields, parse);
  if (keyword == "circle" || keyword == "arc" || keyword == "line") {
    return ReadSegment(fields, parse);
  }
  return Fail(parse, "unknown keyword '" + keyword + "'");
}

// Holes without a hole id in the file get the lowest ids the file leaves free, in file order.
void AssignHoleIds(Parse& parse) {
  HoleId next = 1;
  for (std::size_t k = 0; k < parse.elements.size(); ++k) {
    Element& element = parse.elements[k];
    if (element.kind != ElementKind::Hole || parse.givenHoleId[k]) continue;
    while (parse.holeLines.count(next) != 0) ++next;
    element.holeId = next++;
  }
}

std::string_view NextLine(std::string_view text, std::size_t& at) {
  const std::size_t end = std::min(text.find('\n', at), text.size());
  std::string_view line = text.substr(at, end - at);
  at = end + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

bool ReadHeader(std::string_view line, Parse& parse) {
  if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  if (line == kDrawingHeader) return true;
  if (line.substr(0, 16) == "tarnell-drawing ") {
    return Fail(parse, "drawing version '" + std::string(line.substr(16)) + "' is not supported");
  }
  return Fail(parse, "not a drawing: the first line must be '" + std::string(kDrawingHeader) + "'");
}

bool ReadAll(std::string_view text, Parse& parse) {
  std::size_t at = 0;
  parse.line = 1;
  if (!ReadHeader(NextLine(text, at), parse)) return false;
  while (at <= text.size()) {
    ++parse.line;
    if (!ReadLineOfFile(NextLine(text, at), parse)) return false;
  }
  return true;
}

}  // namespace

bool ParseDrawing(std::string_view text, const std::string& fileName, std::string& error) {
  Parse parse;
  if (!ReadAll(text, parse)) {
    error = fileName + ":" + std::to_string(parse.line) + ": " + parse.problem;
    return false;
  }
  AssignHoleIds(parse);
  std::string problem;
  if (!ReplaceDrawing(parse.elements, problem)) {
    error = fileName + ": " + problem;
    return false;
  }
  return true;
}

}  // namespace zethost

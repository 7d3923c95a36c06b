#include "cli/hole_selection.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "cli/plain_text.h"
#include "host/drawing/geometry.h"
#include "host/files/number_text.h"

namespace {

char Folded(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Whether c is one of the set that starts at `p` (after '['); `p` is left after the ']'.
bool InSet(std::string_view filter, std::size_t& p, char c) {
  bool negate = p < filter.size() && filter[p] == '~';
  if (negate) ++p;
  bool found = false;
  for (bool first = true; p < filter.size() && (first || filter[p] != ']'); first = false) {
    char low = filter[p] == '`' && p + 1 < filter.size() ? filter[++p] : filter[p];
    ++p;
    char high = low;
    if (p + 1 < filter.size() && filter[p] == '-' && filter[p + 1] != ']') {
      high = filter[p + 1];
      p += 2;
    }
    found = found || (Folded(c) >= Folded(low) && Folded(c) <= Folded(high));
  }
  if (p < filter.size()) ++p;  // the ']'
  return found != negate;
}

bool MatchOne(std::string_view c, char ch) {
  const char f = c.front();
  const auto u = static_cast<unsigned char>(ch);
  switch (f) {
    case '?':
      return true;
    case '#':
      return std::isdigit(u) != 0;
    case '@':
      return std::isalpha(u) != 0;
    case '.':
      return std::isalnum(u) == 0;
    default:
      return false;
  }
}

// A filter without ',' or a leading '~' against a name, from positions f and n.
bool Match(std::string_view filter, std::size_t f, std::string_view name, std::size_t n) {
  while (f < filter.size()) {
    const char c = filter[f];
    if (c == '*') {
      for (std::size_t k = n; k <= name.size(); ++k) {
        if (Match(filter, f + 1, name, k)) return true;
      }
      return false;
    }
    if (n >= name.size()) return false;
    if (c == '[') {
      std::size_t p = f + 1;
      if (!InSet(filter, p, name[n])) return false;
      f = p;
    } else if (c == '`' && f + 1 < filter.size()) {
      if (Folded(filter[f + 1]) != Folded(name[n])) return false;
      f += 2;
    } else if (c == '?' || c == '#' || c == '@' || c == '.') {
      if (!MatchOne(filter.substr(f, 1), name[n])) return false;
      ++f;
    } else {
      if (Folded(c) != Folded(name[n])) return false;
      ++f;
    }
    ++n;
  }
  return n == name.size();
}

// The hole a --like point takes: the smallest hole whose outline encloses the point, before any
// whose curve merely passes near it (a bolt circle's centre line through a hole's centre); else
// the hole whose outline is nearest, within the pick aperture.
const zethost::Element* HoleAt(Point2 p, double aperture) {
  const zethost::Element* found = nullptr;
  bool enclosed = false;
  double best = 0;
  for (const zethost::Element& e : zethost::Elements()) {
    if (e.kind != zethost::ElementKind::Hole || e.unsupported) continue;
    const auto centre = zethost::ElementCenter(e);
    if (!centre) continue;
    const double radius = OutlineRadius(e);
    const double distance = zethost::Distance(*centre, p);
    const bool inside = distance <= radius;
    const double score = inside ? radius : std::fabs(distance - radius);
    if (!inside && (enclosed || score > aperture)) continue;
    if (found == nullptr || (inside && !enclosed) || score < best) {
      found = &e;
      best = score;
      enclosed = enclosed || inside;
    }
  }
  return found;
}

bool MeetsFilters(const Options& o, const HoleKind& kind) {
  if (!o.kinds.empty() && std::find(o.kinds.begin(), o.kinds.end(), kind.number) == o.kinds.end()) {
    return false;
  }
  if (!o.layers.empty()) {
    const bool any = std::any_of(kind.layers.begin(), kind.layers.end(), [&](const std::string& l) {
      return std::any_of(o.layers.begin(), o.layers.end(),
                         [&](const std::string& f) { return LayerMatches(f, l); });
    });
    if (!any) return false;
  }
  if (!o.diameters.empty()) {
    const double d = LargestDiameter(kind);
    return std::any_of(o.diameters.begin(), o.diameters.end(),
                       [&](const DiameterRange& r) { return DiameterMatches(r, d); });
  }
  return true;
}

}  // namespace

bool LayerMatches(std::string_view filter, std::string_view layer) {
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start;
    while (end < filter.size() && filter[end] != ',') end += filter[end] == '`' ? 2 : 1;
    end = std::min(end, filter.size());
    std::string_view one = filter.substr(start, end - start);
    const bool negate = !one.empty() && one.front() == '~';
    if (negate) one.remove_prefix(1);
    if (Match(one, 0, layer, 0) != negate) return true;
    if (end >= filter.size()) return false;
    start = end + 1;
  }
}

bool DiameterMatches(const DiameterRange& range, double diameter) {
  const double tolerance = 1e-6 * std::max(1.0, std::fabs(range.high));
  return diameter >= range.low - tolerance && diameter <= range.high + tolerance;
}

bool ChooseKinds(const Options& options, const std::vector<HoleKind>& kinds,
                 const std::vector<int>& kindOf, std::vector<const HoleKind*>& chosen,
                 std::string& error) {
  for (const int number : options.kinds) {
    if (number > static_cast<int>(kinds.size())) {
      error = "there is no kind " + std::to_string(number) + ": the drawing has " +
              std::to_string(kinds.size()) + (kinds.size() == 1 ? " kind" : " kinds") +
              " of hole (see --list)";
      return false;
    }
  }
  std::vector<bool> taken(kinds.size() + 1, false);
  for (const Point2 p : options.like) {
    const zethost::Element* hole = HoleAt(p, options.aperture);
    const int kind =
        hole != nullptr ? kindOf[static_cast<std::size_t>(hole - zethost::Elements().data())] : 0;
    if (kind == 0) {
      error = "--like " + PointText(p) + ": there is no hole there";
      return false;
    }
    taken[static_cast<std::size_t>(kind)] = true;
  }
  const bool filtered =
      !options.kinds.empty() || !options.layers.empty() || !options.diameters.empty();
  for (const HoleKind& kind : kinds) {
    if (options.all || taken[static_cast<std::size_t>(kind.number)] ||
        (filtered && MeetsFilters(options, kind))) {
      chosen.push_back(&kind);
    }
  }
  return true;
}

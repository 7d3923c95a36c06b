// Hole recognition over plain entity geometry.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "host/drawing/geometry.h"
#include "host/drawing/table_memory.h"
#include "host/recognition/centres.h"
#include "host/recognition/feature_grid.h"
#include "host/recognition/recognition.h"
#include "host/recognition/shapes.h"

namespace zethost {
namespace {

// What a piece may be to a hole: one of its circles, an arc drawn on it, a line of its centre
// mark.
enum class Role : std::uint8_t { kFull, kArc, kLine };

struct Piece {
  Role role = Role::kFull;
  bool continuous = true;
  std::int32_t layer = 0;
  std::uint32_t entity = 0;  // the first entity that draws it
  Point2 centre{0, 0};       // a line's: its middle
  double radius = 0;         // a line's: half its length
  // A circle drawn as arcs: its arc entities in Recogniser::turns; otherwise none, and the
  // piece is drawn by its entity alone.
  std::uint32_t firstArc = 0;
  std::uint32_t arcCount = 0;
};

constexpr std::uint32_t kNoGroup = 0xFFFFFFFF;
// More circles and arcs than any hole is drawn with.
constexpr std::uint32_t kMostItems = 64;

Box BoxAround(Point2 c, double reach) {
  return Box{c.x - reach, c.y - reach, c.x + reach, c.y + reach};
}

double DistanceToSegment(Point2 p, Point2 a, Point2 b) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return Distance(p, Point2{a.x + t * dx, a.y + t * dy});
}

struct Recogniser {
  Recogniser(const SourceDrawing& source, Recognition& into) : d(source), out(into) {}

  const SourceDrawing& d;
  Recognition& out;
  std::vector<std::uint32_t> turns;  // the arc entities of circles drawn as arcs
  std::vector<Piece> pieces;
  std::vector<std::uint32_t> arcs;  // arc entities, for the full-turn search
  std::vector<Feature> features;    // corners of outlines and block holes; groups' centres later
  std::map<std::int32_t, std::vector<double>> blockRadii;
  std::map<std::u16string, std::int32_t> blockTexts;
  std::set<std::u16string> usedTexts;

  // ---- elements
  std::uint32_t StartElement(ElementKind kind, std::uint32_t entity) {
    RecognisedElement element;
    element.kind = kind;
    element.entity = entity;
    element.firstSegment = static_cast<std::uint32_t>(out.segments.size());
    element.firstItem = static_cast<std::uint32_t>(out.items.size());
    out.elements.push_back(element);
    return static_cast<std::uint32_t>(out.elements.size() - 1);
  }
  void AddSegment(std::uint32_t element, RecognisedSegment segment) {
    out.segments.push_back(std::move(segment));
    ++out.elements[element].segmentCount;
  }
  void AddItem(std::uint32_t element, RecognisedItem item) {
    // A record lists at most kMostItems circles, the first the hole gives, whatever the file
    // stacks on one centre: rings by the thousand would make a record of hundreds of megabytes,
    // which the host and the plug-in each hold. Every circle still moves with the hole.
    if (out.elements[element].itemCount >= kMostItems) return;
    out.items.push_back(item);
    ++out.elements[element].itemCount;
  }
  // A piece's segments, made from its entities once its element is known.
  void CopyPieceSegments(std::uint32_t element, const Piece& p, std::optional<Point2> anchor) {
    for (std::uint32_t k = p.firstArc; k < p.firstArc + p.arcCount; ++k) {
      AddSegment(element, RecognisedSegment{ArcGeometry(d.entities[turns[k]]), turns[k],
                                            kWholeEntity, anchor});
    }
    if (p.arcCount > 0) return;
    const SourceEntity& e = d.entities[p.entity];
    const Geometry geometry = p.role == Role::kFull  ? Geometry{Circle{p.centre, p.radius}}
                              : p.role == Role::kArc ? ArcGeometry(e)
                                                     : Geometry{Line{e.p, e.q}};
    AddSegment(element, RecognisedSegment{geometry, p.entity, kWholeEntity, anchor});
  }
  void PieceAsOther(const Piece& p) {
    CopyPieceSegments(StartElement(ElementKind::Other, p.entity), p, std::nullopt);
  }

  // ---- pieces
  void AddPiece(Role role, const SourceEntity& e, std::uint32_t entity, Point2 centre,
                double radius) {
    pieces.push_back(Piece{role, e.continuous, e.layer, entity, centre, radius, 0, 0});
  }

  void AddCircle(std::uint32_t entity, const SourceEntity& e) {
    const Point2 centre = ToDrawing(e, e.p);
    if (!UsableRadius(centre, e.radius)) return;
    AddPiece(Role::kFull, e, entity, centre, e.radius);
  }

  void AddPolylinePieces(ElementKind kind, std::uint32_t entity, const SourceEntity& e) {
    const auto vertices = VerticesOf(d, e);
    const std::uint32_t element = StartElement(kind, entity);
    for (std::uint32_t i = 0; i < PolylinePieceCount(e); ++i) {
      AddSegment(element,
                 RecognisedSegment{PolylinePiece(vertices, e, i), entity, i, std::nullopt});
    }
  }

  void AddPolyline(std::uint32_t entity, const SourceEntity& e) {
    if (PolylinePieceCount(e) == 0) return;
    const auto vertices = VerticesOf(d, e);
    if (!e.wide) {
      if (const auto circle = PolylineAsCircle(vertices, e)) {
        AddPiece(Role::kFull, e, entity, circle->centre, circle->radius);
        return;
      }
    }
    if (e.wide) {
      if (const auto ring = PolylineAsCircle(vertices, e)) {
        out.notHoles.push_back(RecognisedNotHole{entity, e.layer, NotHoleReason::kFilledRing,
                                                 ring->centre, ring->radius});
      }
    }
    const bool slot = !e.wide && IsSlot(vertices, e);
    // The corners of a closed outline are features a circle around them encloses.
    if (e.closed) {
      for (const SourceVertex& v : vertices) {
        features.push_back(Feature{ToDrawing(e, Point2{v.x, v.y}), 0, kNoGroup});
      }
    }
    AddPolylinePieces(slot ? ElementKind::LongHole : ElementKind::Other, entity, e);
  }

  void AddLine(std::uint32_t entity, const SourceEntity& e) {
    const Point2 middle{(e.p.x + e.q.x) / 2, (e.p.y + e.q.y) / 2};
    AddPiece(Role::kLine, e, entity, middle, Distance(e.p, e.q) / 2);
  }

  // The radii (largest first) of a block's circles when every one is centred on its base point;
  // empty when it has none or one lies elsewhere. Its other entities (centre-mark lines, points,
  // attribute definitions) do not count.
  const std::vector<double>& BlockRadii(std::int32_t index) {
    const auto known = blockRadii.find(index);
    if (known != blockRadii.end()) return known->second;
    const SourceBlock& block = d.blocks[static_cast<std::size_t>(index)];
    std::vector<double> radii;
    for (const SourceEntity& e : block.entities) {
      if (e.kind != SourceKind::kCircle) continue;
      const double tolerance = CentreTolerance(block.base) + 1e-9 * e.radius;
      if (!UsableRadius(e.p, e.radius) || !Within(ToDrawing(e, e.p), block.base, tolerance)) {
        radii.clear();
        break;
      }
      radii.push_back(e.radius);
    }
    std::sort(radii.begin(), radii.end(), [](double a, double b) { return a > b; });
    return blockRadii.emplace(index, std::move(radii)).first->second;
  }

  void AddInsert(std::uint32_t entity, const SourceEntity& e) {
    if (e.block < 0 || !e.simpleInsert || !std::isfinite(e.scale) || e.scale == 0) return;
    const std::vector<double>& radii = BlockRadii(e.block);
    const double scale = std::fabs(e.scale);
    const Point2 centre = ToDrawing(e, e.p);
    if (radii.empty() || !UsableRadius(centre, radii.front() * scale)) return;
    const std::int32_t text = BlockText(d.blocks[static_cast<std::size_t>(e.block)].name);
    const std::uint32_t hole = StartElement(ElementKind::Hole, entity);
    AddSegment(hole, RecognisedSegment{Circle{centre, radii.front() * scale}, entity, kWholeEntity,
                                       centre});
    double last = -1;
    for (const double r : radii) {
      if (last >= 0 && std::fabs(last - r) <= 1e-9 * last) continue;  // a circle drawn twice
      AddItem(hole, RecognisedItem{e.layer, 2 * r * scale, text, 0});
      last = r;
    }
    features.push_back(Feature{centre, radii.back() * scale, kNoGroup});
  }

  // A block's name as hole records hold it; long names are cut and numbered, so that two blocks
  // never share a text by accident.
  std::int32_t BlockText(const std::u16string& name) {
    if (const auto known = blockTexts.find(name); known != blockTexts.end()) return known->second;
    constexpr std::size_t kMost = 19;
    std::u16string text = name;
    for (int n = 1; text.size() > kMost || (text != name && !usedTexts.insert(text).second); ++n) {
      const std::string number = "~" + std::to_string(n);
      text = name.substr(0, kMost - number.size()) + std::u16string(number.begin(), number.end());
    }
    out.texts.push_back(text);
    const auto index = static_cast<std::int32_t>(out.texts.size() - 1);
    blockTexts.emplace(name, index);
    return index;
  }

  // Arcs of one circle that cover the full turn become one full circle; the others are arcs
  // that may be drawn on a hole.
  void GroupArcs() {
    std::vector<Point2> centres;
    for (const std::uint32_t a : arcs) centres.push_back(ToDrawing(d.entities[a], d.entities[a].p));
    const Groups concentric = ConcentricGroups(centres);
    for (std::size_t g = 0; g < concentric.Count(); ++g) {
      std::vector<std::uint32_t> group(concentric.members.begin() + concentric.start[g],
                                       concentric.members.begin() + concentric.start[g + 1]);
      std::stable_sort(group.begin(), group.end(), [&](std::uint32_t a, std::uint32_t b) {
        return d.entities[arcs[a]].radius < d.entities[arcs[b]].radius;
      });
      for (std::size_t k = 0; k < group.size();) {
        const double r = d.entities[arcs[group[k]]].radius;
        std::size_t end = k;
        while (end < group.size() && d.entities[arcs[group[end]]].radius - r <=
                                         CentreTolerance(centres[group[k]]) + 1e-9 * r) {
          ++end;
        }
        AddArcs(std::vector<std::uint32_t>(group.begin() + k, group.begin() + end),
                centres[group[k]]);
        k = end;
      }
    }
  }

  void AddArcs(std::vector<std::uint32_t> part, Point2 centre) {
    std::sort(part.begin(), part.end());
    std::vector<AngleInterval> intervals;
    for (const std::uint32_t k : part) intervals.push_back(DrawingInterval(d.entities[arcs[k]]));
    const SourceEntity& first = d.entities[arcs[part.front()]];
    if (!UsableRadius(centre, first.radius)) {
      for (const std::uint32_t k : part) {
        const std::uint32_t entity = arcs[k];
        AddSegment(
            StartElement(ElementKind::Other, entity),
            RecognisedSegment{ArcGeometry(d.entities[entity]), entity, kWholeEntity, std::nullopt});
      }
      return;
    }
    if (CoversFullTurn(intervals)) {
      AddPiece(Role::kFull, first, arcs[part.front()], centre, first.radius);
      Piece& piece = pieces.back();
      piece.firstArc = static_cast<std::uint32_t>(turns.size());
      piece.arcCount = static_cast<std::uint32_t>(part.size());
      for (const std::uint32_t k : part) {
        turns.push_back(arcs[k]);
        piece.continuous = piece.continuous || d.entities[arcs[k]].continuous;
      }
      return;
    }
    for (const std::uint32_t k : part) {
      const SourceEntity& e = d.entities[arcs[k]];
      AddPiece(Role::kArc, e, arcs[k], centre, e.radius);
    }
  }

  // ---- holes
  // Whether the circle around c encloses a feature that is not this group's (a hole wholly, a
  // corner of an outline), or runs through another hole's centre (a bolt circle's centre line).
  // Holes that merely overlap keep each other.
  bool EnclosesOther(const FeatureGrid& grid, std::uint32_t group, Point2 c, double radius) const {
    return OtherFeatureAt(grid, group, c, radius).has_value();
  }
  // Why the circle around c is not a hole's: it encloses a feature (an outline) or runs through
  // a hole's centre (a centre line); nullopt when it does neither.
  std::optional<NotHoleReason> OtherFeatureAt(const FeatureGrid& grid, std::uint32_t group,
                                              Point2 c, double radius) const {
    const double tolerance = CentreTolerance(c);
    bool enclosed = false;
    const bool any = grid.Any(BoxAround(c, 1.1 * radius + tolerance), [&](const Feature& f) {
      if (f.owner == group || Within(f.point, c, tolerance)) return false;
      const double distance = Distance(f.point, c);
      enclosed = distance + f.radius <= radius + tolerance;
      return enclosed ||
             (f.radius > 0 && std::fabs(distance - radius) <= 0.1 * f.radius + tolerance);
    });
    if (!any) return std::nullopt;
    return enclosed ? NotHoleReason::kOutline : NotHoleReason::kCentreLine;
  }
  void NoteNotHole(const Piece& p, NotHoleReason reason) {
    out.notHoles.push_back(RecognisedNotHole{p.entity, p.layer, reason, p.centre, p.radius});
  }

  // Whether the line passes through a hole other than the group's.
  bool CrossesOther(const FeatureGrid& grid, std::uint32_t group, const Line& line,
                    double reach) const {
    Box box = Unite(Unite(EmptyBox(), line.start), line.end);
    box = Box{box.minX - reach, box.minY - reach, box.maxX + reach, box.maxY + reach};
    return grid.Any(box, [&](const Feature& f) {
      return f.owner != group && f.radius > 0 &&
             DistanceToSegment(f.point, line.start, line.end) < f.radius;
    });
  }

  void AddHoleItems(std::uint32_t hole, const std::vector<std::uint32_t>& fulls) {
    std::vector<RecognisedItem> items;
    // The circles come largest first, so the item of a layer nearest in size to the next circle
    // is the last one taken on that layer: a circle drawn twice is told by that one alone, and
    // a hole of many circles takes linear time.
    // A hole's circles lie on a layer or two: a short list, searched in place.
    std::vector<std::pair<std::int32_t, double>> smallestOnLayer;
    for (const std::uint32_t k : fulls) {
      const Piece& p = pieces[k];
      const RecognisedItem item{p.layer, 2 * p.radius, -1, 0};
      const auto last = std::find_if(smallestOnLayer.begin(), smallestOnLayer.end(),
                                     [&](const auto& entry) { return entry.first == item.layer; });
      if (last == smallestOnLayer.end()) {
        smallestOnLayer.emplace_back(item.layer, item.diameter);
      } else if (std::fabs(last->second - item.diameter) <= 1e-9 * item.diameter) {
        continue;
      } else {
        last->second = item.diameter;
      }
      items.push_back(item);
    }
    // Largest first; circles of one size in the order of their layers, so that holes drawn
    // alike on several layers have their items in one order.
    std::stable_sort(items.begin(), items.end(),
                     [](const RecognisedItem& a, const RecognisedItem& b) {
                       const double close = 1e-6 * std::max(a.diameter, b.diameter);
                       if (std::fabs(a.diameter - b.diameter) > close)
                         return a.diameter > b.diameter;
                       return a.layer < b.layer;
                     });
    for (const RecognisedItem& item : items) AddItem(hole, item);
  }

  void Resolve(const FeatureGrid& grid, std::uint32_t group,
               const std::vector<std::uint32_t>& members) {
    std::vector<std::uint32_t> fulls;
    std::vector<std::uint32_t> others;
    for (const std::uint32_t k : members)
      (pieces[k].role == Role::kFull ? fulls : others).push_back(k);
    std::stable_sort(fulls.begin(), fulls.end(), [&](std::uint32_t a, std::uint32_t b) {
      return pieces[a].radius > pieces[b].radius;
    });
    std::vector<std::uint32_t> dropped;
    // A circle around other features is an outline or a centre line, not the hole's.
    std::size_t kept = 0;
    for (; kept < fulls.size(); ++kept) {
      const Piece& p = pieces[fulls[kept]];
      const auto reason = OtherFeatureAt(grid, group, p.centre, p.radius);
      if (!reason) break;
      NoteNotHole(p, *reason);
      dropped.push_back(fulls[kept]);
    }
    fulls.erase(fulls.begin(), fulls.begin() + static_cast<std::ptrdiff_t>(kept));
    const bool drawn = std::any_of(fulls.begin(), fulls.end(),
                                   [&](std::uint32_t k) { return pieces[k].continuous; });
    if (!drawn) {
      for (const std::uint32_t k : fulls) NoteNotHole(pieces[k], NotHoleReason::kHidden);
      dropped.insert(dropped.end(), fulls.begin(), fulls.end());
      fulls.clear();
    }
    for (const std::uint32_t k : dropped) PieceAsOther(pieces[k]);
    if (fulls.empty()) {
      for (const std::uint32_t k : others) PieceAsOther(pieces[k]);
      return;
    }
    const Point2 c = pieces[fulls.front()].centre;
    const double radius = pieces[fulls.front()].radius;
    std::uint32_t first = pieces[fulls.front()].entity;
    for (const std::uint32_t k : fulls) first = std::min(first, pieces[k].entity);
    const std::uint32_t hole = StartElement(ElementKind::Hole, first);
    // Every part of a hole moves with its centre: a circle lands where its reflection would,
    // and arcs and polylines keep their angles, vertex order and bulges as drawn.
    for (const std::uint32_t k : fulls) CopyPieceSegments(hole, pieces[k], c);
    AddHoleItems(hole, fulls);
    for (const std::uint32_t k : others) {
      const Piece& p = pieces[k];
      const bool belongs =
          p.role == Role::kArc
              ? !EnclosesOther(grid, group, c, p.radius)
              : p.radius <= 3 * radius &&
                    !CrossesOther(grid, group, Line{d.entities[p.entity].p, d.entities[p.entity].q},
                                  radius);
      if (!belongs) {
        PieceAsOther(p);
        continue;
      }
      CopyPieceSegments(hole, p, c);
      out.elements[hole].entity = std::min(out.elements[hole].entity, p.entity);
      if (p.role == Role::kArc) AddItem(hole, RecognisedItem{p.layer, 2 * p.radius, -1, 1});
    }
  }

  void GroupPieces() {
    std::vector<Point2> centres;
    ReserveLarge(centres, pieces.size());
    for (const Piece& p : pieces) centres.push_back(p.centre);
    const Groups groups = ConcentricGroups(centres);
    std::vector<std::uint32_t> members;
    // Every group with a circle stands for a feature at its centre, as large as its smallest.
    for (std::uint32_t g = 0; g < groups.Count(); ++g) {
      double smallest = 0;
      Point2 centre{0, 0};
      for (std::uint32_t m = groups.start[g]; m < groups.start[g + 1]; ++m) {
        const Piece& p = pieces[groups.members[m]];
        if (p.role != Role::kFull || (smallest > 0 && p.radius >= smallest)) continue;
        smallest = p.radius;
        centre = p.centre;
      }
      if (smallest > 0) features.push_back(Feature{centre, smallest, g});
    }
    const FeatureGrid grid(std::move(features));
    for (std::uint32_t g = 0; g < groups.Count(); ++g) {
      members.assign(groups.members.begin() + groups.start[g],
                     groups.members.begin() + groups.start[g + 1]);
      Resolve(grid, g, members);
    }
  }

  void Run() {
    const std::size_t n = d.entities.size();
    ReserveLarge(pieces, n);
    ReserveLarge(out.segments, n + n / 8);
    ReserveLarge(out.elements, n);
    ReserveLarge(out.items, n);
    for (const SourceBlock& block : d.blocks) usedTexts.insert(block.name);
    for (std::uint32_t k = 0; k < n; ++k) {
      const SourceEntity& e = d.entities[k];
      switch (e.kind) {
        case SourceKind::kCircle:
          AddCircle(k, e);
          break;
        case SourceKind::kArc:
          arcs.push_back(k);
          break;
        case SourceKind::kPolyline:
          AddPolyline(k, e);
          break;
        case SourceKind::kInsert:
          AddInsert(k, e);
          break;
        case SourceKind::kLine:
          AddLine(k, e);
          break;
        case SourceKind::kOther:
          break;
      }
    }
    GroupArcs();
    GroupPieces();
    const auto byEntity = [](const RecognisedElement& a, const RecognisedElement& b) {
      return a.entity < b.entity;
    };
    if (!std::is_sorted(out.elements.begin(), out.elements.end(), byEntity)) {
      std::stable_sort(out.elements.begin(), out.elements.end(), byEntity);
    }
  }
};

}  // namespace

Recognition Recognise(const SourceDrawing& drawing) {
  Recognition out;
  Recogniser(drawing, out).Run();
  return out;
}

HoleDataItem MakeRecognisedItem(const Recognition& recognition, const RecognisedItem& item) {
  HoleDataItem record = MakeItem(item.layer, item.diameter, "");
  record.nCode2 = item.shape;
  if (item.text >= 0) {
    const std::u16string& text = recognition.texts[static_cast<std::size_t>(item.text)];
    std::copy(text.begin(), text.end(), record.szText);
    record.szText[text.size()] = u'\0';
  }
  return record;
}

}  // namespace zethost

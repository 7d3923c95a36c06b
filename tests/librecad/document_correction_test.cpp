// The LibreCAD command on a plate drawn in LibreCAD, through a document double: the document's
// entities become the host's drawing, a scripted all-hole run (base point, one range, move unit
// 0.5) corrects it, and what moved is written back. Every entity of a hole is changed once, onto
// the grid, with clean numbers (a circle's and an arc's centre with updateData, an arc's angles
// kept, a polyline replaced by a new one); everything else is left alone. The user may change the
// document while the command waits: it is read again, holes that stayed keep their hole ids.
#include <gtest/gtest.h>

#include <QHash>
#include <QList>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "fake_document.h"
#include "host/source/open_document.h"
#include "host/stand_in.h"
#include "librecad/command_run.h"
#include "librecad/document_entities.h"
#include "plugin/startup.h"
#include "settings/dialog_view_terminal.h"

namespace {

using tarnell_librecad::PointAnswer;
using tarnell_librecad::PointInput;

constexpr double kPi = 3.14159265358979323846;

// What a row of the plate is, and what the run must do to it: updateData given these numbers
// once, or (for a polyline) a new polyline of these vertices in its place; nothing when both are
// empty.
struct Row {
  const char* what;
  enum DPI::ETYPE type;
  QHash<int, QVariant> data;
  QList<Plug_VertexData> vertices;
  std::map<int, double> update;
  QList<Plug_VertexData> replacement;
};

QHash<int, QVariant> On(const char* layer, QHash<int, QVariant> data,
                        const char* linetype = "BYLAYER") {
  data.insert(DPI::LAYER, QString::fromUtf8(layer));
  data.insert(DPI::LTYPE, QString::fromUtf8(linetype));
  data.insert(DPI::LWIDTH, QStringLiteral("BYLAYER"));
  data.insert(DPI::COLOR, -1);
  data.insert(DPI::VISIBLE, 1);
  return data;
}

QHash<int, QVariant> Centre(double x, double y, double r) {
  return {{DPI::STARTX, x}, {DPI::STARTY, y}, {DPI::RADIUS, r}};
}

QHash<int, QVariant> ArcAt(double x, double y, double r, double a1, double a2, bool reversed) {
  QHash<int, QVariant> data = Centre(x, y, r);
  data.insert(DPI::STARTANGLE, a1);
  data.insert(DPI::ENDANGLE, a2);
  data.insert(DPI::REVERSED, reversed);
  return data;
}

QHash<int, QVariant> Ends(double x1, double y1, double x2, double y2) {
  return {{DPI::STARTX, x1}, {DPI::STARTY, y1}, {DPI::ENDX, x2}, {DPI::ENDY, y2}};
}

std::map<int, double> MovedTo(double x, double y) {
  return {{DPI::STARTX, x}, {DPI::STARTY, y}};
}

const QHash<int, QVariant> kClosed{{DPI::CLOSEPOLY, 1}};

// A plate of 150 x 90 with holes of several kinds, a slot, an outline and a centre mark, as
// LibreCAD gives them to a plugin.
std::vector<Row> Plate() {
  using V = Plug_VertexData;
  return {
      {"outline",
       DPI::POLYLINE,
       On("OUTLINE", kClosed, "SolidLine"),
       {V({0, 0}, 0), V({150, 0}, 0), V({150, 90}, 0), V({0, 90}, 0)},
       {},
       {}},
      {"drill", DPI::CIRCLE, On("HOLES", Centre(10.02, 9.97, 3)), {}, MovedTo(10, 10), {}},
      {"drill", DPI::CIRCLE, On("HOLES", Centre(30.26, 10.1, 3)), {}, MovedTo(30.5, 10), {}},
      {"first drill's centre mark, across",
       DPI::LINE,
       On("CENTER", Ends(6.02, 9.97, 14.02, 9.97), "CenterLine"),
       {},
       {{DPI::STARTX, 6}, {DPI::STARTY, 10}, {DPI::ENDX, 14}, {DPI::ENDY, 10}},
       {}},
      {"first drill's centre mark, along",
       DPI::LINE,
       On("CENTER", Ends(10.02, 5.97, 10.02, 13.97), "CenterLine"),
       {},
       {{DPI::STARTX, 10}, {DPI::STARTY, 6}, {DPI::ENDX, 10}, {DPI::ENDY, 14}},
       {}},
      {"counterbore", DPI::CIRCLE, On("HOLES", Centre(60.13, 20.21, 6)), {}, MovedTo(60, 20), {}},
      {"counterbore's drill",
       DPI::CIRCLE,
       On("HOLES", Centre(60.13, 20.21, 3.5)),
       {},
       MovedTo(60, 20),
       {}},
      {"tapped hole",
       DPI::CIRCLE,
       On("TAPPED", Centre(90.31, 20.4, 2.5)),
       {},
       MovedTo(90.5, 20.5),
       {}},
      {"its thread, angles kept",
       DPI::ARC,
       On("TAPPED", ArcAt(90.31, 20.4, 3, 0, 1.5 * kPi, false)),
       {},
       MovedTo(90.5, 20.5),
       {}},
      {"tapped hole",
       DPI::CIRCLE,
       On("TAPPED", Centre(70.45, 60.3, 2.5)),
       {},
       MovedTo(70.5, 60.5),
       {}},
      {"its thread drawn clockwise",
       DPI::ARC,
       On("TAPPED", ArcAt(70.45, 60.3, 3, 1.5 * kPi, 0, true)),
       {},
       MovedTo(70.5, 60.5),
       {}},
      {"drill drawn as a polyline",
       DPI::POLYLINE,
       On("HOLES", kClosed),
       {V({38.4, 60.3}, 1), V({42.4, 60.3}, 1)},
       {},
       {V({38.5, 60.5}, 1), V({42.5, 60.5}, 1)}},
      {"drill drawn as two arcs",
       DPI::ARC,
       On("HOLES", ArcAt(100.2, 60.17, 2.5, 0, kPi, false)),
       {},
       MovedTo(100, 60),
       {}},
      {"its other half",
       DPI::ARC,
       On("HOLES", ArcAt(100.2, 60.17, 2.5, kPi, 2 * kPi, false)),
       {},
       MovedTo(100, 60),
       {}},
      {"drill on its grid point", DPI::CIRCLE, On("HOLES", Centre(50, 40, 3)), {}, {}, {}},
      {"circle drawn hidden (its layer's linetype)",
       DPI::CIRCLE,
       On("HIDDEN", Centre(20.3, 45.3, 4)),
       {},
       {},
       {}},
      {"block insert (its block is not given to plugins)",
       DPI::INSERT,
       On("HOLES", {{DPI::STARTX, 20.3},
                    {DPI::STARTY, 75.15},
                    {DPI::BLKNAME, "DRILL_M8"},
                    {DPI::XSCALE, 1.0},
                    {DPI::YSCALE, 1.0},
                    {DPI::STARTANGLE, 0.0}}),
       {},
       {},
       {}},
      {"slot",
       DPI::POLYLINE,
       On("HOLES", kClosed),
       {V({125, 38}, 0), V({135, 38}, 1), V({135, 42}, 0), V({125, 42}, 1)},
       {},
       {}},
      {"text", DPI::TEXT, On("NOTES", {{DPI::STARTX, 5.0}, {DPI::STARTY, 85.0}}), {}, {}, {}},
  };
}

// The base point, a range over every hole but the slot, and the move unit 0.5 in its dialog.
const std::vector<PointInput> kAllHoles{{PointAnswer::kPoint, QPointF(0, 0)},
                                        {PointAnswer::kPoint, QPointF(-5, -5)},
                                        {PointAnswer::kPoint, QPointF(115, 85)}};
constexpr char kUnitHalf[] = "click row 4\nok\n";

class LibreCadCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    zethost::ResetHost();
    ASSERT_EQ(Startup(0, 0, 0, 0x4C494252ULL), 0);
    m_pDialogIn = std::tmpfile();
    m_pDialogOut = std::tmpfile();
    SetDialogStreams(m_pDialogIn, m_pDialogOut);
    for (const Row& row : m_rows) m_ids.push_back(m_doc.Add(row.type, row.data, row.vertices));
    m_doc.SetLayerLinetype(QStringLiteral("HOLES"), QStringLiteral("SolidLine"));
    m_doc.SetLayerLinetype(QStringLiteral("HIDDEN"), QStringLiteral("DashLine"));
    m_doc.SetLayerLinetype(QStringLiteral("TAPPED"), QStringLiteral("SolidLine"));
  }
  void TearDown() override {
    SetDialogStreams(nullptr, nullptr);
    std::fclose(m_pDialogIn);
    std::fclose(m_pDialogOut);
    EXPECT_EQ(zethost::Resources(), zethost::OpenResources{});
    EXPECT_EQ(zethost::ProtocolErrors(), std::vector<std::string>{});
  }

  // whileWaiting(k) runs while the command waits for the script's answer k (from 0): what the
  // user does with other commands meanwhile.
  tarnell_librecad::RunResult Run(std::vector<PointInput> script, const char* dialogActions,
                                  std::function<void(std::size_t)> whileWaiting = {}) {
    std::fputs(dialogActions, m_pDialogIn);
    std::rewind(m_pDialogIn);
    std::deque<PointInput> answers(script.begin(), script.end());
    tarnell_librecad::FrontEnd frontEnd;
    std::size_t asked = 0;
    frontEnd.askPoint = [&](const QString&, const QPointF*) {
      if (whileWaiting) whileWaiting(asked++);
      PointInput next;  // cancelled once the script has run out
      if (!answers.empty()) next = answers.front();
      if (!answers.empty()) answers.pop_front();
      return next;
    };
    frontEnd.note = [this](const QString& line) { m_notes.push_back(line); };
    frontEnd.messageBox = [this](const QString& text) { m_boxes.push_back(text); };
    return tarnell_librecad::RunCommand(m_doc, frontEnd);
  }

  std::vector<DocumentChange> ChangesOf(std::uint64_t id) const {
    std::vector<DocumentChange> found;
    for (const DocumentChange& change : m_doc.changes) {
      if (change.id == id) found.push_back(change);
    }
    return found;
  }

  const std::vector<Row> m_rows = Plate();
  FakeDocument m_doc;
  std::vector<std::uint64_t> m_ids;
  std::vector<QString> m_notes;
  std::vector<QString> m_boxes;
  std::FILE* m_pDialogIn = nullptr;
  std::FILE* m_pDialogOut = nullptr;
};

// The numbers given to updateData, exactly (QVariant's own comparison of doubles is fuzzy).
std::map<int, double> Numbers(const QHash<int, QVariant>& values) {
  std::map<int, double> numbers;
  for (auto it = values.begin(); it != values.end(); ++it) numbers[it.key()] = it->toDouble();
  return numbers;
}

std::vector<std::vector<double>> Points(const QList<Plug_VertexData>& vertices) {
  std::vector<std::vector<double>> points;
  for (const Plug_VertexData& v : vertices) points.push_back({v.point.x(), v.point.y(), v.bulge});
  return points;
}

TEST_F(LibreCadCommand, ChangesEveryHoleEntityOnceOntoTheGridAndNothingElse) {
  const tarnell_librecad::RunResult result = Run(kAllHoles, kUnitHalf);

  EXPECT_FALSE(result.cancelled);
  EXPECT_EQ(m_boxes, std::vector<QString>{QStringLiteral("총 8개의 Hole 위치를 변경했습니다.")});
  int changed = 0;
  std::size_t expectedChanges = 0;
  for (std::size_t k = 0; k < m_rows.size(); ++k) {
    const Row& row = m_rows[k];
    SCOPED_TRACE(row.what);
    const std::vector<DocumentChange> changes = ChangesOf(m_ids[k]);
    if (!row.update.empty()) {
      ++changed;
      expectedChanges += 1;
      ASSERT_EQ(changes.size(), 1u);
      EXPECT_EQ(changes[0].kind, ChangeKind::kUpdate);
      EXPECT_EQ(Numbers(changes[0].values), row.update);
    } else if (!row.replacement.isEmpty()) {
      ++changed;
      expectedChanges += 2;
      ASSERT_EQ(changes.size(), 1u);
      EXPECT_EQ(changes[0].kind, ChangeKind::kRemove);
      const auto added =
          std::find_if(m_doc.changes.begin(), m_doc.changes.end(),
                       [](const DocumentChange& c) { return c.kind == ChangeKind::kAdd; });
      ASSERT_NE(added, m_doc.changes.end());
      const FakeEntity* fresh = m_doc.Find(added->id);
      ASSERT_NE(fresh, nullptr);
      EXPECT_EQ(Points(fresh->vertices), Points(row.replacement));
      for (const int key : {DPI::LAYER, DPI::LTYPE, DPI::LWIDTH, DPI::COLOR, DPI::CLOSEPOLY}) {
        EXPECT_EQ(fresh->data.value(key).toString(), row.data.value(key).toString()) << key;
      }
    } else {
      EXPECT_EQ(changes.size(), 0u);
    }
  }
  EXPECT_EQ(m_doc.changes.size(), expectedChanges);
  EXPECT_EQ(result.written, changed);
  for (const QString& note : m_notes) EXPECT_FALSE(note.startsWith('!')) << note.toStdString();
  // The layers' linetypes were read by making each current in turn; the user's is current again.
  EXPECT_EQ(m_doc.currentLayer, QStringLiteral("0"));
}

TEST_F(LibreCadCommand, CancelledAtTheRangeChangesNothing) {
  const tarnell_librecad::RunResult result =
      Run({{PointAnswer::kPoint, QPointF(0, 0)}, {PointAnswer::kPoint, QPointF(-5, -5)}}, "");

  EXPECT_TRUE(result.cancelled);
  EXPECT_EQ(m_doc.changes.size(), 0u);
  EXPECT_EQ(m_boxes.size(), 0u);
}

// While the command waits for the range's second corner, the user erases a drill, moves the drill
// that stood on its grid point off it and draws a new drill: the command reads the drawing again
// before it takes the corner, leaves the erased drill alone and corrects the other two from where
// they stand now.
TEST_F(LibreCadCommand, TakesTheDrawingAsTheUserChangedItWhileItWaited) {
  const std::uint64_t erased = m_ids[2];  // the drill at 30.26,10.1
  const std::uint64_t moved = m_ids[14];  // the drill on its grid point, 50,40
  ASSERT_EQ(m_rows[14].what, std::string("drill on its grid point"));
  std::uint64_t drawn = 0;
  const tarnell_librecad::RunResult result = Run(kAllHoles, kUnitHalf, [&](std::size_t asked) {
    if (asked != 2) return;
    m_doc.Find(erased)->removed = true;
    m_doc.Find(moved)->data.insert(DPI::STARTX, 50.2);
    m_doc.Find(moved)->data.insert(DPI::STARTY, 40.3);
    drawn = m_doc.Add(DPI::CIRCLE, On("HOLES", Centre(110.3, 70.1, 3)));
  });

  EXPECT_FALSE(result.cancelled);
  // Counted as before: the erased drill out, the new one in (the drill on its grid point counted
  // as it was, though it did not move then).
  EXPECT_EQ(m_boxes, std::vector<QString>{QStringLiteral("총 8개의 Hole 위치를 변경했습니다.")});
  EXPECT_TRUE(ChangesOf(erased).empty());
  for (const auto& [id, to] : {std::pair{moved, MovedTo(50, 40.5)}, {drawn, MovedTo(110.5, 70)}}) {
    const std::vector<DocumentChange> changes = ChangesOf(id);
    ASSERT_EQ(changes.size(), 1u) << id;
    EXPECT_EQ(Numbers(changes[0].values), to) << id;
  }
  const auto told = std::count_if(m_notes.begin(), m_notes.end(), [](const QString& note) {
    return note.contains(QStringLiteral("changed while the command waited and is read again"));
  });
  EXPECT_EQ(told, 1);
}

// Where a segment stands: a circle's or an arc's centre, a line's start.
std::pair<double, double> Where(const zethost::Geometry& geometry) {
  const Point2 at = std::visit(
      [](const auto& g) {
        if constexpr (std::is_same_v<std::decay_t<decltype(g)>, zethost::Line>) {
          return g.start;
        } else {
          return g.center;
        }
      },
      geometry);
  return {at.x, at.y};
}

// The hole ids the host hands out name the same holes after the drawing is read again, as long as
// their entities stayed as they were; a hole that changed or went is not answered for, and its id
// is not given to another; what blinked stays blinking.
TEST_F(LibreCadCommand, HoleIdsSurviveReadingTheDrawingAgain) {
  const auto read = [this](std::vector<QString> layers) {
    QList<Plug_Entity*> all;
    m_doc.getAllEntities(&all, true);
    tarnell_librecad::DocumentEntities entities =
        tarnell_librecad::ReadDocumentEntities(all, {}, std::move(layers));
    qDeleteAll(all);
    return entities;
  };
  const auto centreOf = [](HoleId id) {
    const zethost::Element* hole = zethost::FindHole(id);
    return hole == nullptr ? std::pair{-1.0, -1.0} : Where(hole->segments.front().geometry);
  };
  const auto blinking = [] {
    std::vector<std::pair<double, double>> shown;
    for (const ElementRef& ref : zethost::BlinkingSegments()) {
      shown.push_back(Where(zethost::FindSegment(ref.nSegmentId)->geometry));
    }
    return shown;
  };
  tarnell_librecad::DocumentEntities before = read({});
  zethost::LoadOpenDocument(before.drawing, before.ids);
  std::map<HoleId, std::pair<double, double>> holes;
  HoleId highest = 0;
  for (const zethost::Element& element : zethost::Elements()) {
    if (element.kind != zethost::ElementKind::Hole) continue;
    holes[element.holeId] = centreOf(element.holeId);
    highest = std::max(highest, element.holeId);
  }
  const zethost::Element* hole = zethost::FindHole(holes.rbegin()->first);
  ZetIdClearBlink();
  for (const zethost::Segment& segment : hole->segments) {
    const ElementRef ref{hole->instanceId, segment.id};
    ZetIdSetBlinkSegmentId(&ref);
  }
  ZetIdDoBlink();
  const std::vector<std::pair<double, double>> blinked = blinking();

  EXPECT_FALSE(zethost::RereadOpenDocument(before.drawing, before.ids).changed);
  m_doc.entities.erase(m_doc.entities.begin());         // the outline, before every hole
  m_doc.Find(m_ids[2])->removed = true;                 // the drill at 30.26,10.1
  m_doc.Find(m_ids[5])->data.insert(DPI::RADIUS, 6.5);  // the counterbore, widened
  m_doc.Add(DPI::CIRCLE, On("HOLES", Centre(110.3, 70.1, 3)));
  tarnell_librecad::DocumentEntities after = read(before.layers);
  const zethost::Reread reread = zethost::RereadOpenDocument(after.drawing, after.ids);

  EXPECT_TRUE(reread.changed);
  EXPECT_EQ(reread.holesGone, 2u);
  EXPECT_EQ(reread.holesNew, 2u);  // the widened counterbore and the new drill
  std::size_t kept = 0;
  for (const auto& [id, centre] : holes) {
    const bool gone = centre == std::pair{30.26, 10.1} || centre == std::pair{60.13, 20.21};
    const std::pair<double, double> expected = gone ? std::pair{-1.0, -1.0} : centre;
    EXPECT_EQ(centreOf(id), expected) << id;
    kept += gone ? 0 : 1;
  }
  EXPECT_EQ(kept, holes.size() - 2);
  for (const zethost::Element& element : zethost::Elements()) {
    if (element.kind == zethost::ElementKind::Hole && !holes.count(element.holeId)) {
      EXPECT_GT(element.holeId, highest);
    }
  }
  EXPECT_EQ(blinking(), blinked);
}

}  // namespace

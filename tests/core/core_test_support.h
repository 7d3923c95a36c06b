// Shared set-up of the core tests: every test starts from an empty drawing and an empty group
// table, and ends with nothing the host handed out left open.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "command/command_state.h"
#include "holes/hole_group_table.h"
#include "host/stand_in.h"
#include "plugin/zetlib.h"
#include "settings/move_unit_dialog.h"

namespace coretest {

inline std::string Describe(const zethost::OpenResources& r) {
  return "holeData=" + std::to_string(r.holeData) + " idArrays=" + std::to_string(r.idArrays) +
         " selections=" + std::to_string(r.selections) +
         " badReleases=" + std::to_string(r.badReleases);
}

class CoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zethost::ResetHost();
    ClearHoleGroups();
    g_ptBase = Point2{0.0, 0.0};
    g_ptCorner1 = Point2{0.0, 0.0};
    g_ptCorner2 = Point2{0.0, 0.0};
    g_strMoveUnit = u"";
  }
  void TearDown() override {
    const zethost::OpenResources open = zethost::Resources();
    EXPECT_TRUE(open == zethost::OpenResources{}) << Describe(open);
  }
};

// The item list of a hole of the given kind; holes of one kind have equal records.
inline std::vector<HoleDataItem> KindItems(std::int32_t kind) {
  return {zethost::MakeItem(kind, 1.5, "D10"), zethost::MakeItem(kind + 100, 0.25, "C")};
}

inline HoleId AddCircleHole(Point2 centre, double radius = 1.0, std::int32_t kind = 1,
                            bool unsupported = false) {
  const std::int32_t instance =
      zethost::AddHole({zethost::Circle{centre, radius}}, KindItems(kind), unsupported);
  return zethost::HoleIdOf(instance);
}

inline HoleId AddShapedHole(const std::vector<zethost::Geometry>& segments, std::int32_t kind = 1) {
  return zethost::HoleIdOf(zethost::AddHole(segments, KindItems(kind)));
}

inline std::vector<std::int32_t> SegmentIdsOf(HoleId id) {
  std::vector<std::int32_t> ids;
  for (const zethost::Segment& s : zethost::FindHole(id)->segments) ids.push_back(s.id);
  return ids;
}

inline zethost::Geometry GeometryOf(std::int32_t segmentId) {
  return zethost::FindSegment(segmentId)->geometry;
}

// Centre of the hole's first circle or arc segment.
inline Point2 CentreOf(HoleId id) {
  for (const zethost::Segment& s : zethost::FindHole(id)->segments) {
    if (auto c = zethost::SegmentCenter(s)) return *c;
  }
  ADD_FAILURE() << "hole " << id << " has no centre";
  return Point2{0, 0};
}

// The groups in use, 1 to count, as plain lists.
inline std::vector<std::vector<HoleId>> Groups() {
  std::vector<std::vector<HoleId>> groups;
  for (std::int32_t i = 1; i <= g_nHoleGroupCount; ++i) {
    std::vector<HoleId> members;
    const HoleGroup& group = g_arrHoleGroup[static_cast<std::size_t>(i)];
    for (std::size_t k = 0; k < group.size(); ++k) members.push_back(group[k]);
    groups.push_back(members);
  }
  return groups;
}

inline void SetGroups(const std::vector<std::vector<HoleId>>& groups) {
  ClearHoleGroups();
  for (const std::vector<HoleId>& members : groups) {
    AddHoleGroup(members.front());
    for (std::size_t k = 1; k < members.size(); ++k)
      AppendHoleIfAbsent(g_nHoleGroupCount, members[k]);
  }
}

inline std::vector<std::u16string> ErrorMessages() {
  std::vector<std::u16string> texts;
  for (const zethost::Message& m : zethost::Messages()) {
    if (m.kind == zethost::MessageKind::Error) texts.push_back(m.text);
  }
  return texts;
}

inline int CountCalls(const std::string& function) {
  int n = 0;
  for (const zethost::Call& c : zethost::CallLog()) n += c.function == function ? 1 : 0;
  return n;
}

// The first argument of every logged call of the function, e.g. the segment ids mirrored.
inline std::vector<std::string> FirstArguments(const std::string& function) {
  std::vector<std::string> args;
  for (const zethost::Call& c : zethost::CallLog()) {
    if (c.function == function) args.push_back(c.args.substr(0, c.args.find(',')));
  }
  return args;
}

}  // namespace coretest

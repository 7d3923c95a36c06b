#include "command_fixture.h"

#include <cstdlib>
#include <filesystem>

#include "holes/hole_group_table.h"
#include "plugin/startup.h"
#include "settings/dialog_view_terminal.h"
#include "settings/settings_store.h"

void CommandTest::SetUp() {
  zethost::ResetHost();
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  m_registryPath = (std::filesystem::temp_directory_path() /
                    ("tarnell-command-" + std::string(info->name()) + ".reg"))
                       .string();
  std::filesystem::remove(m_registryPath);
  setenv("TARNELL_REGISTRY", m_registryPath.c_str(), 1);
  m_dialogInput = std::tmpfile();
  m_dialogOutput = std::tmpfile();
  SetDialogStreams(m_dialogInput, m_dialogOutput);
  ASSERT_EQ(Startup(0, 0, 0, 0x1234), 0);
}

void CommandTest::TearDown() {
  EXPECT_EQ(zethost::Resources(), zethost::OpenResources{});
  // Also no callback returned holding a record, an id array or a selection, and nothing else
  // misused the host.
  EXPECT_EQ(zethost::ProtocolErrors(), std::vector<std::string>{});
  SetDialogStreams(stdin, stdout);
  std::fclose(m_dialogInput);
  std::fclose(m_dialogOutput);
  std::filesystem::remove(m_registryPath);
}

HoleId CommandTest::AddRoundHole(Point2 center, int kind, double radius) {
  const auto instance = zethost::AddHole({zethost::Circle{center, radius}},
                                         {zethost::MakeItem(kind, radius * 2, "DRILL")});
  return zethost::HoleIdOf(instance);
}

HoleId CommandTest::AddDoubleCircleHole(Point2 center, int kind) {
  const auto instance =
      zethost::AddHole({zethost::Circle{center, 3.0}, zethost::Circle{center, 2.0}},
                       {zethost::MakeItem(kind, 6.0, "TAP")});
  return zethost::HoleIdOf(instance);
}

std::int32_t CommandTest::AddSlot(Point2 from, Point2 to) {
  return zethost::AddLongHole({zethost::Line{from, to}});
}

std::int32_t CommandTest::InstanceOf(HoleId id) {
  return zethost::FindHole(id)->instanceId;
}

void CommandTest::ScriptDialogs(const std::string& actions) {
  const long position = std::ftell(m_dialogInput);
  std::fseek(m_dialogInput, 0, SEEK_END);
  std::fputs(actions.c_str(), m_dialogInput);
  std::fseek(m_dialogInput, position, SEEK_SET);
}

void CommandTest::StoreMethod(const std::u16string& text) {
  ASSERT_TRUE(WriteSettingString(u"Tarnell", u"Method", text));
}

void CommandTest::StartAt(Point2 base) {
  zethost::StartCommand();
  const auto result = zethost::Click(base);
  ASSERT_TRUE(result.delivered);
  ASSERT_EQ(result.result, STEP_NEXT);
}

zethost::InputResult CommandTest::PickHole(HoleId id) {
  const zethost::Element* hole = zethost::FindHole(id);
  zethost::RawEvent event;
  event.code = EVENT_ELEMENT;
  event.point = CenterOf(id);
  event.element = {hole->instanceId, hole->segments.front().id};
  return zethost::Deliver(event);
}

zethost::InputResult CommandTest::SelectElements(const std::vector<std::int32_t>& instances) {
  zethost::RawEvent event;
  event.code = EVENT_SELECTION;
  for (const std::int32_t instance : instances) {
    SelectionEntry entry{};
    entry.nSegmentId = zethost::FindElement(instance)->segments.front().id;
    entry.nInstanceId = instance;
    event.selection.push_back(entry);
  }
  return zethost::Deliver(event);
}

std::vector<std::u16string> CommandTest::Texts(zethost::MessageKind kind) {
  std::vector<std::u16string> texts;
  for (const auto& message : zethost::Messages()) {
    if (message.kind == kind) texts.push_back(message.text);
  }
  return texts;
}

std::vector<std::vector<HoleId>> CommandTest::Groups() {
  std::vector<std::vector<HoleId>> groups;
  for (std::int32_t i = 1; i <= g_nHoleGroupCount; ++i) {
    std::vector<HoleId> members;
    for (std::size_t k = 0; k < g_arrHoleGroup[i].size(); ++k)
      members.push_back(g_arrHoleGroup[i][k]);
    groups.push_back(members);
  }
  return groups;
}

Point2 CommandTest::CenterOf(HoleId id) {
  return *zethost::ElementCenter(*zethost::FindHole(id));
}

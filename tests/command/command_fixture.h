// A drawing in the stand-in host, the plug-in registered with it, a private registry file and
// scripted dialog input: the command runs exactly as the host drives it.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/stand_in.h"

class CommandTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A round hole of the given kind (kinds with the same number are the same hole).
  HoleId AddRoundHole(Point2 center, int kind, double radius = 2.0);
  // A hole drawn as two concentric circles.
  HoleId AddDoubleCircleHole(Point2 center, int kind);
  std::int32_t AddSlot(Point2 from, Point2 to);
  // The instance id of the element of a hole.
  std::int32_t InstanceOf(HoleId id);

  // The actions the next dialogs will read, one per line.
  void ScriptDialogs(const std::string& actions);
  // Stores "Method" before the run.
  void StoreMethod(const std::u16string& text);

  // Starts the command and delivers the base point.
  void StartAt(Point2 base);
  zethost::InputResult PickHole(HoleId id);
  // A range selection of these elements (instance ids), in this order.
  zethost::InputResult SelectElements(const std::vector<std::int32_t>& instances);
  std::vector<std::u16string> Texts(zethost::MessageKind kind);
  std::vector<std::vector<HoleId>> Groups();
  Point2 CenterOf(HoleId id);

  std::string m_registryPath;
  std::FILE* m_dialogInput = nullptr;
  std::FILE* m_dialogOutput = nullptr;
};

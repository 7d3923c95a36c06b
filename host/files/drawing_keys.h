// The keys of an `item` line of a drawing file, in the order they are written.
#pragma once

#include <cstdint>
#include <string_view>

#include "plugin/zetlib.h"

namespace zethost {

enum class ItemKeyKind { Integer, Number, NoValue2, Text };

struct ItemKey {
  std::string_view name;
  ItemKeyKind kind;
  std::int32_t HoleDataItem::*integer = nullptr;  // for kind Integer
  double HoleDataItem::*number = nullptr;         // for kind Number
};

inline constexpr ItemKey kItemKeys[] = {
    {"code1", ItemKeyKind::Integer, &HoleDataItem::nCode1},
    {"code2", ItemKeyKind::Integer, &HoleDataItem::nCode2},
    {"value1", ItemKeyKind::Number, nullptr, &HoleDataItem::dValue1},
    {"value2", ItemKeyKind::Number, nullptr, &HoleDataItem::dValue2},
    {"novalue2", ItemKeyKind::NoValue2},
    {"code3", ItemKeyKind::Integer, &HoleDataItem::nCode3},
    {"code4", ItemKeyKind::Integer, &HoleDataItem::nCode4},
    {"text", ItemKeyKind::Text},
    {"code5", ItemKeyKind::Integer, &HoleDataItem::nCode5},
    {"value3", ItemKeyKind::Number, nullptr, &HoleDataItem::dValue3},
    {"value4", ItemKeyKind::Number, nullptr, &HoleDataItem::dValue4},
    {"code6", ItemKeyKind::Integer, &HoleDataItem::nCode6},
    {"code7", ItemKeyKind::Integer, &HoleDataItem::nCode7},
    {"option", ItemKeyKind::Integer, &HoleDataItem::nOption},
    {"optionvalue", ItemKeyKind::Integer, &HoleDataItem::nOptionValue},
};

inline constexpr std::string_view kDrawingHeader = "tarnell-drawing 1";

}  // namespace zethost

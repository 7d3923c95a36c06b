// The two dialog templates as data: ids, captions, fonts, styles, every control with its class,
// text, style, position and size, and the list columns. The Win32 resource script and the
// terminal view are both checked against these tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace dlgstyle {
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t DS_SYSMODAL = 0x02;
inline constexpr std::uint32_t DS_FIXEDSYS = 0x08;
inline constexpr std::uint32_t DS_SETFONT = 0x40;
inline constexpr std::uint32_t DS_MODALFRAME = 0x80;
inline constexpr std::uint32_t DS_SETFOREGROUND = 0x200;
inline constexpr std::uint32_t DS_SHELLFONT = DS_SETFONT | DS_FIXEDSYS;
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x1;
inline constexpr std::uint32_t BS_AUTORADIOBUTTON = 0x9;
inline constexpr std::uint32_t ES_LEFT = 0x0;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x80;
inline constexpr std::uint32_t SS_LEFT = 0x0;
inline constexpr std::uint32_t LVS_REPORT = 0x1;
inline constexpr std::uint32_t LVS_SINGLESEL = 0x4;
inline constexpr std::uint32_t LVS_ALIGNLEFT = 0x800;
inline constexpr std::uint32_t LVS_EX_GRIDLINES = 0x1;
inline constexpr std::uint32_t LVS_EX_FULLROWSELECT = 0x20;
}  // namespace dlgstyle

struct ControlTemplate {
  int id;
  std::u16string_view className;  // u"Button", u"Edit", u"Static", u"SysListView32"
  std::u16string_view text;
  std::uint32_t style;  // WS_CHILD is implied and not listed
  int x, y, cx, cy;     // dialog units
};

struct DialogTemplate {
  int id;
  int language;  // 0x0412
  std::u16string_view caption;
  std::u16string_view fontName;
  int pointSize;
  int weight;
  bool italic;
  int charset;
  std::uint32_t style;
  int x, y, cx, cy;
  std::span<const ControlTemplate> controls;  // template order = tab order
};

struct ListColumn {
  std::u16string_view heading;
  int format;
  int width;  // pixels
};

inline constexpr int IDD_MODE_DIALOG = 17001;
inline constexpr int IDD_MOVE_UNIT_DIALOG = 12000;
inline constexpr int IDC_ALL_HOLES = 15000;
inline constexpr int IDC_SPECIFIC_HOLES = 15001;
inline constexpr int IDC_UNIT_EDIT = 12000;
inline constexpr int IDC_UNIT_LIST = 12001;
inline constexpr int IDC_STATIC = -1;

extern const DialogTemplate kModeDialogTemplate;
extern const DialogTemplate kMoveUnitDialogTemplate;
extern const std::array<ListColumn, 2> kUnitListColumns;

// The template with that id, or nullptr.
const DialogTemplate* FindDialogTemplate(int id);

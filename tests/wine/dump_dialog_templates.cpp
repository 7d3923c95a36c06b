// Prints the dialog template tables of settings/dialog_templates.cpp as JSON (ASCII only, texts
// as \u escapes), so that the resources built into Tarnell.dll can be compared with them.
#include <cstdio>
#include <string>
#include <string_view>

#include "settings/dialog_templates.h"

namespace {

std::string Json(std::u16string_view text) {
  std::string out = "\"";
  for (const char16_t c : text) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
    out += escaped;
  }
  return out + "\"";
}

void PrintControl(const ControlTemplate& control, bool last) {
  std::printf(
      "      {\"id\": %d, \"class\": %s, \"text\": %s, \"style\": %lu, \"x\": %d, \"y\": %d, "
      "\"cx\": %d, \"cy\": %d}%s\n",
      control.id, Json(control.className).c_str(), Json(control.text).c_str(),
      static_cast<unsigned long>(control.style), control.x, control.y, control.cx, control.cy,
      last ? "" : ",");
}

void PrintTemplate(const DialogTemplate& dialog) {
  std::printf(
      "    \"%d\": {\"language\": %d, \"caption\": %s, \"font\": %s, \"pointSize\": %d, "
      "\"weight\": %d, \"italic\": %d, \"charset\": %d, \"style\": %lu, \"x\": %d, "
      "\"y\": %d, \"cx\": %d, \"cy\": %d, \"controls\": [\n",
      dialog.id, dialog.language, Json(dialog.caption).c_str(), Json(dialog.fontName).c_str(),
      dialog.pointSize, dialog.weight, dialog.italic ? 1 : 0, dialog.charset,
      static_cast<unsigned long>(dialog.style), dialog.x, dialog.y, dialog.cx, dialog.cy);
  for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
    PrintControl(dialog.controls[i], i + 1 == dialog.controls.size());
  }
  std::printf("    ]}");
}

}  // namespace

int main() {
  std::printf("{\n  \"templates\": {\n");
  PrintTemplate(kModeDialogTemplate);
  std::printf(",\n");
  PrintTemplate(kMoveUnitDialogTemplate);
  std::printf("\n  }\n}\n");
  return 0;
}

#include "ui/form1_definition.h"

namespace ui {

const ControlDef* FindControl(std::string_view name) {
  for (const ControlDef& control : kForm1Controls) {
    if (control.Name == name) return &control;
  }
  return nullptr;
}

std::string_view AccessibleNameOf(const ControlDef& label) {
  std::string_view text = label.Text;
  while (!text.empty() && (text.back() == ':' || text.back() == ' ')) text.remove_suffix(1);
  return text;
}

std::uint8_t SelectedDayFor(int position) { return static_cast<std::uint8_t>(position + 1); }

int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + 720) / 1440);
}

}  // namespace ui

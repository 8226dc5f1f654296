#include "platform/Surface.h"

namespace kivrel {

void Surface::SetFontName(std::string_view name) {
  if (font_name_ == name) return;
  font_name_ = std::string(name);
  FontChanged();
}

void Surface::SetFontSize(double points) {
  double usable = UsableFontSize(points);
  if (usable == font_size_) return;
  font_size_ = usable;
  FontChanged();
}

void Surface::SetFontBold(bool bold) {
  if (font_bold_ == bold) return;
  font_bold_ = bold;
  FontChanged();
}

void Surface::SetFontItalic(bool italic) {
  if (font_italic_ == italic) return;
  font_italic_ = italic;
  FontChanged();
}

void Surface::Print(std::string_view text) {
  DrawText(CurrentX, CurrentY, text);
  CurrentX += TextWidth(text);
}

}  // namespace kivrel

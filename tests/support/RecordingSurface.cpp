#include "RecordingSurface.h"

#include <tuple>

#include "model/Text.h"

namespace kivrel::testing {

void RecordingSurface::Scale(double width, double height) {
  user_x_ = width > 0 ? width_ / width : 1;
  user_y_ = height > 0 ? height_ / height : 1;
}

double RecordingSurface::CharWidth(char32_t ch) const {
  const double unit = FontSize() * 10;
  if (ch > 0x7F) return unit;
  if (std::string_view("MWmw").find(static_cast<char>(ch)) != std::string_view::npos) return unit * 1.5;
  if (std::string_view(" Iijltf.,:;!'|").find(static_cast<char>(ch)) != std::string_view::npos) return unit * 0.5;
  return unit;
}

double RecordingSurface::TextWidth(std::string_view text) {
  double width = 0;
  for (std::size_t pos = 0; pos < text.size();) width += CharWidth(DecodeUtf8(text, pos));
  return width / user_x_;
}

DrawOp& RecordingSurface::Record(DrawOp::Kind kind, double x, double y, double x2, double y2) {
  return ops.emplace_back(
      DrawOp{kind, x, y, x2, y2, 0, 0, 0, "", ForeColor(), FontSpec{FontName(), FontSize(), FontBold(), FontItalic()}});
}

void RecordingSurface::DrawText(double x, double y, std::string_view text) {
  Record(DrawOp::Kind::Text, x, y).text = std::string(text);
}

void RecordingSurface::Arc(double x, double y, double radius, double start, double end) {
  DrawOp& op = Record(DrawOp::Kind::Arc, x, y);
  std::tie(op.radius, op.start, op.end) = std::make_tuple(radius, start, end);
}

void RecordingSurface::Cls() {
  CurrentX = 0;
  CurrentY = 0;
  Record(DrawOp::Kind::Cls);
}

std::vector<std::string> RecordingSurface::Texts() const {
  std::vector<std::string> texts;
  for (const DrawOp& op : OfKind(DrawOp::Kind::Text)) texts.push_back(op.text);
  return texts;
}

std::vector<DrawOp> RecordingSurface::OfKind(DrawOp::Kind kind) const {
  std::vector<DrawOp> result;
  for (const DrawOp& op : ops) {
    if (op.kind == kind) result.push_back(op);
  }
  return result;
}

std::optional<DrawOp> RecordingSurface::TextAt(double x, double y) const {
  for (auto it = ops.rbegin(); it != ops.rend(); ++it) {
    if (it->kind == DrawOp::Kind::Text && it->x == x && it->y == y) return *it;
  }
  return std::nullopt;
}

}  // namespace kivrel::testing

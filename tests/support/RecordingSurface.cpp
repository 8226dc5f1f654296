#include "RecordingSurface.h"

#include "model/Text.h"

namespace kivrel::testing {

void RecordingSurface::Scale(double width, double height) {
  user_x_ = width > 0 ? width_ / width : 1;
  user_y_ = height > 0 ? height_ / height : 1;
}

double RecordingSurface::CharWidth(char32_t ch) const {
  double unit = FontSize() * 10;
  switch (ch) {
    case 'M':
    case 'W':
    case 'm':
    case 'w':
      return unit * 1.5;
    case ' ':
    case 'I':
    case 'i':
    case 'j':
    case 'l':
    case 't':
    case 'f':
    case '.':
    case ',':
    case ':':
    case ';':
    case '!':
    case '\'':
    case '|':
      return unit * 0.5;
    default:
      return unit;
  }
}

double RecordingSurface::TextWidth(std::string_view text) {
  double width = 0;
  for (std::size_t pos = 0; pos < text.size();) width += CharWidth(DecodeUtf8(text, pos));
  return width / user_x_;
}

double RecordingSurface::TextHeight(std::string_view) { return FontSize() * 20 / user_y_; }

DrawOp RecordingSurface::Op(DrawOp::Kind kind) const {
  DrawOp op;
  op.kind = kind;
  op.color = ForeColor();
  op.font = {FontName(), FontSize(), FontBold(), FontItalic()};
  op.draw_width = DrawWidth();
  return op;
}

void RecordingSurface::DrawText(double x, double y, std::string_view text) {
  DrawOp op = Op(DrawOp::Kind::Text);
  op.x = x;
  op.y = y;
  op.text = std::string(text);
  ops.push_back(op);
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2) {
  DrawOp op = Op(DrawOp::Kind::Line);
  op.x = x1;
  op.y = y1;
  op.x2 = x2;
  op.y2 = y2;
  ops.push_back(op);
}

void RecordingSurface::Box(double x1, double y1, double x2, double y2) {
  DrawOp op = Op(DrawOp::Kind::Box);
  op.x = x1;
  op.y = y1;
  op.x2 = x2;
  op.y2 = y2;
  ops.push_back(op);
}

void RecordingSurface::Arc(double x, double y, double radius, double start, double end) {
  DrawOp op = Op(DrawOp::Kind::Arc);
  op.x = x;
  op.y = y;
  op.radius = radius;
  op.start = start;
  op.end = end;
  ops.push_back(op);
}

void RecordingSurface::Cls() {
  CurrentX = 0;
  CurrentY = 0;
  ops.push_back(Op(DrawOp::Kind::Cls));
}

std::vector<std::string> RecordingSurface::Texts() const {
  std::vector<std::string> texts;
  for (const DrawOp& op : ops) {
    if (op.kind == DrawOp::Kind::Text) texts.push_back(op.text);
  }
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

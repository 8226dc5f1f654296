#pragma once
// A Surface for tests: it records everything drawn, in twips, and measures with fixed
// metrics so layouts can be checked exactly.
//
// Metrics: a text's height is FontSize x 20 twips (one point is 20 twips), whatever
// the text. A character's width is FontSize x 10 twips, times 1.5 for "M", "W", "m",
// "w", times 0.5 for " ", "I", "i", "j", "l", "t", "f", ".", ",", ":", ";", "!", "'"
// and "|"; bold and italic do not change widths. Font sizes are used as asked.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "model/Text.h"
#include "platform/Surface.h"

namespace kivrel::testing {

struct DrawOp {
  enum class Kind { Text, Line, Box, Arc, Cls };
  Kind kind = Kind::Text;
  double x = 0, y = 0, x2 = 0, y2 = 0;  // Text: top-left; Line/Box: ends; Arc: centre
  double radius = 0, start = 0, end = 0;
  std::string text;
  Rgb color;
  FontSpec font;
};

class RecordingSurface : public Surface {
 public:
  explicit RecordingSurface(double width = 12240, double height = 15840) : width_(width), height_(height) {}

  double ScaleWidth() const override { return width_ / user_x_; }
  double ScaleHeight() const override { return height_ / user_y_; }
  void Scale(double width, double height) override {
    user_x_ = width > 0 ? width_ / width : 1;
    user_y_ = height > 0 ? height_ / height : 1;
  }

  double TextWidth(std::string_view text) override {
    double width = 0;
    for (std::size_t pos = 0; pos < text.size();) width += CharWidth(DecodeUtf8(text, pos));
    return width / user_x_;
  }
  double TextHeight(std::string_view) override { return FontSize() * 20 / user_y_; }
  void Line(double x1, double y1, double x2, double y2) override { Record(DrawOp::Kind::Line, x1, y1, x2, y2); }
  void Box(double x1, double y1, double x2, double y2) override { Record(DrawOp::Kind::Box, x1, y1, x2, y2); }
  void Arc(double x, double y, double radius, double start, double end) override {
    DrawOp& op = Record(DrawOp::Kind::Arc, x, y);
    op.radius = radius;
    op.start = start;
    op.end = end;
  }
  void Cls() override {
    CurrentX = 0;
    CurrentY = 0;
    Record(DrawOp::Kind::Cls);
  }

  /// Width of one character in the current font, by the rules above.
  double CharWidth(char32_t ch) const {
    const double unit = FontSize() * 10;
    if (ch > 0x7F) return unit;
    if (std::string_view("MWmw").find(static_cast<char>(ch)) != std::string_view::npos) return unit * 1.5;
    if (std::string_view(" Iijltf.,:;!'|").find(static_cast<char>(ch)) != std::string_view::npos) return unit * 0.5;
    return unit;
  }

  std::vector<DrawOp> ops;
  /// The texts drawn, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const DrawOp& op : OfKind(DrawOp::Kind::Text)) texts.push_back(op.text);
    return texts;
  }
  /// The ops of one kind.
  std::vector<DrawOp> OfKind(DrawOp::Kind kind) const {
    std::vector<DrawOp> result;
    for (const DrawOp& op : ops) {
      if (op.kind == kind) result.push_back(op);
    }
    return result;
  }
  /// The last text op at (x, y), if any.
  std::optional<DrawOp> TextAt(double x, double y) const {
    for (auto it = ops.rbegin(); it != ops.rend(); ++it) {
      if (it->kind == DrawOp::Kind::Text && it->x == x && it->y == y) return *it;
    }
    return std::nullopt;
  }

 protected:
  void DrawText(double x, double y, std::string_view text) override {
    Record(DrawOp::Kind::Text, x, y).text = std::string(text);
  }

 private:
  // The suite's largest picture records about ten thousand operations. A draw loop that
  // never ends (a build that never finishes, redrawing at every yield) would otherwise
  // fill the machine's memory before the test's time limit stops it.
  static constexpr std::size_t kMostOps = 1'000'000;

  DrawOp& Record(DrawOp::Kind kind, double x = 0, double y = 0, double x2 = 0, double y2 = 0) {
    if (ops.size() >= kMostOps) {
      std::fprintf(stderr, "RecordingSurface: more than %zu drawing operations; a drawing loop that never ends?\n",
                   kMostOps);
      std::abort();
    }
    return ops.emplace_back(DrawOp{kind, x, y, x2, y2, 0, 0, 0, "", ForeColor(),
                                   FontSpec{FontName(), FontSize(), FontBold(), FontItalic()}});
  }

  double width_;
  double height_;
  double user_x_ = 1;
  double user_y_ = 1;
};

}  // namespace kivrel::testing

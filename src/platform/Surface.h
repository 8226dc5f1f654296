#pragma once
// The drawing contract of the platform. The puzzle picture, the preview page, the
// printer and the PDF, PNG and SVG pages are all Surfaces, so each layout is written
// once. Coordinates are twips (1440 per inch) from the top-left corner, y growing
// downward, unless Scale set other units; a surface converts with its own resolution.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kivrel {

struct Rgb {
  std::uint8_t R = 0;
  std::uint8_t G = 0;
  std::uint8_t B = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGrey{127, 127, 127};

/// A text of a row and the x of its left edge.
struct PlacedText {
  double X = 0;
  std::string_view Text;
};

/// A font by name, size in points, weight and slant.
struct FontSpec {
  std::string Name;
  double Size = 0;
  bool Bold = false;
  bool Italic = false;
  bool operator==(const FontSpec&) const = default;
};

class Surface {
 public:
  virtual ~Surface() = default;

  /// The current drawing position: where the next text's top-left corner goes.
  double CurrentX = 0;
  double CurrentY = 0;

  /// Width and height of the drawing area in the current units.
  virtual double ScaleWidth() const = 0;
  virtual double ScaleHeight() const = 0;
  /// User units: (0, 0) at the top-left corner and (width, height) at the bottom-right.
  virtual void Scale(double width, double height) = 0;

  void SetFontName(std::string_view name);
  const std::string& FontName() const { return font_name_; }
  /// Sets the size in points; FontSize() then reads back the size the device uses.
  void SetFontSize(double points);
  double FontSize() const { return font_size_; }
  void SetFontBold(bool bold);
  bool FontBold() const { return font_bold_; }
  void SetFontItalic(bool italic);
  bool FontItalic() const { return font_italic_; }

  void SetForeColor(Rgb color) { fore_color_ = color; }
  Rgb ForeColor() const { return fore_color_; }
  /// Pen width in pixels of 1/96 inch.
  void SetDrawWidth(int width) { draw_width_ = width < 1 ? 1 : width; }
  int DrawWidth() const { return draw_width_; }

  /// Size of a text in the current font and units.
  virtual double TextWidth(std::string_view text) = 0;
  virtual double TextHeight(std::string_view text) = 0;

  /// Draws the text with its top-left corner at the current position in the fore
  /// colour (the glyphs only, not their background) and moves CurrentX to its right end.
  void Print(std::string_view text);
  /// Draws the text with its top-left corner at (x, y), leaving the current position
  /// where it is (so the text is never measured).
  void PrintAt(double x, double y, std::string_view text) { DrawText(x, y, text); }
  /// Draws the texts along one line, their tops at y, each at its own x, as PrintAt
  /// would one by one. A device may draw the row in one go (a grid's row of letters).
  virtual void PrintRow(double y, std::span<const PlacedText> texts) {
    for (const PlacedText& text : texts) DrawText(text.X, y, text.Text);
  }

  /// A line from (x1, y1) to (x2, y2) in the fore colour and pen width.
  virtual void Line(double x1, double y1, double x2, double y2) = 0;
  /// The outline of the rectangle with corners (x1, y1) and (x2, y2).
  virtual void Box(double x1, double y1, double x2, double y2) = 0;
  /// An arc of the circle around (x, y) from angle start to angle end, in radians,
  /// counter-clockwise as seen (0 points right, pi/2 points up), without radii.
  virtual void Arc(double x, double y, double radius, double start, double end) = 0;
  /// Clears the surface to its background.
  virtual void Cls() = 0;
  /// True for a surface that keeps nothing drawn on it, so drawing may be skipped.
  virtual bool DrawsNothing() const { return false; }

 protected:
  /// Draws text at (x, y), top-left corner, in the current font and fore colour.
  virtual void DrawText(double x, double y, std::string_view text) = 0;
  /// The size the device actually uses for a requested size in points.
  virtual double UsableFontSize(double points) const { return points; }
  /// The font name, size, bold or italic changed.
  virtual void FontChanged() {}

 private:
  std::string font_name_;
  double font_size_ = 12;
  bool font_bold_ = false;
  bool font_italic_ = false;
  Rgb fore_color_ = kBlack;
  int draw_width_ = 1;
};

/// A surface that measures nothing and draws nothing: the puzzle picture of a program
/// without a display.
class NullSurface : public Surface {
 public:
  double ScaleWidth() const override { return width_; }
  double ScaleHeight() const override { return height_; }
  void Scale(double width, double height) override {
    width_ = width;
    height_ = height;
  }
  double TextWidth(std::string_view) override { return 0; }
  double TextHeight(std::string_view) override { return 0; }
  void Line(double, double, double, double) override {}
  void Box(double, double, double, double) override {}
  void Arc(double, double, double, double, double) override {}
  void Cls() override {}
  bool DrawsNothing() const override { return true; }

 protected:
  void DrawText(double, double, std::string_view) override {}

 private:
  double width_ = 0;
  double height_ = 0;
};

}  // namespace kivrel

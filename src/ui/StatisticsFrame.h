#pragma once
// The main window's statistics: a frame whose figures change with every build. Qt would
// repaint the window behind the frame, the style's frame and each figure's label, and lay
// each figure's text out again, at every change; here the frame is drawn once and copied
// over what lies behind it, and it draws its figures itself, from texts laid out once.
// The same pixels.
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QStaticText>
#include <QStyle>
#include <QStyleOptionFrame>

namespace kivrel {

/// A figure of the statistics. While its frame draws it (one plain line that fits, see
/// LaidOut), the label is left out of the window's repaints, which would paint nothing of
/// it, and a new figure repaints the frame under it; otherwise it is a QLabel. Its text
/// is set with SetFigure.
class FigureLabel : public QLabel {
 public:
  explicit FigureLabel(QWidget* parent) : QLabel(parent) {}

  /// Shows `text` (QLabel::setText would leave the frame unpainted under a figure the
  /// frame draws).
  void SetFigure(const QString& text);
  /// Puts the figure in `box` (its frame's), at that size whatever its text.
  void SetBox(const QRect& box);
  /// Draws the figure on its frame's painter where `region` (the frame's) reaches it,
  /// unless the figure paints itself.
  void DrawOnFrame(QPainter& painter, const QRegion& region);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// The text laid out, when the frame draws it; null: the label paints itself.
  const QStaticText* LaidOut();
  /// Who paints the figure, after anything it depends on changed; the frame under it
  /// repainted when the frame draws it.
  void Settle();

  static constexpr qsizetype kMostKept = 256;
  QHash<QString, QStaticText> laid_out_;  // in the font
  double line_height_ = -1;               // of the font; -1: not yet known
};

/// The statistics frame: a group box drawn once into a picture, over whatever the window
/// shows behind it, and copied until anything it is drawn from changes; it draws its
/// FigureLabels. It covers its whole box, so nothing behind it is repainted.
class StatisticsFrame : public QGroupBox {
 public:
  StatisticsFrame(const QString& title, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Look {  // what the frame is drawn from
    QRect rect;
    QStyle::State state;
    QString title;
    Qt::Alignment alignment;
    QStyleOptionFrame::FrameFeatures features;
    QStyle::SubControls parts;
    qint64 palette = 0;
    QFont font;
    double ratio = 0;
    const QStyle* style = nullptr;
    // What lies behind: the widget whose background shows there, its palette, and
    // where the frame lies on it.
    const QWidget* backdrop = nullptr;
    qint64 backdrop_palette = 0;
    QPoint at;
    bool operator==(const Look&) const = default;
  };
  Look look_;
  QPixmap frame_;
};

}  // namespace kivrel

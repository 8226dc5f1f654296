#pragma once
// The main window's statistics: a frame whose figures change with every build. Qt would
// repaint the window behind the frame, the style's frame and each figure's label, and lay
// each figure's text out again, at every change; here the frame is drawn once and copied
// over what lies behind it, and it draws its figures itself, from texts laid out once
// and, over an opaque frame, from pictures of each figure drawn once. The same pixels.
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QStaticText>
#include <QStyle>
#include <QStyleOptionFrame>
#include <optional>
#include <vector>

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
  /// unless the figure paints itself. `frame` is the frame's picture, under the figure.
  void DrawOnFrame(QPainter& painter, const QRegion& region, const QPixmap& frame);
  /// Where DrawOnFrame copies a picture of the figure over the frame `frame` (the
  /// frame's coordinates): the frame need not be drawn there. Empty where it does not.
  QRect CopiedBox(const QPixmap& frame) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // A text the frame draws: laid out in the font, and drawn over the part of an opaque
  // frame picture under the box, once it has been (a build's counts come round again and
  // again, and are then copied, not drawn).
  struct Laid {
    QStaticText text;
    QPixmap over_frame;
    qint64 frame_key = 0;  // the picture's cacheKey
    int generation = -1;   // over_frame_generation_ when drawn
  };
  // A figure's text as a key: hashed cheaply (Qt's string hash costs more than the rest
  // of looking a figure up).
  struct Key {
    QString text;
    bool operator==(const Key&) const = default;
  };
  friend size_t qHash(const Key& key, size_t seed) noexcept {
    size_t hash = seed ^ 0xcbf29ce484222325u;
    for (QChar c : key.text) hash = (hash ^ c.unicode()) * 0x100000001b3u;
    return hash;
  }

  /// The text laid out, when the frame draws it; null: the label paints itself.
  const Laid* LaidOut();
  /// Who paints the figure, after anything it depends on changed; the frame under it
  /// repainted when the frame draws it.
  void Settle();
  /// The figure is to be drawn afresh over the frame (its box, font or colours changed).
  void ForgetDrawn() { ++over_frame_generation_; }

  // Texts kept, each with a picture of a couple of kilobytes: a few megabytes at most
  // for the whole frame.
  static constexpr qsizetype kMostKept = 128;
  QHash<Key, Laid> laid_out_;  // in the font
  double line_height_ = -1;    // of the font; -1: not yet known
  int over_frame_generation_ = 0;
  // What the last Settle found (LaidOut): the frame draws this; none: the label paints
  // itself. Every paint goes by it, not by a new look at the label.
  std::optional<Laid> drawn_;
};

/// The statistics frame: a group box drawn once into a picture, over whatever the window
/// shows behind it, and copied until anything it is drawn from changes; it draws its
/// FigureLabels. It covers its whole box, so nothing behind it is repainted.
class StatisticsFrame : public QGroupBox {
 public:
  StatisticsFrame(const QString& title, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void childEvent(QChildEvent* event) override;

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
  std::vector<QPointer<FigureLabel>> figures_;  // its FigureLabels, in the order of its children
  bool figures_known_ = false;                  // false: children came or went since
};

}  // namespace kivrel

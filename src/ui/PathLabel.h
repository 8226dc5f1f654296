#pragma once
// A label for a file's path: a path too long for the label loses its middle, so that the
// file name at its end shows; the whole path is the label's tool tip then.
#include <QLabel>

namespace kivrel {

class PathLabel : public QLabel {
 public:
  using QLabel::QLabel;

  /// The text as the label shows it.
  QString ShownText() const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace kivrel

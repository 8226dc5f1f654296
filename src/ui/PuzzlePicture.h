#pragma once
// The puzzle picture picPuzzle: shows the retained image the program draws the grid
// on. Nothing is redrawn from the puzzle when the window system asks for a repaint;
// the image already holds it (or, just after a clear, the letters drawn since, which
// are copied straight onto the window). The preview's page picture works the same way. Whenever
// it is shown or moved (scrolled) it paints the whole image again, so what was drawn on
// the image while it was hidden never mixes with what the screen still held. The image
// has the device pixel ratio of the screen the picture is on.
#include <QWidget>

namespace kivrel {

class QtImageSurface;

class PuzzlePicture : public QWidget {
 public:
  PuzzlePicture(QtImageSurface& surface, QWidget* parent);
  ~PuzzlePicture() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QtImageSurface& surface_;
};

}  // namespace kivrel

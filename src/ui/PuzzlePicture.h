#pragma once
// The puzzle picture picPuzzle: shows the retained image the program draws the grid
// on. Nothing is redrawn from the puzzle when the window system asks for a repaint;
// the image already holds it. The preview's page picture works the same way. The image
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

 private:
  QtImageSurface& surface_;
};

}  // namespace kivrel

#pragma once
// A pair of up and down arrows beside a number box: each press (and each repeat while
// held) is one step. FormBinder forwards them to the Form as SpinUp and SpinDown.
#include <QWidget>

class QToolButton;

namespace kivrel {

class SpinButton : public QWidget {
  Q_OBJECT

 public:
  explicit SpinButton(QWidget* parent = nullptr);

  QToolButton* upArrow() const { return up_; }
  QToolButton* downArrow() const { return down_; }

 signals:
  void spinUp();
  void spinDown();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
};

}  // namespace kivrel

#include "ui/ModalLoop.h"

#include <QDialog>
#include <QEventLoop>
#include <QWidget>

namespace kivrel {

void ModalLoop::Run() {
  if (auto* dialog = qobject_cast<QDialog*>(window_)) {
    dialog->exec();
    return;
  }
  window_->setWindowModality(Qt::ApplicationModal);
  window_->show();
  QEventLoop loop;
  loop_ = &loop;
  loop.exec();
  loop_ = nullptr;
  window_->setWindowModality(Qt::NonModal);
}

void ModalLoop::Quit() {
  if (loop_) loop_->quit();
}

}  // namespace kivrel

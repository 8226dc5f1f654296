#pragma once
// The printer set-up dialog of Printer...: the system's printers (on Linux, those of the
// CUPS server) and the paper sizes of the one picked. OK makes the choice the printer
// that Print prints to. It offers no margins: the page's margins are the print options
// dialog's own, measured from the edges of the printable area.
#include <QDialog>
#include <QPageSize>
#include <vector>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPrinter;

namespace kivrel {

class PrinterSetupDialog : public QDialog {
 public:
  /// Starts from `printer`'s printer and paper; the printer must outlive the dialog.
  explicit PrinterSetupDialog(QPrinter& printer, QWidget* parent = nullptr);

  /// Gives the printer the chosen printer and paper, then closes.
  void accept() override;

 private:
  void ListPapers();

  QPrinter& printer_;
  QComboBox* printers_;
  QComboBox* papers_;
  QLabel* none_;
  QDialogButtonBox* buttons_;
  std::vector<QPageSize> sizes_;  // by the paper box's index
};

}  // namespace kivrel

#include "qt/QtPrinterSetup.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace kivrel {

PrinterSetupDialog::PrinterSetupDialog(QPrinter& printer, QWidget* parent)
    : QDialog(parent),
      printer_(printer),
      printers_(new QComboBox(this)),
      papers_(new QComboBox(this)),
      none_(new QLabel(QStringLiteral("No printer is installed."), this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setWindowTitle(QStringLiteral("Printer Setup"));
  printers_->setObjectName(QStringLiteral("cboPrinter"));
  papers_->setObjectName(QStringLiteral("cboPaper"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Printer:"), printers_);
  form->addRow(QStringLiteral("P&aper:"), papers_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(none_);
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  QString current = printer_.printerName();
  if (current.isEmpty()) current = QPrinterInfo::defaultPrinterName();
  for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
    const QString name = info.printerName();
    const QString label = info.description().isEmpty() || info.description() == name
                              ? name
                              : QStringLiteral("%1 (%2)").arg(info.description(), name);
    printers_->addItem(label, name);
    if (name == current) printers_->setCurrentIndex(printers_->count() - 1);
  }
  const bool any = printers_->count() > 0;
  none_->setVisible(!any);
  printers_->setEnabled(any);
  papers_->setEnabled(any);
  buttons_->button(QDialogButtonBox::Ok)->setEnabled(any);
  connect(printers_, &QComboBox::currentIndexChanged, this, [this] { ListPapers(); });
  ListPapers();
}

void PrinterSetupDialog::ListPapers() {
  papers_->clear();
  sizes_.clear();
  if (printers_->currentIndex() < 0) return;
  const QPrinterInfo info = QPrinterInfo::printerInfo(printers_->currentData().toString());
  sizes_ = std::vector<QPageSize>(info.supportedPageSizes().begin(), info.supportedPageSizes().end());
  // A queue that names no paper (a raw queue) keeps the paper the printer has.
  const QPageSize current = printer_.pageLayout().pageSize();
  if (sizes_.empty()) sizes_.push_back(current);
  // The paper the printer has when this one has it, else this printer's own default.
  const QPageSize wanted = info.printerName() == printer_.printerName() ? current : info.defaultPageSize();
  int chosen = 0;
  for (std::size_t i = 0; i < sizes_.size(); ++i) {
    papers_->addItem(sizes_[i].name());
    if (sizes_[i].isEquivalentTo(wanted)) chosen = static_cast<int>(i);
  }
  papers_->setCurrentIndex(chosen);
}

void PrinterSetupDialog::accept() {
  if (printers_->currentIndex() >= 0) {
    printer_.setPrinterName(printers_->currentData().toString());
    const int paper = papers_->currentIndex();
    if (paper >= 0 && static_cast<std::size_t>(paper) < sizes_.size())
      printer_.setPageSize(sizes_[static_cast<std::size_t>(paper)]);
  }
  QDialog::accept();
}

}  // namespace kivrel

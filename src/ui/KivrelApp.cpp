#include "ui/KivrelApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QMainWindow>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <iostream>

#include "commands/ExportCommands.h"
#include "commands/ListEdits.h"
#include "commands/OpenGivenFile.h"
#include "display/GridDisplay.h"
#include "files/FileIO.h"
#include "forms/WindowPlacement.h"
#include "program/StartUp.h"
#include "ui/AccessKeys.h"
#include "ui/FormBinder.h"
#include "ui/MainWindowWidgets.h"
#include "ui/PrintWindowWidgets.h"
#include "ui/StrayFocus.h"
#include "ui/WordListWidgets.h"

namespace kivrel {

namespace {
// The device pixel ratio the pictures start at; each follows its own screen once shown.
double ScreenPixelRatio() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->devicePixelRatio() : 1.0;
}
}  // namespace

KivrelApp::KivrelApp(Dialogs* dialogs)
    : picture_(1, 1, 1440.0 / metrics_.TwipsPerPixelX(), ScreenPixelRatio()),
      preview_(kLetterPaper.Width, kLetterPaper.Height, 1440.0 / metrics_.TwipsPerPixelX(), ScreenPixelRatio()),
      ctx_(dialogs ? *dialogs : qt_dialogs_, pump_, beeper_, metrics_, picture_),
      main_(ctx_),
      word_list_(ctx_),
      attributes_(ctx_),
      print_preview_(ctx_),
      print_options_(ctx_) {
  ctx_.SizePuzzleDisplay = [this] { SizePuzzleWindow(ctx_); };
  // Fill letters are taken away by drawing them again in white: that must leave nothing.
  picture_.SetSmoothText(false);
  ctx_.printer = &printer_device_;
  ctx_.page_files = &page_file_device_;
  ctx_.preview = &preview_;
  // Until a printer is chosen, pages are laid out on the paper of the user's country.
  ctx_.print.Paper = PaperOfLocale(QLocale());
  preview_.MeasureAsPaper();
  // The preview's image is the size of its page, which is the paper's.
  ctx_.forms.Get(frmPrintPreview::kWindow).Subscribe([this](Control control, Property property) {
    if (property != Property::Bounds || control != frmPrintPreview::picPrintPreview) return;
    const Rect& page = ctx_.forms.Get(frmPrintPreview::kWindow).Bounds(control);
    preview_.Resize(page.Width, page.Height);
  });
  AttachEditHistory(ctx_, history_);

  Form& main = ctx_.MainForm();
  // The picture's image follows the size the display gives it. The sizing hides the
  // picture while it tries font sizes: the image takes the size it settles on when the
  // picture shows again.
  main.Subscribe([this](Control control, Property property) {
    if ((property == Property::Bounds || property == Property::Visible) && control == frmKV_Puzzle::picPuzzle) {
      Form& form = ctx_.MainForm();
      if (!form.IsVisible(frmKV_Puzzle::picPuzzle)) return;
      const Rect& bounds = form.Bounds(frmKV_Puzzle::picPuzzle);
      picture_.Resize(bounds.Width, bounds.Height);
    }
  });
  main.Subscribe([](Control control, Property property) {
    if (control.IsWindow() && property == Property::Unload) QApplication::quit();
  });
  // Export Page writes through the same page files as kivrel-cli print.
  main.On(frmKV_Puzzle::mnuExportPage, Event::Click, [this] { ExportPage(ctx_); });

  main_window_ = MakeMainWindowWidgets(design_, picture_, main_);
  auto* binder = new FormBinder(main_window_.get(), main, design_.TwipsPerPixel());
  binder->SetCancelButton(frmKV_Puzzle::cmdCancel);
  qt_dialogs_.SetParent(main_window_.get());
  KeepKeysOffHiddenWindows(main_window_.get());
  RefuseUnansweredAltKeys(main_window_.get(), ctx_.beeper);
#ifndef QT_NO_SESSIONMANAGER
  // The desktop session ending asks what the close box asks (first of all, to save a
  // changed list); a refusal there keeps the session going.
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, main_window_.get(), [this](QSessionManager& manager) {
    if (!main_window_->isVisible() || !manager.allowsInteraction()) return;
    if (!main_window_->close()) manager.cancel();
    manager.release();
  });
#endif
  main.Raise({}, Event::Load);

  RegisterWindow(frmAbout::kWindow, [](const Design& design, QWidget* parent) { return MakeAboutBox(design, parent); });
  RegisterWindow(
      frmWordList::kWindow,
      [this](const Design& design, QWidget* parent) { return MakeWordListWindow(design, parent, ctx_, word_list_); },
      frmWordList::cmdClose);
  RegisterWindow(
      frmAttributes::kWindow,
      [](const Design& design, QWidget* parent) { return MakeAttributesDialog(design, parent); },
      frmAttributes::cmdCancel);
  RegisterWindow(frmPrintOptions::kWindow, MakePrintOptionsDialog, frmPrintOptions::cmdCancel);
  RegisterWindow(
      frmPrintPreview::kWindow,
      [this](const Design& design, QWidget* parent) {
        return MakePrintPreviewWindow(design, parent, preview_, print_preview_);
      },
      frmPrintPreview::Close);
}

KivrelApp::~KivrelApp() = default;

void KivrelApp::Start(std::optional<std::uint64_t> seed) { StartUp(ctx_, seed); }

QWidget* KivrelApp::window(const Window& form) const {
  if (&form == &frmKV_Puzzle::kWindow) return main_window_.get();
  auto it = windows_.find(&form);
  return it == windows_.end() ? nullptr : it->second.data();
}

void KivrelApp::RegisterWindow(const Window& form_window, WindowMaker make, Control cancel_button) {
  Form& form = ctx_.forms.Get(form_window);
  form.Subscribe([this, &form, make = std::move(make), cancel = cancel_button](Control control, Property property) {
    if (!control.IsWindow() || (property != Property::Shown && property != Property::Load) ||
        window(form.Declaration())) {
      return;
    }
    QWidget* widget = make(design_, main_window_.get());
    windows_[&form.Declaration()] = widget;
    auto* binder = new FormBinder(widget, form, design_.TwipsPerPixel());
    if (!cancel.IsWindow()) binder->SetCancelButton(cancel);
    form.Raise({}, Event::Load);
    // This notice reached the form before the binder listened to it.
    if (property == Property::Shown) binder->Present();
  });
}

namespace {

// The arguments `kivrel` takes. Qt's own (-platform, -display, ...) are taken out by
// QApplication before these are read; until then they read as unknown options.
struct Arguments {
  QCommandLineParser parser;
  QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit.")};
  QCommandLineOption version{{QStringLiteral("v"), QStringLiteral("version")},
                             QStringLiteral("Show the version and exit.")};

  Arguments() {
    parser.setApplicationDescription(
        QStringLiteral("Kivrel Puzzle Maker: builds word search puzzles from word lists, shows them with\n"
                       "their answer key, saves them and prints them.\n"
                       "\n"
                       "FILE is opened as File > Open List or File > Open Puzzle would open it: a word\n"
                       "list (.kvl, .txt) or a puzzle (.kvp). Without FILE the program starts with an\n"
                       "empty list."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(help);
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A word list or puzzle file to open."),
                                 QStringLiteral("[FILE]"));
  }
};

QStringList ArgumentList(int argc, char** argv) {
  QStringList list;
  for (int i = 0; i < argc; ++i) list << QString::fromLocal8Bit(argv[i]);
  return list;
}

}  // namespace

int RunKivrel(int argc, char** argv) {
  {
    // --help and --version answer before the window system is reached, so they work
    // without a display.
    Arguments arguments;
    arguments.parser.parse(ArgumentList(argc, argv));
    if (arguments.parser.isSet(arguments.help) || arguments.parser.isSet(arguments.version)) {
      QCoreApplication core(argc, argv);  // the help's usage line names the program from it
      std::cout << (arguments.parser.isSet(arguments.help) ? arguments.parser.helpText().toStdString()
                                                           : std::string("kivrel " KIVREL_VERSION "\n"));
      return std::cout.flush() ? 0 : 1;
    }
  }
  GuardSavesAgainstSignals();  // a file-size limit fails the save; a signal leaves no temporary
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Kivrel"));
  QApplication::setApplicationVersion(QStringLiteral(KIVREL_VERSION));
  // Lets a Wayland desktop match the windows to the menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.kivrel.kivrel"));
  // The installed icon (from the icon theme) on every window, for window managers that
  // show a window's own icon.
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kivrel")));
  Arguments arguments;
  if (!arguments.parser.parse(QApplication::arguments()) || arguments.parser.positionalArguments().size() > 1) {
    const QString error =
        arguments.parser.errorText().isEmpty() ? QStringLiteral("give one file at most") : arguments.parser.errorText();
    std::cerr << "kivrel: " << error.toStdString() << " (try --help)\n";
    return 2;
  }
  KivrelApp kivrel;
  kivrel.Start();
  if (!arguments.parser.positionalArguments().isEmpty()) {
    const std::string path = QFileInfo(arguments.parser.positionalArguments().first()).absoluteFilePath().toStdString();
    // Once the main window is up, so that the messages and the word list window open over it.
    QTimer::singleShot(0, &app, [&kivrel, path] { OpenGivenFile(kivrel.context(), path); });
  }
  return QApplication::exec();
}

}  // namespace kivrel

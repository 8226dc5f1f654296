// Prints, for each file name given, the MIME type the shared MIME database names for
// it from the name alone: the lookup a file manager makes before it picks a program.
// The database is found through XDG_DATA_DIRS, as every desktop program finds it.
#include <QMimeDatabase>
#include <QString>
#include <cstdio>

int main(int argc, char** argv) {
  QMimeDatabase database;
  for (int i = 1; i < argc; ++i) {
    const QString type =
        database.mimeTypeForFile(QString::fromLocal8Bit(argv[i]), QMimeDatabase::MatchExtension).name();
    std::printf("%s %s\n", argv[i], qPrintable(type));
  }
  return 0;
}

#include "toolkit/pictures/Windowing.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPalette>
#include <QStyleFactory>
#include <QTranslator>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "toolkit/core/FpCheck.h"
#include "toolkit/pictures/QtGraphics.h"

namespace tk {

namespace {

// Qt's own texts (the file dialogs, the scroll bars' menus, the standard
// buttons) in the user's language, where Qt's translations are installed;
// without them, and in an English or C locale, they stay English.  The
// programs' texts are their own and do not change.
void TranslateQtTexts(QApplication* app) {
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto* translator = new QTranslator(app);
  if (translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
      translator->load(QLocale::system(), QStringLiteral("qt"), QStringLiteral("_"), folder))
    QApplication::installTranslator(translator);
  else delete translator;
}

}  // namespace

void EnsureWindowing() {
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) return;
  // A desktop program without a display would run where nobody sees it:
  // it says so and ends.  Tests and benchmarks choose the off-screen
  // platform themselves (QT_QPA_PLATFORM=offscreen).
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
      std::getenv("WAYLAND_DISPLAY") == nullptr) {
    std::fprintf(stderr,
                 "%s: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); run it with scripts/run.sh %s, "
                 "which starts a virtual X server\n",
                 program_invocation_short_name, program_invocation_short_name);
    std::exit(1);
  }
  static int argc = 1;
  static char name[] = "toolkit";
  static char* argv[] = {name, nullptr};
  FpShield shield;
  auto* app = new QApplication(argc, argv);
  app->setQuitOnLastWindowClosed(false);  // the main window's close ends the program, not the last one
  TranslateQtTexts(app);
  if (QStyle* style = QStyleFactory::create("Fusion")) QApplication::setStyle(style);
  QPalette pal = QApplication::palette();
  pal.setColor(QPalette::Window, ToQColor(clBtnFace));
  pal.setColor(QPalette::Button, ToQColor(clBtnFace));
  pal.setColor(QPalette::Base, ToQColor(clWindow));
  pal.setColor(QPalette::WindowText, ToQColor(clWindowText));
  pal.setColor(QPalette::ButtonText, ToQColor(clBtnText));
  pal.setColor(QPalette::Highlight, ToQColor(clHighlight));
  pal.setColor(QPalette::HighlightedText, ToQColor(clHighlightText));
  pal.setColor(QPalette::ToolTipBase, ToQColor(clInfoBk));
  QApplication::setPalette(pal);
  QApplication::setFont(ToQFont(TFont()));
}

}  // namespace tk

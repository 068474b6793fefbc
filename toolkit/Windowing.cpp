#include "toolkit/Windowing.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "toolkit/QtGraphics.h"
#include "toolkit/core/FpCheck.h"

namespace tk {

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

// talq-gui: the desktop program's entry point.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/scripted_host.h"
#include "ui/main_window.h"
#include "ui/qt_host.h"
#include "util/program_texts.h"

namespace {

// Without a display Qt would abort with a long message; one line says what to do instead.
bool HaveDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0 &&
      std::strncmp(platform, "wayland", 7) != 0)
    return true;
  const char* x = std::getenv("DISPLAY");
  const char* wl = std::getenv("WAYLAND_DISPLAY");
  return (x && *x) || (wl && *wl);
}

}  // namespace

int main(int argc, char** argv) {
  if (!HaveDisplay()) {
    std::fputs("talq-gui needs a graphical display; use talq on the command line\n", stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName("talq");
  QApplication::setApplicationName("talq-gui");
  QApplication::setApplicationVersion(TALQ_VERSION);
  QApplication::setDesktopFileName("talq");
  QApplication::setWindowIcon(QIcon::fromTheme("talq"));

  const std::string texts = talq::DataDir() + "/" + std::string(talq::kProgramTextFile);
  if (const int r = talq::LoadProgramTexts(texts); r <= 0) {
    QMessageBox::critical(nullptr, QString(), QString::fromStdString(talq::ProgramTextLoadMessage(r, texts)));
    return 1;
  }
  // --smoke-test: start up with every question given its default answer, then quit through
  // the Quit button once the event loop runs (the start-up check of packaging and CI).
  const bool smoke = QApplication::arguments().contains("--smoke-test");
  talq::ScriptedHost defaults;
  talq::ui::MainWindow window;
  if (smoke) {
    window.host().SetSeam(&defaults);
    window.showHelpAtStartUp = false;
  }
  window.show();
  window.StartUp();
  if (smoke) {
    QTimer::singleShot(200, &window, [&window] {
      if (auto* quit = window.findChild<QPushButton*>("cmdQuit")) quit->click();
    });
  }
  return QApplication::exec();
}

// Settings window (placeholder until its controls exist).
#include "ui/settings_window.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/qt_host.h"
#include "ui/widgets.h"
#include "util/program_texts.h"

namespace talq::ui {

SettingsWindow::SettingsWindow(Session& session, QWidget* mainWindow)
    : QDialog(mainWindow), session_(session) {
  setObjectName("frmParams");
  setWindowTitle(Q(ProgramText(91)));
  auto* note = MakeLabel(this, "lblPlaceholder",
                         "The settings cannot be edited in this window yet.\n"
                         "Use 'talq count --set NAME=VALUE' on the command line meanwhile.");
  auto* close = MakeButton(this, "cmdClose", "Hide settings", 'h');
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addWidget(close, 0, Qt::AlignRight);
}

void SettingsWindow::ShowCentred() {
  show();
  raise();
  activateWindow();
  if (auto* close = findChild<QPushButton*>("cmdClose")) close->setFocus();
}

void SettingsWindow::SetGroupsEnabled(bool) {}

void SettingsWindow::Pull() { (void)session_; }

}  // namespace talq::ui

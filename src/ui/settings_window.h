// The settings window (frmParams). For now an empty window; the settings controls come with
// their own change.
#pragma once

#include <QDialog>

namespace talq {
struct Session;
}

namespace talq::ui {

class SettingsWindow : public QDialog {
  Q_OBJECT
 public:
  SettingsWindow(Session& session, QWidget* mainWindow);

  // Shows the window centred on the screen, focus on "Hide settings".
  void ShowCentred();
  // The main window's buttons were switched off (a count) or on again.
  void SetGroupsEnabled(bool enabled);
  // Shows the settings record's values again (after a restore or Reinitialize).
  void Pull();

 private:
  Session& session_;
};

}  // namespace talq::ui

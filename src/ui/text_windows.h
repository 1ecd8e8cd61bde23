// Two read-only windows: the clipboard viewer (this platform has no standard one) and the
// user manual (Markdown shipped with the program, shown with its screenshots).
#pragma once

#include <QDialog>

class QPlainTextEdit;
class QTextBrowser;

namespace talq::ui {

// Shows the clipboard's text and follows its changes while open.
class ClipboardViewer : public QDialog {
  Q_OBJECT
 public:
  explicit ClipboardViewer(QWidget* parent = nullptr);
  // Shows the window with the current clipboard text.
  void Open();

 private:
  void Refresh();
  QPlainTextEdit* txbClipboard_;
};

// Shows docs/manual.md; links to other sites open in the browser.
class ManualWindow : public QDialog {
  Q_OBJECT
 public:
  explicit ManualWindow(QWidget* parent = nullptr);
  // Loads the manual (once) and shows it. False when no manual was found (after a message).
  bool Open();

 private:
  QTextBrowser* browser_;
  bool loaded_ = false;
};

// The manual's path: $TALQ_DOCS_DIR, the source tree's docs/ or the installed doc folder;
// "" when none holds manual.md.
QString ManualPath();

}  // namespace talq::ui

// The notice pop-up (frmPopUp): a borderless window with one text that goes away after its
// interval or when the user releases the mouse button on it.
#pragma once

#include <QDialog>

class QLabel;
class QTimer;

namespace talq::ui {

class PopUp : public QDialog {
  Q_OBJECT
 public:
  explicit PopUp(QWidget* parent = nullptr);

  // Shows `text` in a window of width x height twips at `topLeft` (screen pixels) for
  // `intervalMs`, in front of and blocking input to the other windows. Returns at once;
  // the pop-up closes itself.
  void PopUpAt(const QString& text, int widthTwips, int heightTwips, int intervalMs,
               QPoint topLeft);
  // The same, centred on the screen.
  void PopUpCenterScreen(const QString& text, int widthTwips, int heightTwips, int intervalMs);
  // The same, placed at `form`'s top-left corner plus offsets in twips.
  void PopUpInForm(QWidget* form, const QString& text, int widthTwips, int heightTwips,
                   int intervalMs, int topTwips, int leftTwips);

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QLabel* lblText_;
  QTimer* timer_;
};

}  // namespace talq::ui

// Notice pop-up.
#include "ui/popup.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/widgets.h"

namespace talq::ui {

PopUp::PopUp(QWidget* parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::Tool), lblText_(MakeLabel(this, "lblText")),
      timer_(new QTimer(this)) {
  setObjectName("frmPopUp");
  setAccessibleName("Notice");
  setModal(true);
  lblText_->setAlignment(Qt::AlignCenter);
  lblText_->setFrameShape(QFrame::Box);
  lblText_->setAutoFillBackground(true);
  lblText_->setAttribute(Qt::WA_TransparentForMouseEvents);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(lblText_);
  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, &QDialog::accept);
}

void PopUp::PopUpAt(const QString& text, int widthTwips, int heightTwips, int intervalMs,
                    QPoint topLeft) {
  lblText_->setText(text);
  setAccessibleName(text);
  // The twips sizes are a floor: the text must fit at any scaling and font size.
  const QSize hint = lblText_->sizeHint() + QSize(Twips(this, 200), Twips(this, 100));
  resize(std::max(Twips(this, widthTwips), hint.width()),
         std::max(Twips(this, heightTwips), hint.height()));
  move(topLeft);
  timer_->start(intervalMs);
  open();
}

void PopUp::PopUpCenterScreen(const QString& text, int widthTwips, int heightTwips,
                              int intervalMs) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  const QPoint centre = area.center() -
                        QPoint(Twips(this, widthTwips) / 2, Twips(this, heightTwips) / 2);
  PopUpAt(text, widthTwips, heightTwips, intervalMs, centre);
}

void PopUp::PopUpInForm(QWidget* form, const QString& text, int widthTwips, int heightTwips,
                        int intervalMs, int topTwips, int leftTwips) {
  const QPoint origin = form ? form->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
  PopUpAt(text, widthTwips, heightTwips, intervalMs,
          origin + QPoint(Twips(this, leftTwips), Twips(this, topTwips)));
}

void PopUp::mouseReleaseEvent(QMouseEvent* event) {
  QDialog::mouseReleaseEvent(event);
  timer_->stop();
  accept();
}

}  // namespace talq::ui

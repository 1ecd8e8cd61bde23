// Named-control factories.
#include "ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ui/mnemonics.h"

namespace talq::ui {

namespace {
template <typename W>
W* Named(W* w, const QString& name) {
  w->setObjectName(name);
  w->setAccessibleDescription(name);
  return w;
}
}  // namespace

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        QChar mnemonic, const QString& tooltip) {
  auto* b = Named(new QPushButton(parent), name);
  b->setText(caption);
  if (!mnemonic.isNull()) SetMnemonic(b, mnemonic);
  if (!tooltip.isEmpty()) b->setToolTip(tooltip);
  b->setAutoDefault(false);
  return b;
}

QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption, QChar mnemonic,
                     const QString& tooltip) {
  auto* c = Named(new QCheckBox(parent), name);
  c->setText(caption);
  if (!mnemonic.isNull()) SetMnemonic(c, mnemonic);
  if (!tooltip.isEmpty()) c->setToolTip(tooltip);
  return c;
}

QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption,
                         QChar mnemonic) {
  auto* r = Named(new QRadioButton(parent), name);
  r->setText(caption);
  if (!mnemonic.isNull()) SetMnemonic(r, mnemonic);
  return r;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* l = Named(new QLabel(text, parent), name);
  l->setTextFormat(Qt::PlainText);
  return l;
}

QLineEdit* MakeLineEdit(QWidget* parent, const QString& name, const QString& accessibleName) {
  auto* e = Named(new QLineEdit(parent), name);
  e->setAccessibleName(accessibleName);
  e->setClearButtonEnabled(false);
  return e;
}

QComboBox* MakeCombo(QWidget* parent, const QString& name, const QString& accessibleName) {
  auto* c = Named(new QComboBox(parent), name);
  c->setAccessibleName(accessibleName);
  c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return c;
}

void SetBuddy(QLabel* label, QWidget* buddy, const QString& captionWithMark) {
  label->setTextFormat(Qt::PlainText);
  label->setText(captionWithMark);
  label->setBuddy(buddy);
  if (buddy->accessibleName().isEmpty())
    buddy->setAccessibleName(CaptionWithoutMnemonic(captionWithMark));
}

int Twips(const QWidget* w, int twips) {
  const int dpi = w ? w->logicalDpiY() : 96;
  return (twips * dpi + 720) / 1440;
}

}  // namespace talq::ui

// Mnemonic marks on engine-visible captions.
#include "ui/mnemonics.h"

#include <QAbstractButton>
#include <QVariant>

namespace talq::ui {

QString CaptionWithoutMnemonic(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

void SetCaptionWithMnemonic(QAbstractButton* button, const QString& caption) {
  QString text = caption;
  text.replace("&", "&&");
  const QChar letter = button->property("mnemonic").toChar();
  if (!letter.isNull()) {
    const qsizetype at = text.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at >= 0) text.insert(at, '&');
  }
  button->setText(text);
}

void SetMnemonic(QAbstractButton* button, QChar letter) {
  const QString caption = CaptionWithoutMnemonic(button->text());
  button->setProperty("mnemonic", letter);
  SetCaptionWithMnemonic(button, caption);
}

}  // namespace talq::ui

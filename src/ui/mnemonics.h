// Keyboard mnemonics on captions that the engine reads and sets by their plain text.
#pragma once

#include <QString>

class QAbstractButton;

namespace talq::ui {

// Sets the button's text to `caption` with an "&" before its mnemonic letter (the button's
// "mnemonic" property, matched without regard to case) when the caption holds that letter.
void SetCaptionWithMnemonic(QAbstractButton* button, const QString& caption);

// A caption without its mnemonic marks ("&&" stays one "&").
QString CaptionWithoutMnemonic(const QString& text);

// Gives the button a mnemonic letter and applies it to its current caption.
void SetMnemonic(QAbstractButton* button, QChar letter);

}  // namespace talq::ui

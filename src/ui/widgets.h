// Factories for named controls: every control gets its control name as objectName and as
// accessible description, and its caption (or its label's) as accessible name, so screen
// readers and desktop automation find it.
#pragma once

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace talq::ui {

// A push button; `mnemonic` (or a null QChar) marks the Alt key letter of its caption.
QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption,
                        QChar mnemonic = QChar(), const QString& tooltip = QString());
QCheckBox* MakeCheck(QWidget* parent, const QString& name, const QString& caption,
                     QChar mnemonic = QChar(), const QString& tooltip = QString());
QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption,
                         QChar mnemonic = QChar());
// A label; `text` is shown as it is (no mnemonic).
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = QString());
// A line edit whose accessible name is `accessibleName` (its label's caption).
QLineEdit* MakeLineEdit(QWidget* parent, const QString& name, const QString& accessibleName);
QComboBox* MakeCombo(QWidget* parent, const QString& name, const QString& accessibleName);
// Gives `label` a mnemonic that moves the focus to `buddy`.
void SetBuddy(QLabel* label, QWidget* buddy, const QString& captionWithMark);

// Screen lengths given in twips (1/1440 inch), in this widget's logical pixels.
int Twips(const QWidget* w, int twips);

}  // namespace talq::ui

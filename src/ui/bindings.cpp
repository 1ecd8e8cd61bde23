// Widget-to-settings bindings.
#include "ui/bindings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/qt_host.h"

namespace talq::ui {

void Bindings::Check(QCheckBox* box, int& field, Reaction changed) {
  QObject::connect(box, &QCheckBox::toggled, box, [this, &field, changed](bool on) {
    if (pulling_) return;
    field = on ? 1 : 0;
    if (changed) changed();
  });
  entries_.push_back({box, [box, &field] { box->setChecked(field != 0); }});
}

void Bindings::Text(QLineEdit* edit, std::string& field, Reaction changed) {
  QObject::connect(edit, &QLineEdit::textEdited, edit, [this, &field, changed](const QString& t) {
    if (pulling_) return;
    field = S(t);
    if (changed) changed();
  });
  entries_.push_back({edit, [edit, &field] {
                        if (S(edit->text()) != field) edit->setText(Q(field));
                      }});
}

void Bindings::Choice(QComboBox* combo, int& field, Reaction changed) {
  QObject::connect(combo, &QComboBox::activated, combo, [this, &field, changed](int index) {
    if (pulling_) return;
    field = index;
    if (changed) changed();
  });
  entries_.push_back({combo, [combo, &field] {
                        combo->setCurrentIndex(field < combo->count() ? field : -1);
                      }});
}

void Bindings::Custom(QWidget* widget, std::function<void()> pull) {
  entries_.push_back({widget, std::move(pull)});
}

void Bindings::Pull() {
  pulling_ = true;
  for (Entry& e : entries_) {
    if (!e.widget) continue;
    const QSignalBlocker block(e.widget);
    e.pull();
  }
  pulling_ = false;
}

}  // namespace talq::ui

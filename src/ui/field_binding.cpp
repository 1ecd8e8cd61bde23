// Controls bound to settings fields by name.
#include "ui/field_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "settings/setting_fields.h"
#include "ui/qt_host.h"

namespace talq::ui {

int FieldBinding::Bind(QWidget* root, Settings& settings, Changed changed) {
  settings_ = &settings;
  int bound = 0;
  for (const FieldInfo& f : SettingFields()) {
    QWidget* w = root->findChild<QWidget*>(Q(f.name));
    if (!w) continue;
    const FieldInfo* field = &f;
    if (auto* box = qobject_cast<QCheckBox*>(w); box && f.type == FieldType::Check) {
      connections_.push_back(QObject::connect(box, &QCheckBox::clicked, box, [this, field, changed](bool on) {
        if (pulling_) return;
        field->intRef(*settings_) = on ? 1 : 0;
        if (changed) changed(*field, -1);
      }));
    } else if (auto* combo = qobject_cast<QComboBox*>(w);
               combo && (f.type == FieldType::Choice || f.type == FieldType::History)) {
      if (f.type == FieldType::Choice) {
        const QSignalBlocker block(combo);
        combo->clear();
        for (const std::string& c : f.choices()) combo->addItem(Q(c));
      }
      connections_.push_back(QObject::connect(combo, &QComboBox::activated, combo, [this, field, changed](int index) {
        if (pulling_) return;
        if (field->type == FieldType::Choice) field->intRef(*settings_) = index;
        if (changed) changed(*field, index);
      }));
    } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && f.type == FieldType::Text) {
      connections_.push_back(QObject::connect(edit, &QLineEdit::textEdited, edit, [this, field](const QString& t) {
        if (!pulling_) field->textRef(*settings_) = S(t);
      }));
      connections_.push_back(QObject::connect(edit, &QLineEdit::editingFinished, edit, [this, field, changed] {
        if (!pulling_ && changed) changed(*field, -1);
      }));
    } else {
      continue;
    }
    entries_.push_back({w, field});
    ++bound;
  }
  Pull();
  return bound;
}

FieldBinding::~FieldBinding() {
  for (const QMetaObject::Connection& c : connections_) QObject::disconnect(c);
}

void FieldBinding::PullOne(const Entry& e) {
  Settings& s = *settings_;
  const FieldInfo& f = *e.field;
  const QSignalBlocker block(e.widget.data());
  switch (f.type) {
    case FieldType::Check:
      static_cast<QCheckBox*>(e.widget.data())->setChecked(f.intRef(s) != 0);
      break;
    case FieldType::Choice: {
      auto* combo = static_cast<QComboBox*>(e.widget.data());
      const int index = f.intRef(s);
      combo->setCurrentIndex(index < combo->count() ? index : -1);
      break;
    }
    case FieldType::History: {
      auto* combo = static_cast<QComboBox*>(e.widget.data());
      const FileHistory& h = f.historyRef(s);
      QStringList paths;
      for (const std::string& p : h.items) paths << Q(p);
      QStringList shown;
      for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
      if (shown != paths) {
        combo->clear();
        combo->addItems(paths);
      }
      combo->setCurrentIndex(h.index < combo->count() ? h.index : -1);
      break;
    }
    case FieldType::Text: {
      auto* edit = static_cast<QLineEdit*>(e.widget.data());
      const QString text = Q(f.textRef(s));
      if (edit->text() != text) edit->setText(text);
      break;
    }
    case FieldType::Option:
      break;
  }
}

void FieldBinding::Pull() {
  if (!settings_) return;
  pulling_ = true;
  for (const Entry& e : entries_)
    if (e.widget) PullOne(e);
  pulling_ = false;
}

}  // namespace talq::ui

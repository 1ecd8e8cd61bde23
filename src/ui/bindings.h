// Two-way binding of widgets to fields of the settings record: a user's change writes the
// field at once (the engine reads the record when it needs a value); Pull() shows the
// record's values again after code changed it, without firing the change handlers.
#pragma once

#include <QPointer>
#include <functional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace talq::ui {

class Bindings {
 public:
  using Reaction = std::function<void()>;

  // A check box bound to a 0/1 field; `changed` runs after a user's change.
  void Check(QCheckBox* box, int& field, Reaction changed = {});
  // A line edit bound to a text field (every edit is written).
  void Text(QLineEdit* edit, std::string& field, Reaction changed = {});
  // A combo box bound to an index field (-1: nothing selected).
  void Choice(QComboBox* combo, int& field, Reaction changed = {});
  // Any other pairing: `pull` shows the field, called with the widget's signals blocked.
  void Custom(QWidget* widget, std::function<void()> pull);

  // Shows every bound field's value.
  void Pull();
  // True while Pull() runs.
  bool Pulling() const { return pulling_; }

 private:
  struct Entry {
    QPointer<QWidget> widget;
    std::function<void()> pull;
  };
  std::vector<Entry> entries_;
  bool pulling_ = false;
};

}  // namespace talq::ui

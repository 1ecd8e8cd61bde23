// Binds a window's controls to the settings record through the field table: a control
// whose objectName is a field's name shows that field and writes the user's changes into
// it, whatever the field. The window adds only what a change sets off.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <functional>
#include <vector>

class QWidget;

namespace talq {
struct FieldInfo;
struct Settings;
}  // namespace talq

namespace talq::ui {

class FieldBinding {
 public:
  FieldBinding() = default;
  FieldBinding(const FieldBinding&) = delete;
  FieldBinding& operator=(const FieldBinding&) = delete;
  // Disconnects: a window's controls outlive it briefly and still signal (focus leaves a
  // box while the window is torn down).
  ~FieldBinding();

  // After a user's change. Check, choice and text fields are written first; `entry` is the
  // chosen index of a choice or history field (-1 otherwise). A history field is not
  // written: choosing an entry is a command for the window.
  using Changed = std::function<void(const FieldInfo& field, int entry)>;

  // Binds every descendant of root named after a field: QCheckBox to a check field,
  // QComboBox to a choice field (filled with its choices) or a history (its paths),
  // QLineEdit to a text field. Check boxes report clicks; combo boxes report choices made
  // by the user; line edits write every edit and report when the user leaves the box or
  // presses Enter. Returns the number of controls bound.
  int Bind(QWidget* root, Settings& settings, Changed changed);

  // Shows the record's values in every bound control without reporting changes (a
  // history's paths are re-read too).
  void Pull();

  // True while Pull() runs.
  bool Pulling() const { return pulling_; }

 private:
  struct Entry {
    QPointer<QWidget> widget;
    const FieldInfo* field;
  };
  void PullOne(const Entry& e);

  Settings* settings_ = nullptr;
  std::vector<Entry> entries_;
  std::vector<QMetaObject::Connection> connections_;
  bool pulling_ = false;
};

}  // namespace talq::ui

// Host: the only way the engine reaches the user. The GUI implements it with Qt windows,
// the command line with standard streams, tests with ScriptedHost.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace talq {

enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class Host {
 public:
  virtual ~Host() = default;

  // A modal message box. Returns the button pressed; Ok for a plain notice.
  virtual MsgAnswer MsgBox(const std::string& text, const std::string& title, MsgIcon icon,
                           MsgButtons buttons = MsgButtons::Ok,
                           MsgAnswer defaultButton = MsgAnswer::Ok) = 0;
  // A modal input box. nullopt when cancelled.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;
  // A modal choice among labelled buttons (the count chooser). Returns the index chosen,
  // or -1 for Cancel.
  virtual int Choose(const std::string& prompt, const std::string& title,
                     const std::vector<std::string>& options, int defaultIndex) = 0;
  // Shows a dialog that edits fields of the settings record (frmCountArray) modally.
  // Returns false when it was cancelled or closed. Without a screen: true, nothing shown.
  virtual bool ShowDialog(const std::string& /*name*/) { return true; }
  // File and folder choosers; nullopt when cancelled. filter like "Text files (*.txt)".
  virtual std::optional<std::string> ChooseOpenFile(const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& initial) = 0;
  virtual std::optional<std::string> ChooseSaveFile(const std::string& title,
                                                    const std::string& filter,
                                                    const std::string& initial) = 0;
  virtual std::optional<std::string> ChooseFolder(const std::string& title,
                                                  const std::string& initial) = 0;

  // The report text box (txbOutput). Lengths count characters (code points).
  virtual void TxbAppend(const std::string& text) = 0;
  virtual void TxbClear() = 0;
  virtual void TxbSet(const std::string& text) = 0;
  virtual std::string TxbText() const = 0;
  virtual std::size_t TxbLength() const = 0;
  virtual void TxbCaretToStart() = 0;
  virtual void TxbCaretToEnd() = 0;
  // Whether the text box holds at most 65000 characters (the GUI's does; the CLI's not).
  virtual bool TxbHasCapacityLimit() const = 0;

  // Result and progress labels, by control name (lblNumberOfWords, lblTimeElapsed, ...).
  virtual void SetLabel(const std::string& name, const std::string& text) = 0;
  virtual void SetLabelVisible(const std::string& name, bool visible) = 0;
  // A button's caption, by control name (cmdCountWords, cmdCountArray, ...).
  virtual void SetCaption(const std::string& name, const std::string& text) = 0;
  virtual std::string Caption(const std::string& name) const = 0;

  // A question worth asking only a user at a screen (a run may take long). The command line
  // answers defaultButton by itself, without showing it; a desktop program asks.
  virtual MsgAnswer AskInteractive(const std::string& text, const std::string& title,
                                   MsgAnswer defaultButton) {
    (void)text;
    (void)title;
    return defaultButton;
  }

  // Let pending window events run. Stop requests arrive here.
  virtual void Pump() = 0;

  virtual std::optional<std::string> GetClipboardText() = 0;  // nullopt: no text on it
  virtual void SetClipboardText(const std::string& text) = 0;
  virtual void OpenUrl(const std::string& url) = 0;
};

}  // namespace talq

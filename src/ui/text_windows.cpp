// Clipboard viewer and manual window.
#include "ui/text_windows.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/widgets.h"

namespace talq::ui {

QString ManualPath() {
  QStringList dirs;
  if (const QByteArray env = qgetenv("TALQ_DOCS_DIR"); !env.isEmpty()) dirs << QString::fromLocal8Bit(env);
  dirs << TALQ_SOURCE_DOCS_DIR << TALQ_INSTALL_DOCS_DIR;
  for (const QString& dir : dirs) {
    const QString path = dir + "/manual.md";
    if (QFileInfo::exists(path)) return path;
  }
  return QString();
}

ClipboardViewer::ClipboardViewer(QWidget* parent)
    : QDialog(parent), txbClipboard_(new QPlainTextEdit(this)) {
  setObjectName("frmClipboardViewer");
  setWindowTitle("Clipboard");
  txbClipboard_->setObjectName("txbClipboard");
  txbClipboard_->setAccessibleName("Clipboard text");
  txbClipboard_->setAccessibleDescription("txbClipboard");
  txbClipboard_->setReadOnly(true);
  txbClipboard_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setObjectName("cmdClose");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txbClipboard_);
  layout->addWidget(buttons);
  resize(Twips(this, 8000), Twips(this, 5000));
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, [this] {
    if (isVisible()) Refresh();
  });
}

void ClipboardViewer::Open() {
  Refresh();
  show();
  raise();
  activateWindow();
}

void ClipboardViewer::Refresh() {
  const QString text = QGuiApplication::clipboard()->text();
  txbClipboard_->setPlainText(text.isEmpty() ? QString("(The clipboard holds no text.)") : text);
}

ManualWindow::ManualWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setObjectName("frmManual");
  setWindowTitle("TALQ user manual");
  browser_->setObjectName("txbManual");
  browser_->setAccessibleName("User manual");
  browser_->setAccessibleDescription("txbManual");
  browser_->setOpenExternalLinks(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setObjectName("cmdClose");
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(browser_);
  layout->addWidget(buttons);
  resize(Twips(this, 11000), Twips(this, 9000));
}

bool ManualWindow::Open() {
  if (!loaded_) {
    const QString path = ManualPath();
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
      QMessageBox::warning(parentWidget(), "User manual",
                           "The user manual (manual.md) was not found.");
      return false;
    }
    // Relative image paths resolve against the manual's folder.
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->document()->setBaseUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath() + "/"));
    browser_->setMarkdown(QString::fromUtf8(file.readAll()));
    loaded_ = true;
  }
  show();
  raise();
  activateWindow();
  return true;
}

}  // namespace talq::ui

#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zt::gui {

struct AppContext;

// The progress window of a read or write: caption, the label "Progress:"
// right-aligned beside the percent label, the bar and a Cancel button that
// stops the transfer. The window cannot be closed otherwise; the transfer
// closes it. It is application modal but does not block: the transfer goes on
// from the event loop.
class TransferProgressDialog : public QDialog {
    Q_OBJECT
  public:
    // `readKind` true for a read (text 9027), false for a write (9028).
    TransferProgressDialog(AppContext& app, bool readKind, QWidget* parent = nullptr);

    void applyLanguageTexts();
    // Bar value and "<percent>%".
    void setValue(int percent);
    int value() const;
    QString percentText() const;

  signals:
    // The user asked to stop the transfer.
    void cancelClicked();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    friend class TransferController;
    AppContext& app_;
    bool read_;
    bool closing_ = false;
    QLabel* progressLabel_;
    QLabel* percentLabel_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

}  // namespace zt::gui

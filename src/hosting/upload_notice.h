#pragma once

#include <QLabel>

class QProgressBar;
class QPushButton;

// The small picture of a window saying "Transfering file(s)..." shown over the main window
// while an upload runs, with a Cancel; FTP transfers add how far they have come. While it
// shows, the other windows take no input.
class UploadNotice : public QLabel {
    Q_OBJECT

  public:
    explicit UploadNotice(QWidget* owner);

    // Shows the notice centred over its owner and paints it at once: the upload blocks the
    // event loop until it is done.
    void showOver();
    // The notice with a text in place of its picture, for a wait on a server.
    void showWaiting(const QString& text);
    void showProgress(int percent);
    // Whether Cancel was pressed since the notice was shown.
    bool cancelled() const { return cancelled_; }

  private:
    // Shown over the owner with Cancel, the progress hidden.
    void place();

    QProgressBar* progress_;
    QPushButton* cancel_;
    bool cancelled_ = false;
};

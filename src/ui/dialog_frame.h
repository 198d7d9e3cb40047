#pragma once

#include <QDialog>

class QBoxLayout;
class QHBoxLayout;
class QLineEdit;

// The look the program's small dialogs share: the window background picture, a content area
// and a row of picture buttons at the bottom.
class DialogFrame : public QDialog {
    Q_OBJECT

  public:
    DialogFrame(const QString& title, QWidget* parent);

  protected:
    QBoxLayout* content() const { return content_; }
    // Adds a picture button to the bottom row; it ends the dialog with the given result.
    void addButton(const QString& caption, int result);
    // The OK and Cancel pair most dialogs end with.
    void addOkCancel();
    // Puts a one-line entry into the content area; Return in it accepts the dialog.
    void addEntry(QLineEdit* edit, const QString& objectName);

  private:
    QBoxLayout* content_;
    QHBoxLayout* buttons_;
};

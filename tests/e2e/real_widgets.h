#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

// The message box shown now, if any: looked for among the windows, since while a transfer runs
// the upload notice (modal itself) may be the active modal window.
inline QMessageBox* MessageBoxShown() {
    if (auto* active = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        return active;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(window); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

// Answers the next message box through its buttons, as a user does.
inline void AnswerNextBox(const std::function<void(QMessageBox&)>& user) {
    auto* timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, [timer, user] {
        if (QMessageBox* box = MessageBoxShown()) {
            timer->stop();
            timer->deleteLater();
            user(*box);
        }
    });
    timer->start(50);
}

// Answers the next modal dialog through its widgets, as a user does.
inline void AnswerNext(const std::function<void(QWidget&)>& user) {
    auto* timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, [timer, user] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            user(*dialog);
        }
    });
    timer->start(50);
}

// Replaces the field's text with keys typed into it.
inline void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

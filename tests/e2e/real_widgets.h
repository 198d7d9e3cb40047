#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

// The modal dialog shown now: the active one, or, where the offscreen platform has not made
// it active yet, a message box shown all the same.
inline QWidget* ModalShown() {
    if (QWidget* active = QApplication::activeModalWidget()) {
        return active;
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && qobject_cast<QMessageBox*>(window) != nullptr) {
            return window;
        }
    }
    return nullptr;
}

// Answers the next modal dialog through its widgets, as a user does.
inline void AnswerNext(const std::function<void(QWidget&)>& user) {
    auto* timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, [timer, user] {
        if (QWidget* dialog = ModalShown()) {
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

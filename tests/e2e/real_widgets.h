#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>

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

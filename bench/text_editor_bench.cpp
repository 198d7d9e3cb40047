// The text editor's close sequence (the document read into the rich text model, converted to
// the page's HTML and written as RTF) for a section of 10,000 words whose format changes every
// ten words, from the window's own document. Prints the median and the range in milliseconds;
// the target is under 50 ms.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <vector>

#include "platform/console_prompts.h"
#include "textedit/texteditor.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ConsolePrompts prompts(std::cerr);
    texteditor editor(prompts, nullptr);
    editor.setItemId("pagetextitem1~");

    QTextCursor cursor(editor.editingArea()->document());
    QTextCharFormat format = editor.editingArea()->currentCharFormat();
    constexpr int kWords = 10000;
    for (int word = 0; word < kWords; ++word) {
        if (word % 10 == 0) {
            const int step = word / 10;
            format.setFontWeight(step % 2 == 0 ? QFont::Bold : QFont::Normal);
            format.setForeground(QColor((step * 37) % 256, (step * 91) % 256, (step * 53) % 256));
            format.setFontPointSize(step % 3 == 0 ? 12 : 16);
        }
        cursor.insertText(QStringLiteral("word") + QString::number(word % 100), format);
        if (word % 100 == 99) {
            cursor.insertBlock();
        } else {
            cursor.insertText(QStringLiteral(" "), format);
        }
    }

    std::vector<double> runs;
    for (int run = 0; run < 11; ++run) {
        QElapsedTimer timer;
        timer.start();
        editor.closeSection();
        runs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(runs.begin(), runs.end());
    std::printf(
        "close sequence of %d words, a format change every 10: median %.1f ms "
        "(min %.1f, max %.1f); HTML %zu bytes, RTF %zu bytes\n",
        kWords, runs[runs.size() / 2], runs.front(), runs.back(), editor.state().htmlText.size(),
        editor.state().rtfText.size());
    return 0;
}

#include "textedit/rich_text_document.h"

#include <QColor>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>

namespace {

Alignment ToAlignment(Qt::Alignment alignment) {
    if (alignment & Qt::AlignRight) {
        return Alignment::Right;
    }
    if (alignment & Qt::AlignHCenter) {
        return Alignment::Centre;
    }
    if (alignment & Qt::AlignJustify) {
        return Alignment::Justify;
    }
    return Alignment::Left;
}

Qt::Alignment ToQtAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right:
            return Qt::AlignRight;
        case Alignment::Centre:
            return Qt::AlignHCenter;
        case Alignment::Justify:
            return Qt::AlignJustify;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft;
}

// The position in the model (characters) of a position in the document (UTF-16 units).
std::size_t CharacterCount(const QString& text) {
    return static_cast<std::size_t>(text.toStdU32String().size());
}

}  // namespace

CharFormat ToCharFormat(const QTextCharFormat& format) {
    CharFormat result;
    const QStringList families = format.fontFamilies().toStringList();
    result.face =
        families.isEmpty() ? format.font().family().toStdString() : families.front().toStdString();
    const double points = format.fontPointSize();
    result.size = points > 0 ? static_cast<int>(std::floor(points + 1e-6)) : result.size;
    if (format.hasProperty(QTextFormat::ForegroundBrush)) {
        const QColor colour = format.foreground().color();
        result.red = static_cast<unsigned char>(colour.red());
        result.green = static_cast<unsigned char>(colour.green());
        result.blue = static_cast<unsigned char>(colour.blue());
    }
    result.bold = format.fontWeight() >= QFont::Bold;
    result.italic = format.fontItalic();
    result.underline = format.fontUnderline();
    return result;
}

QTextCharFormat ToQtFormat(const CharFormat& format) {
    QTextCharFormat result;
    result.setFontFamilies({QString::fromStdString(format.face)});
    result.setFontPointSize(format.size);
    result.setForeground(QColor(format.red, format.green, format.blue));
    result.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    result.setFontItalic(format.italic);
    result.setFontUnderline(format.underline);
    return result;
}

RichText ToRichText(const QTextDocument& document, const QTextCursor& selection) {
    RichText text;
    std::size_t selectionStart = 0;
    std::size_t selectionEnd = 0;
    std::size_t length = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            text.insert(length, "\r", text.format(length, length));
            ++length;
        }
        const std::size_t paragraph = text.paragraphCount() - 1;
        text.setParagraphAlignment(paragraph, ToAlignment(block.blockFormat().alignment()));
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            const QTextFragment piece = fragment.fragment();
            if (!piece.isValid()) {
                continue;
            }
            const QString characters = piece.text();
            const int start = piece.position();
            const int end = start + piece.length();
            const std::size_t count = CharacterCount(characters);
            if (selection.selectionStart() >= start && selection.selectionStart() <= end) {
                selectionStart =
                    length + CharacterCount(characters.left(selection.selectionStart() - start));
            }
            if (selection.selectionEnd() >= start && selection.selectionEnd() <= end) {
                selectionEnd =
                    length + CharacterCount(characters.left(selection.selectionEnd() - start));
            }
            text.insert(length, characters.toStdString(), ToCharFormat(piece.charFormat()));
            length += count;
        }
        if (block == document.begin() && block.length() <= 1) {
            text.setDefaultFormat(ToCharFormat(block.charFormat()));
        }
    }
    text.select(selectionStart, std::max(selectionStart, selectionEnd));
    return text;
}

void ShowRichText(const RichText& text, QTextDocument& document) {
    document.clear();
    QTextCursor cursor(&document);
    cursor.setCharFormat(ToQtFormat(text.defaultFormat()));
    std::size_t paragraph = 0;
    QTextBlockFormat block = cursor.blockFormat();
    block.setAlignment(ToQtAlignment(text.alignment(paragraph)));
    cursor.setBlockFormat(block);
    std::size_t runStart = 0;
    const auto flush = [&](std::size_t end) {
        if (end > runStart) {
            cursor.insertText(QString::fromStdString(text.text(runStart, end)),
                              ToQtFormat(text.formatAt(runStart)));
        }
    };
    for (std::size_t i = 0; i < text.length(); ++i) {
        if (text.at(i) == RichText::kParagraphBreak) {
            flush(i);
            QTextBlockFormat next;
            next.setAlignment(ToQtAlignment(text.alignment(++paragraph)));
            cursor.insertBlock(next, ToQtFormat(text.formatAt(i)));
            runStart = i + 1;
        } else if (i > runStart && text.formatAt(i) != text.formatAt(runStart)) {
            flush(i);
            runStart = i;
        }
    }
    flush(text.length());
}

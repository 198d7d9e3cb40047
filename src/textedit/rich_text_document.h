#pragma once

#include "textedit/rich_text.h"

class QTextCharFormat;
class QTextCursor;
class QTextDocument;

// The text editor's Qt document and the rich text model the rest of the program works on: the
// characters with face, size, colour and the three effects, a "\r" between paragraphs and each
// paragraph's alignment. The selection travels with it.
RichText ToRichText(const QTextDocument& document, const QTextCursor& selection);
void ShowRichText(const RichText& text, QTextDocument& document);

CharFormat ToCharFormat(const QTextCharFormat& format);
QTextCharFormat ToQtFormat(const CharFormat& format);

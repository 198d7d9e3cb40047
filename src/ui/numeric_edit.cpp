#include "ui/numeric_edit.h"

#include <QLocale>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

NumericEdit::NumericEdit(int digitsBefore, int digitsAfter, QWidget* parent) : QLineEdit(parent) {
    const QString separators =
        QRegularExpression::escape(QLocale().decimalPoint()) + QStringLiteral("\\.");
    const QString pattern = QStringLiteral("\\d{0,%1}([%2]\\d{0,%3})?")
                                .arg(digitsBefore)
                                .arg(separators)
                                .arg(digitsAfter);
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
}

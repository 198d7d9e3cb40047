#pragma once

#include <QLineEdit>

// A field for a non-negative decimal number: at most the given digits before and after the
// decimal separator of the user's locale (a "." is taken too). Anything else is refused as it
// is typed.
class NumericEdit : public QLineEdit {
    Q_OBJECT

  public:
    NumericEdit(int digitsBefore, int digitsAfter, QWidget* parent);
};

// Input behaviour of number fields: a decimal field takes digits, "-", "." (a typed ","
// becomes "."), Backspace and Enter; an integer field digits, "+", "-", Backspace and Enter.
// Keys that type nothing (arrows, Delete, Tab, Escape, function keys) pass unchanged. A field
// that receives the focus from the program (Enter moving on) has its text selected.
#pragma once

#include <QChar>

class QLineEdit;

namespace quorvex {

// The key that reaches the field, or a null character when it is dropped. The same rule as
// the core's key filters, kept here because this library stands on Qt alone.
QChar DecimalKeyRule(QChar key);
QChar IntegerKeyRule(QChar key);

// Gives the field the input behaviour; the filter lives as long as the field.
void AttachDecimalKeyFilter(QLineEdit* field);
void AttachIntegerKeyFilter(QLineEdit* field);

}  // namespace quorvex

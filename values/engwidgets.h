#pragma once

#include <QString>

class QLabel;
class QLineEdit;
class QCPItemText;

// The engineering values applied to widgets: write a value into a label, field or schematic
// text, or read a field or schematic text and colour it by whether it could be read.
namespace eng {

void setEngLabel(double value, QLabel *label, const QString &unit);
void setEngLineEdit(double value, QLineEdit *edit, const QString &unit);
void setEngItemText(double value, QCPItemText *item, const QString &unit);

// Text black (gray when disabled), red when unreadable; an unreadable text reads as 0.
double parseLineEdit(QLineEdit *edit, const QString &kind);
// Item black, red when unreadable; an unreadable text reads as 0.
double parseItemValue(const QString &text, QCPItemText *item);

} // namespace eng

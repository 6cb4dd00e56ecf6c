#include "app/textroom.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QTextDocument>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace textroom {

namespace {

const QRegularExpression &sizeRule()
{
    static const QRegularExpression rule(QStringLiteral("font:\\s*([0-9.]+)pt"));
    return rule;
}

// A label of words: not a value ("23.7 kHz", "-40"), nor a unit ("°C/W", "mH"), which read with
// what stands before them.
bool isCaption(const QLabel *label)
{
    const QString text = label->text().trimmed();
    // A boxed text stands apart in its box.
    if (text.isEmpty() || !label->pixmap(Qt::ReturnByValue).isNull() ||
        label->frameShape() != QFrame::NoFrame)
        return false;
    const QChar first = text.at(0);
    if (first.isDigit() || first == QLatin1Char('-') || first == QLatin1Char('+')) return false;
    return text.size() > 5 || text.contains(QLatin1Char(' '));
}

// The room before the caption's text, wherever in its cell the text is set.
void indent(QLabel *label)
{
    QMargins margins = label->contentsMargins();
    margins.setLeft(2 * label->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
    label->setContentsMargins(margins);
}

} // namespace

QHash<QWidget *, double> formSizes(QWidget *root)
{
    QHash<QWidget *, double> sizes;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        const QRegularExpressionMatch match = sizeRule().match(w->styleSheet());
        if (match.hasMatch()) sizes.insert(w, match.captured(1).toDouble());
    }
    return sizes;
}

void keepAboveBody(const QHash<QWidget *, double> &sizes, double bodyPoints)
{
    for (auto it = sizes.cbegin(); it != sizes.cend(); ++it) {
        const double points = bodyPoints > 0 ? std::max(it.value(), bodyPoints + 2) : it.value();
        QString sheet = it.key()->styleSheet();
        sheet.replace(sizeRule(), QStringLiteral("font: %1pt").arg(points));
        if (sheet != it.key()->styleSheet()) it.key()->setStyleSheet(sheet);
    }
}

void keepCaptionsApart(QWidget *root)
{
    for (QGridLayout *grid : root->findChildren<QGridLayout *>()) {
        for (int i = 0; i < grid->count(); ++i) {
            auto *label = qobject_cast<QLabel *>(grid->itemAt(i)->widget());
            if (!label || !isCaption(label)) continue;
            int row = 0, column = 0, rows = 0, columns = 0;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            QLayoutItem *before = column > 0 ? grid->itemAtPosition(row, column - 1) : nullptr;
            if (before && qobject_cast<QLabel *>(before->widget())) indent(label);
        }
    }
    for (QBoxLayout *box : root->findChildren<QBoxLayout *>()) {
        if (box->direction() != QBoxLayout::LeftToRight) continue;
        for (int i = 1; i < box->count(); ++i) {
            auto *label = qobject_cast<QLabel *>(box->itemAt(i)->widget());
            if (label && isCaption(label) && qobject_cast<QLabel *>(box->itemAt(i - 1)->widget()))
                indent(label);
        }
    }
}

void keepRoomInBoxes(QWidget *root)
{
    for (QLabel *label : root->findChildren<QLabel *>()) {
        if (label->frameShape() != QFrame::Box || label->text().isEmpty()) continue;
        // Two word spaces each side inside the frame (a frame's contents margins are its
        // width), and no indent of the label's own besides.
        const int space = 2 * label->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        const int frame = label->frameWidth();
        label->setIndent(0);
        QMargins around = label->contentsMargins();
        around.setLeft(frame + space);
        around.setRight(frame + space);
        label->setContentsMargins(around);
        QTextDocument text;
        text.setDefaultFont(label->font());
        text.setDocumentMargin(0);
        if (Qt::mightBeRichText(label->text()))
            text.setHtml(label->text());
        else
            text.setPlainText(label->text());
        label->setMinimumWidth(int(std::ceil(text.idealWidth())) + 2 * (frame + space) +
                               2 * label->margin());
    }
}

} // namespace textroom

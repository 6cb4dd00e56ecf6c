#pragma once
// Finds captions a user cannot read in full: labels, buttons, radio buttons, check boxes, group
// titles and tab texts whose text is wider or taller than the room their widget has on screen,
// and labels that run into their neighbour.
// Used by the layout test for the pages of the main window and for the dialogs.

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>

#include <algorithm>

namespace captioncheck {

inline QString describe(const QWidget *w, const QString &text, QSize need, QRect room)
{
    QString shown = text.simplified();
    if (shown.size() > 50)
        shown = shown.left(47) + QStringLiteral("...");
    return QStringLiteral("%1 (%2) \"%3\": needs %4x%5, has %6x%7")
        .arg(w->objectName().isEmpty() ? QStringLiteral("<unnamed>") : w->objectName(),
             QString::fromLatin1(w->metaObject()->className()), shown)
        .arg(need.width())
        .arg(need.height())
        .arg(room.width())
        .arg(room.height());
}

// The part of the widget the window really shows: its parents cut it off at their edges.
inline QRect shownRect(const QWidget *w)
{
    const QWidget *win = w->window();
    const QPoint origin = w->mapTo(win, QPoint(0, 0));
    QRect r(origin, w->size());
    for (const QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
        r &= QRect(p->mapTo(win, QPoint(0, 0)), p->size());
        if (p == win)
            break;
    }
    return r.translated(-origin);
}

// Where the text of a label sits and how large it is.
inline QSize labelTextSize(const QLabel *l, int availableWidth)
{
    const QFontMetrics fm = l->fontMetrics();
    const bool rich = l->textFormat() == Qt::RichText ||
                      (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(l->text());
        if (l->wordWrap()) {
            doc.setTextWidth(availableWidth);
            return QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
        }
        return QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
    }
    if (l->wordWrap())
        return fm.boundingRect(QRect(0, 0, availableWidth, 100000), Qt::TextWordWrap, l->text())
            .size();
    const QStringList lines = l->text().split(QLatin1Char('\n'));
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, fm.horizontalAdvance(line));
    return QSize(width, fm.height() + (lines.size() - 1) * fm.lineSpacing());
}

// The room a label gives its text: its contents less its margin and its indent.
inline QRect labelRoom(const QLabel *l)
{
    QRect room = l->contentsRect();
    const int m = l->margin();
    room.adjust(m, m, -m, -m);
    int indent = l->indent();
    if (indent < 0 && l->frameWidth() > 0)
        indent = l->fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    if (indent > 0) {
        const Qt::Alignment a = l->alignment();
        if (a & Qt::AlignLeft) room.setLeft(room.left() + indent);
        if (a & Qt::AlignRight) room.setRight(room.right() - indent);
        if (a & Qt::AlignTop) room.setTop(room.top() + indent);
        if (a & Qt::AlignBottom) room.setBottom(room.bottom() - indent);
    }
    return room;
}

inline void checkLabel(const QLabel *l, QStringList *out)
{
    if (l->text().isEmpty() || !l->pixmap(Qt::ReturnByValue).isNull())
        return;
    const QRect room = labelRoom(l);
    const QSize need = labelTextSize(l, room.width());
    const QRect text = QStyle::alignedRect(l->layoutDirection(), l->alignment(), need, room);
    const QRect shown = shownRect(l);
    if (need.width() > room.width() || need.height() > room.height() ||
        !shown.contains(text.intersected(l->rect())))
        *out << describe(l, l->text(), need, room.intersected(shown));
}

inline void checkButton(const QAbstractButton *b, QStringList *out)
{
    if (b->text().isEmpty())
        return;
    QSize need = b->sizeHint();
    if (auto *push = qobject_cast<const QPushButton *>(b)) {
        // A push button's size hint has a style minimum width; what must fit is the text with
        // the button's frame and margin around it.
        const QStyle *s = b->style();
        const int frame = s->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
        int w = b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) +
                s->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) + 2 * frame;
        if (push->autoDefault() || push->isDefault())
            w += 2 * s->pixelMetric(QStyle::PM_ButtonDefaultIndicator, nullptr, b);
        if (!push->icon().isNull())
            w += push->iconSize().width() + 4;
        need = QSize(w, b->fontMetrics().height() + 2 * frame);
    }
    const QRect shown = shownRect(b);
    if (need.width() > b->width() || need.height() > b->height() ||
        shown.width() < qMin(need.width(), b->width()) ||
        shown.height() < qMin(need.height(), b->height()))
        *out << describe(b, b->text(), need, shown);
}

inline void checkGroupBox(const QGroupBox *g, QStringList *out)
{
    if (g->title().isEmpty())
        return;
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.lineWidth = 1;
    opt.midLineWidth = 0;
    opt.textAlignment = Qt::Alignment(g->alignment());
    opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    opt.features = g->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
    if (g->isCheckable())
        opt.subControls |= QStyle::SC_GroupBoxCheckBox;
    QRect title = g->style()->subControlRect(QStyle::CC_GroupBox, &opt,
                                             QStyle::SC_GroupBoxLabel, g);
    if (g->isCheckable())
        title = title.united(g->style()->subControlRect(QStyle::CC_GroupBox, &opt,
                                                        QStyle::SC_GroupBoxCheckBox, g));
    const QRect shown = shownRect(g);
    if (!g->rect().contains(title) || !shown.contains(title))
        *out << describe(g, g->title(), title.size(), shown);
}

inline void checkTabs(const QTabWidget *t, QStringList *out)
{
    const QTabBar *bar = t->tabBar();
    // The size hint is the width of all tabs side by side, without scroll buttons or elision.
    const int need = bar->sizeHint().width();
    const QRect shown = shownRect(bar);
    if (need > bar->width() || need > shown.width())
        *out << describe(t, QStringLiteral("tab bar"), QSize(need, bar->sizeHint().height()),
                         shown);
}

// Where the text of a shown label stands, in `root`'s coordinates; empty for a label that shows
// a picture, no text, or more than one line.
inline QRect labelTextIn(const QLabel *l, const QWidget *root)
{
    if (l->text().trimmed().isEmpty() || !l->pixmap(Qt::ReturnByValue).isNull()) return QRect();
    const QRect room = labelRoom(l);
    const QSize need = labelTextSize(l, room.width());
    if (need.height() > 1.5 * l->fontMetrics().height()) return QRect();
    const QRect text = QStyle::alignedRect(l->layoutDirection(), l->alignment(), need, room);
    return QRect(l->mapTo(root, text.topLeft()), text.size());
}

// Whether `right` is meant to read with `left` before it: a unit after its value (a short text
// without a space: "V", "kHz", "°C/W"), a value after its caption ("23.7 kHz", "-40"), anything
// after a caption that introduces it ("Ripple Voltage =", "Frequency of Peaking:").
inline bool readsWith(const QString &left, const QString &right)
{
    const QString l = left.trimmed(), r = right.trimmed();
    if (r.isEmpty() || l.isEmpty()) return true;
    if (r.size() <= 5 && !r.contains(QLatin1Char(' '))) return true;
    if (r.at(0).isDigit() || r.at(0) == QLatin1Char('-') || r.at(0) == QLatin1Char('+'))
        return true;
    return l.endsWith(QLatin1Char(':')) || l.endsWith(QLatin1Char('='));
}

// The labels of `root` that run into their neighbour on a line: texts that overlap, or that
// stand less than two word spaces apart and so read as one ("2.92 dB Phase Margin"), unless the
// second is meant to read with the first. One line for each pair.
inline QStringList textsRunTogether(QWidget *root)
{
    struct Shown
    {
        const QLabel *label;
        QRect text;
    };
    QVector<Shown> shown;
    for (const QLabel *l : root->findChildren<QLabel *>()) {
        if (!l->isVisible()) continue;
        const QRect text = labelTextIn(l, root);
        if (!text.isEmpty()) shown.append({l, text});
    }
    QStringList out;
    for (int i = 0; i < shown.size(); ++i) {
        for (int k = 0; k < shown.size(); ++k) {
            const Shown &left = shown[i], &right = shown[k];
            if (i == k || left.text.center().x() > right.text.center().x()) continue;
            const int across = std::min(left.text.bottom(), right.text.bottom()) -
                               std::max(left.text.top(), right.text.top());
            if (across < std::min(left.text.height(), right.text.height()) / 2) continue;
            const int gap = right.text.left() - left.text.right() - 1;
            const double spaces =
                2 * std::max(left.label->fontMetrics().horizontalAdvance(QLatin1Char(' ')),
                             right.label->fontMetrics().horizontalAdvance(QLatin1Char(' ')));
            if (gap < 0 || (gap < spaces && !readsWith(left.label->text(), right.label->text())))
                out << QStringLiteral("%1 \"%2\" and %3 \"%4\" are %5 px apart (two word spaces: "
                                      "%6 px)")
                           .arg(left.label->objectName(), left.label->text().simplified(),
                                right.label->objectName(), right.label->text().simplified())
                           .arg(gap)
                           .arg(spaces, 0, 'f', 0);
        }
    }
    return out;
}

// The boxed labels of `root` whose text comes nearer the box than a word space, or breaks a line
// of its own to fit. One line each.
inline QStringList boxesCramped(QWidget *root)
{
    QStringList out;
    for (const QLabel *l : root->findChildren<QLabel *>()) {
        if (!l->isVisible() || l->frameShape() != QFrame::Box || l->text().isEmpty()) continue;
        const QRect room = labelRoom(l);
        const int frame = l->frameWidth();
        const QRect inside = l->rect().adjusted(frame, frame, -frame, -frame);
        const int space = l->fontMetrics().horizontalAdvance(QLatin1Char(' '));
        const QSize need = labelTextSize(l, room.width());
        const QSize whole = labelTextSize(l, 100000);
        const QRect text = QStyle::alignedRect(l->layoutDirection(), l->alignment(), need, room);
        if (text.left() - inside.left() < space || inside.right() - text.right() < space ||
            need.height() > whole.height())
            out << describe(l, l->text(), need, room) + QStringLiteral(": cramped in its box");
    }
    return out;
}

// Every caption of `root` and its visible descendants that does not fit, one line each.
inline QStringList clippedCaptions(QWidget *root)
{
    QStringList out;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : widgets) {
        if (!w->isVisible())
            continue;
        if (auto *l = qobject_cast<QLabel *>(w))
            checkLabel(l, &out);
        else if (auto *b = qobject_cast<QAbstractButton *>(w))
            checkButton(b, &out);
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            checkGroupBox(g, &out);
        else if (auto *t = qobject_cast<QTabWidget *>(w))
            checkTabs(t, &out);
    }
    return out;
}

} // namespace captioncheck

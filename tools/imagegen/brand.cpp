#include "canvas.h"
#include "generators.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <cmath>

void drawKestMark(QPainter &p, const QRectF &r)
{
    const double s = r.width();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accent);
    p.drawRoundedRect(r, s * 0.2, s * 0.2);
    // A geometric K whose arms meet short of the stem, so they read as an amplifier
    // triangle turned on its side.
    QPen pen(Qt::white, s * 0.13, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    p.setPen(pen);
    const double x0 = r.left() + s * 0.30, top = r.top() + s * 0.22, bottom = r.bottom() - s * 0.22;
    p.drawLine(QPointF(x0, top), QPointF(x0, bottom));
    const QPointF apex(r.left() + s * 0.46, r.center().y());
    const double armX = r.left() + s * 0.74;
    p.setBrush(Qt::NoBrush);
    pen.setCapStyle(Qt::SquareCap);
    p.setPen(pen);
    p.drawPolyline(
        QPolygonF({QPointF(armX, top + s * 0.02), apex, QPointF(armX, bottom - s * 0.02)}));
    p.restore();
}

namespace {

void windowIcon()
{
    Canvas c("icon_kest.png", 128, 128);
    drawKestMark(c.p(), QRectF(4, 4, 120, 120));
    c.save();
}

void wordmark()
{
    // Shown stretched over a fixed 350 x 50 label: drawn at twice that, same 7:1 shape.
    Canvas c("AWsymbol.png", 700, 100);
    QPainter &p = c.p();
    drawKestMark(p, QRectF(6, 10, 80, 80));
    const QFont big = sansFont(58, true);
    const QFont small = sansFont(24);
    p.setFont(big);
    p.setPen(ink::accentDark);
    p.drawText(QPointF(108, 72), QStringLiteral("Ampwright"));
    const double w = QFontMetricsF(big).horizontalAdvance(QStringLiteral("Ampwright"));
    p.setFont(small);
    p.setPen(ink::grey);
    p.drawText(QPointF(108 + w + 18, 72), QStringLiteral("by Kest"));
    c.save();
}

void logo()
{
    Canvas c("KestLogo.png", 420, 280);
    QPainter &p = c.p();
    drawKestMark(p, QRectF(150, 20, 120, 120));
    drawCentredText(p, QPointF(210, 186), QStringLiteral("Kest"), sansFont(64, true),
                    ink::accentDark);
    p.setPen(QPen(ink::accentLight, 2));
    p.drawLine(QPointF(110, 226), QPointF(310, 226));
    drawCentredText(p, QPointF(210, 252), QStringLiteral("Power Op-Amps \u00b7 PWM Amplifiers"),
                    sansFont(17), ink::grey);
    c.save();
}

} // namespace

void drawPwmWave(QPainter &p, const QRectF &r, int periods, const QPen &pulsePen,
                 const QPen &sinePen)
{
    QPainterPath pulses;
    const double hi = r.top(), lo = r.bottom();
    pulses.moveTo(r.left(), lo);
    for (int k = 0; k < periods; ++k) {
        const double t0 = r.left() + r.width() * k / periods;
        const double period = r.width() / periods;
        const double duty = 0.5 + 0.42 * std::sin(2 * M_PI * (k + 0.5) / periods);
        const double rise = t0 + period * (1 - duty) / 2, fall = rise + period * duty;
        pulses.lineTo(rise, lo);
        pulses.lineTo(rise, hi);
        pulses.lineTo(fall, hi);
        pulses.lineTo(fall, lo);
    }
    pulses.lineTo(r.right(), lo);
    p.setBrush(Qt::NoBrush);
    p.setPen(pulsePen);
    p.drawPath(pulses);
    QPainterPath sine;
    for (int i = 0; i <= 200; ++i) {
        const double f = i / 200.0;
        const double duty = 0.5 + 0.42 * std::sin(2 * M_PI * f);
        const QPointF pt(r.left() + r.width() * f, lo - (lo - hi) * duty);
        if (i == 0)
            sine.moveTo(pt);
        else
            sine.lineTo(pt);
    }
    p.setPen(sinePen);
    p.drawPath(sine);
}

namespace {

void splash()
{
    // The loading message is written over the top-left corner, so that corner stays plain.
    Canvas c("kest_splashscreen.png", 640, 480, true);
    QPainter &p = c.p();
    p.setPen(QPen(ink::faint, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, 638, 478));
    drawKestMark(p, QRectF(272, 72, 96, 96));
    drawCentredText(p, QPointF(320, 204), QStringLiteral("Kest"), sansFont(30, true), ink::accent);
    drawCentredText(p, QPointF(320, 262), QStringLiteral("Ampwright"), sansFont(68, true),
                    ink::accentDark);
    drawCentredText(p, QPointF(320, 314),
                    QStringLiteral("Design tool for power op-amps and PWM amplifiers"),
                    sansFont(17), ink::grey);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accentPale);
    p.drawRect(QRectF(2, 368, 636, 110));
    drawPwmWave(p, QRectF(40, 386, 560, 70), 22, QPen(ink::accentLight, 2),
                QPen(ink::accent, 4, Qt::SolidLine, Qt::RoundCap));
    c.save();
}

// A thick arrow with a solid head, used by START and the flow-chart arrows.
void boldArrow(QPainter &p, const QPointF &from, const QPointF &to, double width, double head)
{
    const QLineF l(from, to);
    const QLineF u = l.unitVector();
    const QPointF d(u.dx(), u.dy()), n(-d.y(), d.x());
    const QPointF base = to - d * head;
    p.save();
    p.setPen(QPen(ink::accent, width, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, base + d * 2);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accent);
    p.drawPolygon(QPolygonF({to, base + n * head * 0.62, base - n * head * 0.62}));
    p.restore();
}

void start()
{
    Canvas c("Start.png", 320, 150);
    QPainter &p = c.p();
    const QRectF pill(95, 6, 130, 54);
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accent);
    p.drawRoundedRect(pill, 27, 27);
    drawCentredText(p, pill.center(), QStringLiteral("START"), sansFont(27, true), Qt::white);
    boldArrow(p, QPointF(118, 62), QPointF(34, 140), 8, 24);
    boldArrow(p, QPointF(202, 62), QPointF(286, 140), 8, 24);
    c.save();
}

void chevrons()
{
    {
        Canvas c("chevron.png", 96, 96);
        boldArrow(c.p(), QPointF(48, 8), QPointF(48, 90), 11, 32);
        c.save();
    }
    {
        Canvas c("chevronL.png", 96, 96);
        boldArrow(c.p(), QPointF(86, 10), QPointF(10, 86), 11, 32);
        c.save();
    }
    {
        Canvas c("chevronR.png", 96, 96);
        boldArrow(c.p(), QPointF(10, 10), QPointF(86, 86), 11, 32);
        c.save();
    }
}

void warning()
{
    Canvas c("Warning.png", 64, 64);
    QPainter &p = c.p();
    QPainterPath tri;
    tri.moveTo(32, 5);
    tri.lineTo(61, 57);
    tri.lineTo(3, 57);
    tri.closeSubpath();
    p.setPen(QPen(ink::warn.darker(115), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink::warn);
    p.drawPath(tri);
    p.setPen(QPen(ink::line, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 22), QPointF(32, 38));
    p.drawPoint(QPointF(32, 49));
    c.save();
}

} // namespace

void drawBrandPictures()
{
    windowIcon();
    wordmark();
    logo();
    splash();
    start();
    chevrons();
    warning();
}

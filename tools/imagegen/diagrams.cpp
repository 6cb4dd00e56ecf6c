#include "canvas.h"
#include "generators.h"
#include "schematic.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QPainterPath>

#include <cmath>

namespace {

// ---- PWM control loop types ------------------------------------------------------------------
// Each picture is a block diagram in black on a transparent ground, 438 x 180. All four share the
// forward path V_IN, summing junction, INT, PWM, FILTER, LOAD; they differ in what is fed back.

enum class Loop { Voltage1, Voltage2, Current1, Current2 };

struct ForwardPath
{
    QRectF in, sum, integ, pwm, filter, sense, load; // sense is empty unless Current 2
    double y = 78, yTop = 70, yBottom = 86;
};

ForwardPath layoutPath(bool senseInLine)
{
    ForwardPath fp;
    QVector<double> widths = {30, 18, 42, 46, 56};
    if (senseInLine) widths << 50;
    widths << 46;
    double total = 0;
    for (double w : widths)
        total += w;
    const double gap = (438 - 8 - total) / (widths.size() - 1);
    double x = 4;
    QVector<QRectF> r;
    for (double w : widths) {
        const double h = r.size() < 3 ? 32 : 40;
        r << QRectF(x, fp.y - h / 2, w, h);
        x += w + gap;
    }
    fp.in = r[0];
    fp.sum = r[1];
    fp.integ = r[2];
    fp.pwm = r[3];
    fp.filter = r[4];
    fp.sense = senseInLine ? r[5] : QRectF();
    fp.load = r.last();
    return fp;
}

void subscriptBlock(QPainter &p, const QRectF &r, const QString &base, const QString &index,
                    const QFont &f)
{
    p.drawRect(r);
    drawIndexedText(p, r.center(), base, index, f, Qt::black);
}

// A vertical wire that hops over a horizontal one at y = over.
void hopWire(QPainter &p, const QPointF &from, const QPointF &to, double over)
{
    const double r = 5;
    p.drawLine(from, QPointF(from.x(), over - r));
    QPainterPath hop(QPointF(from.x(), over - r));
    hop.arcTo(QRectF(from.x() - r, over - r, 2 * r, 2 * r), 90, 180);
    p.drawPath(hop);
    p.drawLine(QPointF(from.x(), over + r), to);
}

void loopDiagram(const QString &file, Loop loop)
{
    Canvas c(file, 438, 180);
    QPainter &p = c.p();
    const QFont f = sansFont(11, true);
    p.setFont(f);
    p.setPen(QPen(Qt::black, 1.8, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    const double head = 7;
    const ForwardPath fp = layoutPath(loop == Loop::Current2);
    const double y = fp.y;

    drawIndexedText(p, fp.in.center(), QStringLiteral("V"), QStringLiteral("IN"), f, Qt::black);
    const QPointF sc = fp.sum.center();
    const double sr = fp.sum.width() / 2;
    summingJunction(p, sc, sr);
    arrowLine(p, QPointF(fp.in.right(), y), QPointF(fp.sum.left(), y), head);
    arrowLine(p, QPointF(fp.sum.right(), y), QPointF(fp.integ.left(), y), head);
    labelledBlock(p, fp.integ, QStringLiteral("INT"), f);
    arrowLine(p, QPointF(fp.integ.right(), y), QPointF(fp.pwm.left(), y), head);
    labelledBlock(p, fp.pwm, QStringLiteral("PWM"), f);
    labelledBlock(p, fp.filter, QStringLiteral("FILTER"), f);
    labelledBlock(p, fp.load, QStringLiteral("LOAD"), f);
    QVector<QRectF> chain = {fp.pwm, fp.filter};
    if (!fp.sense.isNull()) {
        subscriptBlock(p, fp.sense, QStringLiteral("I"), QStringLiteral("SENSE"), f);
        chain << fp.sense;
    }
    chain << fp.load;
    for (int i = 0; i + 1 < chain.size(); ++i)
        for (double yy : {fp.yTop, fp.yBottom})
            p.drawLine(QPointF(chain[i].right(), yy), QPointF(chain[i + 1].left(), yy));
    p.save();
    p.setFont(sansFont(10, true));
    p.drawText(QPointF(sc.x() - sr - 9, y - sr - 1), QStringLiteral("+"));
    p.restore();

    const double gapMid = (fp.pwm.right() + fp.filter.left()) / 2;
    auto backToSum = [&](const QPointF &from) {
        wire(p, {from, QPointF(sc.x(), from.y())});
        arrowLine(p, QPointF(sc.x(), from.y()), QPointF(sc.x(), y + sr), head);
        p.save();
        p.setFont(sansFont(12, true));
        p.drawText(QPointF(sc.x() - sr - 10, y + sr + 12), QString(QChar(0x2212)));
        p.restore();
    };

    switch (loop) {
    case Loop::Voltage1: {
        const QRectF diff(gapMid - 36, 124, 72, 28);
        labelledBlock(p, diff, QStringLiteral("DIFF AMP"), f);
        const double x1 = gapMid - 12, x2 = gapMid + 12;
        junction(p, QPointF(x1, fp.yTop), 2.6);
        junction(p, QPointF(x2, fp.yBottom), 2.6);
        hopWire(p, QPointF(x1, fp.yTop), QPointF(x1, diff.top() - head), fp.yBottom);
        arrowLine(p, QPointF(x1, diff.top() - head - 1), QPointF(x1, diff.top()), head);
        arrowLine(p, QPointF(x2, fp.yBottom), QPointF(x2, diff.top()), head);
        backToSum(QPointF(diff.left(), diff.center().y()));
        break;
    }
    case Loop::Voltage2: {
        const double xi = fp.integ.center().x();
        const double bx = (fp.integ.right() + gapMid) / 2 + 4;
        const QRectF topBlock(bx - 22, 10, 44, 24), bottomBlock(bx - 22, 128, 44, 24);
        labelledBlock(p, topBlock, QStringLiteral("FBK"), f);
        labelledBlock(p, bottomBlock, QStringLiteral("FBK"), f);
        const double xt = gapMid - 4, xb = gapMid + 8;
        junction(p, QPointF(xt, fp.yTop), 2.6);
        junction(p, QPointF(xb, fp.yBottom), 2.6);
        wire(p, {QPointF(xt, fp.yTop), QPointF(xt, topBlock.center().y())});
        arrowLine(p, QPointF(xt, topBlock.center().y()),
                  QPointF(topBlock.right(), topBlock.center().y()), head);
        wire(p,
             {QPointF(topBlock.left(), topBlock.center().y()), QPointF(xi, topBlock.center().y())});
        arrowLine(p, QPointF(xi, topBlock.center().y()), QPointF(xi, fp.integ.top()), head);
        wire(p, {QPointF(xb, fp.yBottom), QPointF(xb, bottomBlock.center().y())});
        arrowLine(p, QPointF(xb, bottomBlock.center().y()),
                  QPointF(bottomBlock.right(), bottomBlock.center().y()), head);
        wire(p, {QPointF(bottomBlock.left(), bottomBlock.center().y()),
                 QPointF(xi, bottomBlock.center().y())});
        arrowLine(p, QPointF(xi, bottomBlock.center().y()), QPointF(xi, fp.integ.bottom()), head);
        // each feedback network returns to ground
        p.drawLine(QPointF(bx + 10, topBlock.bottom()), QPointF(bx + 10, topBlock.bottom() + 3));
        ground(p, QPointF(bx + 10, topBlock.bottom() + 3), 14);
        ground(p, QPointF(bx, bottomBlock.bottom()), 14);
        break;
    }
    case Loop::Current1: {
        const double xp = fp.pwm.center().x();
        const QRectF sense(xp - 25, 118, 50, 26);
        subscriptBlock(p, sense, QStringLiteral("I"), QStringLiteral("SENSE"), f);
        p.drawLine(QPointF(xp, fp.pwm.bottom()), QPointF(xp, sense.top()));
        ground(p, QPointF(sense.right() - 10, sense.bottom()), 14);
        const QRectF diff(fp.integ.center().x() - 24, 118, 72, 26);
        labelledBlock(p, diff, QStringLiteral("DIFF AMP"), f);
        arrowLine(p, QPointF(sense.left(), sense.center().y()),
                  QPointF(diff.right(), sense.center().y()), head);
        backToSum(QPointF(diff.left(), diff.center().y()));
        break;
    }
    case Loop::Current2: {
        const double xs = fp.sense.center().x();
        const QRectF diff(xs - 36, 124, 72, 28);
        labelledBlock(p, diff, QStringLiteral("DIFF AMP"), f);
        arrowLine(p, QPointF(xs, fp.sense.bottom()), QPointF(xs, diff.top()), head);
        backToSum(QPointF(diff.left(), diff.center().y()));
        break;
    }
    }
    c.save();
}

// ---- Three-phase motor windings ----------------------------------------------------------------

struct LegStyle
{
    double width;                      // line width
    QFont font;                        // label font
    double labelGap;                   // label distance from the leg's centre line
    double resistor, inductor, source; // body lengths
};

// One winding leg from `from` to `to`: its parts in order, each labelled with the leg index on
// the side of `labelSide` (a unit normal). The parts keep clear of the leg's ends by the margins.
void windingLeg(QPainter &p, const QPointF &from, const QPointF &to, const QVector<Part> &parts,
                const QPointF &labelSide, const LegStyle &s, double startMargin, double endMargin)
{
    const QLineF l(from, to);
    const QLineF u = l.unitVector();
    const QPointF d(u.dx(), u.dy());
    const QPointF first = from + d * startMargin;
    const double step = (l.length() - startMargin - endMargin) / parts.size();
    p.drawLine(from, first);
    p.drawLine(to - d * endMargin, to);
    for (int i = 0; i < parts.size(); ++i) {
        const QPointF a = first + d * (step * i), b = first + d * (step * (i + 1));
        const Part part = parts[i];
        twoTerminal(p, a, b, part,
                    part == Part::Resistor   ? s.resistor
                    : part == Part::Inductor ? s.inductor
                                             : s.source);
        const QString base = part == Part::Resistor   ? QStringLiteral("R")
                             : part == Part::Inductor ? QStringLiteral("L")
                                                      : QStringLiteral("Vemf");
        // keep the label's box, not just its centre, clear of the part
        const QFontMetricsF fm(s.font);
        const double halfW = (fm.horizontalAdvance(base) + fm.horizontalAdvance("1L") * 0.67) / 2;
        const double halfH = fm.height() / 2;
        const double body = part == Part::Source ? s.source / 2 : s.inductor * 0.15;
        const double clear =
            body + 10 + std::abs(labelSide.x()) * halfW + std::abs(labelSide.y()) * halfH;
        const QPointF at = (a + b) / 2 + labelSide * std::max(clear, s.labelGap);
        drawIndexedText(p, at, base, QStringLiteral("1L"), s.font, p.pen().color());
    }
}

void terminal(QPainter &p, const QPointF &end, const QPointF &at, const QString &name,
              const QPointF &labelOffset, const QFont &f)
{
    p.drawLine(end, at);
    p.save();
    p.setBrush(Qt::white);
    p.drawEllipse(at, 9, 9);
    p.restore();
    drawCentredText(p, at + labelOffset, name, f, p.pen().color());
}

void frame(QPainter &p, int w, int h)
{
    p.save();
    p.setPen(QPen(Qt::black, 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, w - 6, h - 6));
    p.restore();
}

QPointF normalised(const QPointF &v)
{
    const double n = std::hypot(v.x(), v.y());
    return v / n;
}

void deltaWinding()
{
    Canvas c("ThreePhaseDelta.png", 808, 608, true);
    QPainter &p = c.p();
    frame(p, 808, 608);
    const QPointF A(404, 96), B(130, 508), C(678, 508);
    const QPointF centroid = (A + B + C) / 3;
    p.setPen(QPen(ink::accent, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const LegStyle s{4, sansFont(24, true), 44, 78, 90, 58};
    const QVector<Part> parts = {Part::Resistor, Part::Inductor, Part::Source};
    auto leg = [&](const QPointF &a, const QPointF &b) {
        const QPointF mid = (a + b) / 2;
        windingLeg(p, a, b, parts, normalised(mid - centroid), s, 40, 40);
    };
    leg(A, B);
    leg(B, C);
    leg(C, A);
    for (const QPointF &v : {A, B, C})
        junction(p, v, 7);
    const QFont tf = sansFont(26, true);
    terminal(p, A, QPointF(404, 42), QStringLiteral("A"), QPointF(32, 0), tf);
    terminal(p, B, QPointF(80, 552), QStringLiteral("B"), QPointF(0, -36), tf);
    terminal(p, C, QPointF(728, 552), QStringLiteral("C"), QPointF(0, -36), tf);
    c.save();
}

void wyeWinding()
{
    Canvas c("ThreePhaseWye.png", 1057, 794, true);
    QPainter &p = c.p();
    frame(p, 1057, 794);
    const QPointF O(528, 452);
    const double len = 380;
    p.setPen(QPen(ink::accent, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const LegStyle s{5, sansFont(28, true), 54, 78, 88, 62};
    // back-EMF at the star point, then L and R out to the terminal
    const QVector<Part> parts = {Part::Source, Part::Inductor, Part::Resistor};
    const QFont tf = sansFont(30, true);
    const QString names[3] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
    for (int k = 0; k < 3; ++k) {
        const double angle = (90 + 120 * k) * M_PI / 180;
        const QPointF d(std::cos(angle), -std::sin(angle));
        const QPointF end = O + d * len;
        // labels on the upper side of the slanted legs and left of the upright one
        QPointF side(-d.y(), d.x());
        if (side.y() > 0 || (std::abs(side.y()) < 1e-9 && side.x() > 0)) side = -side;
        windingLeg(p, O, end, parts, side, s, 72, 8);
        const QPointF t = end + d * 30;
        terminal(p, end, t, names[k], k == 0 ? QPointF(36, 0) : QPointF(0, 40), tf);
    }
    junction(p, O, 9);
    c.save();
}

// ---- The two picture buttons of the three-phase page: blue on white, about 455 x 390 ----------

void editMotor()
{
    Canvas c("ThreePhaseEditMotor.png", 455, 390, true);
    QPainter &p = c.p();
    QPen pen(ink::accent, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(176, 44, 74, 30), 6, 6); // terminal box
    p.drawPolygon(QPolygonF(
        {QPointF(150, 226), QPointF(300, 226), QPointF(318, 256), QPointF(132, 256)})); // feet
    p.drawRoundedRect(QRectF(98, 92, 30, 120), 10, 10);                                 // end cap
    p.drawRoundedRect(QRectF(304, 136, 60, 32), 6, 6);                                  // shaft
    p.drawRoundedRect(QRectF(122, 74, 190, 156), 22, 22);
    pen.setWidth(6);
    p.setPen(pen);
    for (int i = 0; i < 5; ++i) {
        const double y = 100 + 26 * i;
        p.drawLine(QPointF(146, y), QPointF(288, y));
    }
    drawCentredText(p, QPointF(227.5, 330), QStringLiteral("Edit Motor"), sansFont(50, true),
                    ink::accent);
    c.save();
}

void editWaveform()
{
    Canvas c("ThreePhaseEditWaveform.png", 455, 390, true);
    QPainter &p = c.p();
    const QPointF centre(227.5, 158);
    const double r = 112;
    p.setPen(QPen(ink::accent, 8));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, r, r);
    p.setPen(QPen(ink::accent, 5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i <= 10; ++i) {
        const double a = (225 - 27 * i) * M_PI / 180;
        const QPointF d(std::cos(a), -std::sin(a));
        const double inner = i % 5 == 0 ? r - 34 : r - 24;
        p.drawLine(centre + d * inner, centre + d * (r - 12));
    }
    // a sine on the dial face: what the control profile shapes
    QPainterPath wave;
    for (int i = 0; i <= 80; ++i) {
        const double t = i / 80.0;
        const QPointF pt(centre.x() - 44 + 88 * t, centre.y() + 58 - 14 * std::sin(2 * M_PI * t));
        if (i == 0)
            wave.moveTo(pt);
        else
            wave.lineTo(pt);
    }
    p.setPen(QPen(ink::accentLight, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    const double a = 55 * M_PI / 180;
    p.setPen(QPen(ink::accent, 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(std::cos(a), -std::sin(a)) * (r - 40));
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accent);
    p.drawEllipse(centre, 15, 15);
    drawCentredText(p, QPointF(227.5, 330), QStringLiteral("Edit Waveform"), sansFont(46, true),
                    ink::accent);
    c.save();
}

} // namespace

void drawLoopDiagrams()
{
    loopDiagram("V1SI.png", Loop::Voltage1);
    loopDiagram("V2SI.png", Loop::Voltage2);
    loopDiagram("I1SI.png", Loop::Current1);
    loopDiagram("I2SI.png", Loop::Current2);
}

void drawThreePhasePictures()
{
    deltaWinding();
    wyeWinding();
    editMotor();
    editWaveform();
}

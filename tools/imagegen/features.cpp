#include "canvas.h"
#include "generators.h"
#include "iso.h"
#include "packages.h"
#include "schematic.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <cmath>
#include <functional>

// The eleven feature buttons of the home page: a blue frame, a small drawing of what the page
// does, and the page's title below it. The home page's grid gives the buttons a wide shape
// (about 180 x 68 at the window's first size) and stretches the picture over it, so the faces
// are drawn in about that shape.

namespace {

const int faceWidth = 320, faceHeight = 128;

const double lineWidth = 3.0;
// The drawings are scaled down onto the faces; their lines are thickened to match, so they stay
// as strong as the frame and the title.
const double penWeight = 1.3;

QPen linePen(double w = lineWidth)
{
    return QPen(ink::line, w * penWeight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPen accentPen(double w = 3.5, const QColor &c = ink::accent)
{
    return QPen(c, w * penWeight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath curve(const std::function<QPointF(double)> &f, int steps = 160)
{
    QPainterPath path(f(0));
    for (int i = 1; i <= steps; ++i)
        path.lineTo(f(double(i) / steps));
    return path;
}

QPainterPath sine(double x0, double x1, double y, double amplitude, double cycles, double phase = 0)
{
    return curve([=](double t) {
        return QPointF(x0 + (x1 - x0) * t, y - amplitude * std::sin(2 * M_PI * cycles * t + phase));
    });
}

void face(const QString &file, const QString &title, const std::function<void(QPainter &)> &icon)
{
    Canvas c(file, faceWidth, faceHeight);
    QPainter &p = c.p();
    const QRectF frame(2.5, 2.5, faceWidth - 5, faceHeight - 5);
    const double bandTop = faceHeight - 38;
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accentPale);
    QPainterPath band;
    band.addRoundedRect(frame, 14, 14);
    QPainterPath lower;
    lower.addRect(QRectF(0, bandTop, faceWidth, faceHeight - bandTop));
    p.drawPath(band.intersected(lower));
    p.setPen(QPen(ink::accent, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(frame, 14, 14);
    p.setPen(QPen(ink::accentLight, 1.5));
    p.drawLine(QPointF(4, bandTop), QPointF(faceWidth - 4, bandTop));

    QFont f = sansFont(20, true);
    while (QFontMetricsF(f).horizontalAdvance(title) > faceWidth - 30 && f.pixelSize() > 12)
        f.setPixelSize(f.pixelSize() - 1);
    drawCentredText(p, QPointF(faceWidth / 2.0, (bandTop + faceHeight) / 2 - 1), title, f,
                    ink::accentDark);

    // The drawings are made in a 252 x 126 box and scaled into the space above the title.
    const double boxH = bandTop - 12, scale = boxH / 126.0;
    p.save();
    p.translate((faceWidth - 252 * scale) / 2, 6);
    p.scale(scale, scale);
    p.setPen(linePen());
    p.setBrush(Qt::NoBrush);
    icon(p);
    p.restore();
    c.save();
}

void linearIcon(QPainter &p)
{
    p.setBrush(ink::accentPale);
    const OpAmpPins a = opAmp(p, QPointF(132, 70), 58);
    p.setBrush(Qt::NoBrush);
    const QPointF node(84, a.minus.y());
    twoTerminal(p, QPointF(38, node.y()), node, Part::Resistor, 30);
    wire(p, {node, a.minus});
    wire(p, {node, QPointF(84, 18)});
    twoTerminal(p, QPointF(84, 18), QPointF(184, 18), Part::Resistor, 34);
    wire(p, {QPointF(184, 18), QPointF(184, 70)});
    wire(p, {a.out, QPointF(200, 70)});
    wire(p, {a.plus, QPointF(92, a.plus.y()), QPointF(92, 102)});
    ground(p, QPointF(92, 102), 20);
    junction(p, node, 4);
    junction(p, QPointF(184, 70), 4);
    p.setPen(accentPen(3));
    p.drawPath(sine(4, 32, node.y(), 7, 1));
    p.drawPath(sine(206, 250, 70, 24, 1));
}

void pwmIcon(QPainter &p)
{
    p.setPen(QPen(ink::faint, 2));
    p.drawLine(QPointF(6, 104), QPointF(246, 104));
    drawPwmWave(p, QRectF(6, 22, 240, 82), 10, linePen(2.5), accentPen(4.5));
}

void soaIcon(QPainter &p)
{
    const QPointF o(26, 112);
    const QPolygonF boundary({QPointF(o.x(), 22), QPointF(96, 22), QPointF(160, 60),
                              QPointF(198, 100), QPointF(198, o.y())});
    QPolygonF area = boundary;
    area << o;
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accentPale);
    p.drawPolygon(area);
    p.setBrush(Qt::NoBrush);
    p.setPen(linePen(2));
    arrowLine(p, o, QPointF(246, o.y()), 10);
    arrowLine(p, o, QPointF(o.x(), 2), 10);
    p.setPen(linePen(3));
    p.drawPolyline(boundary);
    p.setPen(accentPen(3.5));
    p.drawPath(curve([&](double t) {
        // A reactive load line: high current at low voltage, bowing towards the supply.
        const double x = 32 + 150 * t;
        const double y = 32 + 78 * std::pow(t, 1.6) + 8 * std::sin(M_PI * t);
        return QPointF(x, y);
    }));
    const QFont f = sansFont(13, true);
    drawCentredText(p, QPointF(238, 124), QStringLiteral("V"), f, ink::grey);
    drawCentredText(p, QPointF(14, 10), QStringLiteral("I"), f, ink::grey);
}

void howlandIcon(QPainter &p)
{
    p.setBrush(ink::accentPale);
    const OpAmpPins a = opAmp(p, QPointF(122, 58), 48);
    p.setBrush(Qt::NoBrush);
    const QPointF nm(82, a.minus.y()), out(154, 58), load(206, 58), np(86, 94);
    p.drawEllipse(QPointF(20, nm.y()), 4, 4);
    twoTerminal(p, QPointF(24, nm.y()), nm, Part::Resistor, 28);
    wire(p, {nm, a.minus});
    wire(p, {nm, QPointF(nm.x(), 14)});
    twoTerminal(p, QPointF(nm.x(), 14), QPointF(out.x(), 14), Part::Resistor, 32);
    wire(p, {QPointF(out.x(), 14), out});
    wire(p, {a.out, out});
    twoTerminal(p, out, load, Part::Resistor, 28);
    wire(p, {load, QPointF(226, 58)});
    twoTerminal(p, QPointF(226, 58), QPointF(226, 104), Part::Resistor, 26);
    ground(p, QPointF(226, 104), 18);
    wire(p, {a.plus, QPointF(np.x(), a.plus.y()), np});
    twoTerminal(p, np, QPointF(20, np.y()), Part::Resistor, 28);
    wire(p, {QPointF(20, np.y()), QPointF(20, 100)});
    ground(p, QPointF(20, 100), 18);
    twoTerminal(p, np, QPointF(load.x(), np.y()), Part::Resistor, 32);
    wire(p, {QPointF(load.x(), np.y()), load});
    junction(p, nm, 3.5);
    junction(p, out, 3.5);
    junction(p, load, 3.5);
    junction(p, np, 3.5);
    p.setPen(accentPen(3.5));
    arrowLine(p, QPointF(244, 62), QPointF(244, 100), 11);
}

void filterIcon(QPainter &p)
{
    const double top = 40, bottom = 104;
    // the switching source: a square wave in a box
    p.setBrush(ink::accentPale);
    p.drawRect(QRectF(2, 52, 36, 40));
    p.setBrush(Qt::NoBrush);
    p.setPen(accentPen(2.5));
    p.drawPolyline(QPolygonF({QPointF(8, 82), QPointF(14, 82), QPointF(14, 62), QPointF(22, 62),
                              QPointF(22, 82), QPointF(28, 82), QPointF(28, 62), QPointF(33, 62)}));
    p.setPen(linePen());
    wire(p, {QPointF(20, 52), QPointF(20, top), QPointF(34, top)});
    wire(p, {QPointF(20, 92), QPointF(20, bottom), QPointF(212, bottom)});
    twoTerminal(p, QPointF(34, top), QPointF(98, top), Part::Inductor, 46);
    twoTerminal(p, QPointF(98, top), QPointF(98, bottom), Part::Capacitor, 26);
    twoTerminal(p, QPointF(98, top), QPointF(162, top), Part::Inductor, 46);
    twoTerminal(p, QPointF(162, top), QPointF(162, bottom), Part::Capacitor, 26);
    wire(p, {QPointF(162, top), QPointF(212, top)});
    twoTerminal(p, QPointF(212, top), QPointF(212, bottom), Part::Resistor, 34);
    for (const QPointF &j :
         {QPointF(98, top), QPointF(162, top), QPointF(98, bottom), QPointF(162, bottom)})
        junction(p, j, 3.5);
    p.setPen(accentPen(3));
    p.drawPath(sine(222, 250, 72, 16, 1));
}

void motorIcon(QPainter &p)
{
    const QPointF c(62, 63);
    p.setBrush(ink::accentPale);
    p.drawRect(QRectF(c.x() + 40, c.y() - 6, 22, 12)); // shaft
    p.drawEllipse(c, 46, 46);
    p.setBrush(Qt::NoBrush);
    drawCentredText(p, c + QPointF(0, -6), QStringLiteral("M"), sansFont(36, true),
                    ink::accentDark);
    drawCentredText(p, c + QPointF(0, 26), QStringLiteral("3~"), sansFont(17, true),
                    ink::accentDark);
    p.setPen(QPen(ink::faint, 2));
    p.drawLine(QPointF(134, 63), QPointF(250, 63));
    const QColor shades[3] = {ink::accentDark, ink::accent, ink::accentLight};
    for (int k = 0; k < 3; ++k) {
        p.setPen(accentPen(3.5, shades[k]));
        p.drawPath(sine(134, 250, 63, 42, 1.5, -2 * M_PI * k / 3));
    }
}

void stabilityIcon(QPainter &p)
{
    p.setPen(linePen(2));
    p.drawRect(QRectF(14, 4, 232, 116));
    p.setPen(QPen(ink::faint, 1.5, Qt::DashLine));
    for (int i = 1; i < 4; ++i)
        p.drawLine(QPointF(14 + 58 * i, 5), QPointF(14 + 58 * i, 119));
    p.setPen(QPen(ink::grey, 2, Qt::DashLine));
    p.drawLine(QPointF(15, 62), QPointF(245, 62)); // 0 dB
    // Loop gain: 60 dB, poles at 3 and 8000 (arbitrary units), five decades across.
    auto magDb = [](double f) {
        return 60 - 10 * std::log10(1 + f * f / 9) - 10 * std::log10(1 + f * f / 6.4e7);
    };
    auto xOf = [](double t) { return 14 + 232 * t; };
    double crossing = 0;
    for (int i = 0; i <= 1000; ++i)
        if (magDb(std::pow(10.0, 5 * i / 1000.0)) > 0) crossing = i / 1000.0;
    p.setPen(QPen(ink::line, 1.5, Qt::DotLine));
    p.drawLine(QPointF(xOf(crossing), 6), QPointF(xOf(crossing), 118));
    p.setPen(accentPen(3, ink::accentLight));
    p.drawPath(curve([&](double t) {
        const double f = std::pow(10.0, 5 * t);
        const double lagDeg = (std::atan(f / 3) + std::atan(f / 8000)) * 180 / M_PI;
        return QPointF(xOf(t), 72 + lagDeg * 0.25);
    }));
    p.setPen(accentPen(3.5));
    p.drawPath(curve([&](double t) {
        return QPointF(xOf(t), std::min(118.0, 62 - magDb(std::pow(10.0, 5 * t)) * 0.85));
    }));
}

void powerIcon(QPainter &p)
{
    p.setPen(linePen(2));
    p.drawLine(QPointF(10, 116), QPointF(168, 116));
    auto bar = [&](double x, double y0, double y1, const QColor &c) {
        p.setBrush(c);
        p.setPen(QPen(ink::line, 2));
        p.drawRect(QRectF(x, y1, 34, y0 - y1));
    };
    bar(22, 116, 14, ink::accent);
    bar(72, 116, 84, ink::accentDark);
    bar(72, 84, 62, ink::accent);
    bar(72, 62, 50, ink::accentLight);
    bar(122, 116, 40, ink::accentLight);
    bar(122, 40, 30, ink::accentPale);
    // thermometer
    const QPointF bulb(214, 100);
    p.setPen(linePen(3));
    p.setBrush(Qt::white);
    QPainterPath tube;
    tube.addRoundedRect(QRectF(bulb.x() - 9, 8, 18, 90), 9, 9);
    tube.addEllipse(bulb, 17, 17);
    p.drawPath(tube.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(ink::accent);
    p.drawEllipse(bulb, 11, 11);
    p.drawRect(QRectF(bulb.x() - 4, 40, 8, 60));
    p.setPen(linePen(2));
    for (int i = 0; i < 4; ++i)
        p.drawLine(QPointF(bulb.x() + 12, 22 + 18 * i), QPointF(bulb.x() + 20, 22 + 18 * i));
}

void controlIcon(QPainter &p)
{
    const QFont f = sansFont(14, true);
    const double y = 44;
    p.setPen(linePen(2.5));
    arrowLine(p, QPointF(0, y), QPointF(30, y), 10);
    summingJunction(p, QPointF(42, y), 12);
    arrowLine(p, QPointF(54, y), QPointF(78, y), 10);
    p.setBrush(ink::accentPale);
    labelledBlock(p, QRectF(78, y - 20, 56, 40), QStringLiteral("INT"), f);
    p.setBrush(Qt::NoBrush);
    arrowLine(p, QPointF(134, y), QPointF(156, y), 10);
    p.setBrush(ink::accentPale);
    labelledBlock(p, QRectF(156, y - 20, 56, 40), QStringLiteral("PWM"), f);
    p.setBrush(Qt::NoBrush);
    arrowLine(p, QPointF(212, y), QPointF(250, y), 10);
    junction(p, QPointF(230, y), 3.5);
    wire(p, {QPointF(230, y), QPointF(230, 102), QPointF(164, 102)});
    p.setBrush(ink::accentPale);
    labelledBlock(p, QRectF(108, 84, 56, 36), QStringLiteral("FBK"), f);
    p.setBrush(Qt::NoBrush);
    wire(p, {QPointF(108, 102), QPointF(42, 102)});
    arrowLine(p, QPointF(42, 102), QPointF(42, y + 12), 10);
}

void heatsinkIcon(QPainter &p)
{
    IsoScene scene;
    HeatsinkRow row;
    row.length = 2.2;
    row.width = 1.9;
    row.height = 1.2;
    addHeatsink(scene, row, false);
    scene.draw(p, QRectF(30, 26, 192, 102), 1.1);
    p.setPen(accentPen(3));
    for (int k = 0; k < 3; ++k) {
        const double x = 90 + 36 * k;
        p.drawPath(curve(
            [x](double t) { return QPointF(x + 5 * std::sin(2 * M_PI * 1.5 * t), 30 - 28 * t); }));
    }
}

void tutorialIcon(QPainter &p)
{
    // an open book
    const QPointF spine(110, 112);
    QPainterPath left, right;
    left.moveTo(spine);
    left.cubicTo(QPointF(86, 100), QPointF(50, 100), QPointF(20, 108));
    left.lineTo(20, 22);
    left.cubicTo(QPointF(50, 14), QPointF(86, 14), QPointF(110, 26));
    left.closeSubpath();
    right.moveTo(spine);
    right.cubicTo(QPointF(134, 100), QPointF(170, 100), QPointF(200, 108));
    right.lineTo(200, 22);
    right.cubicTo(QPointF(170, 14), QPointF(134, 14), QPointF(110, 26));
    right.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(ink::faint, 3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i) {
        const double y = 38 + 13 * i;
        p.drawLine(QPointF(34, y), QPointF(96, y));
        p.drawLine(QPointF(124, y), QPointF(i == 4 ? 160 : 186, y));
    }
    // a play button on the page corner
    const QPointF c(212, 92);
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(ink::accent);
    p.drawEllipse(c, 26, 26);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({c + QPointF(-8, -13), c + QPointF(-8, 13), c + QPointF(14, 0)}));
}

} // namespace

void drawFeatureButtons()
{
    face("Linear.jpg", QStringLiteral("Linear Amplifiers"), linearIcon);
    face("PWM.jpg", QStringLiteral("PWM Amplifiers"), pwmIcon);
    face("SOA.jpg", QStringLiteral("Safe Operating Area"), soaIcon);
    face("IHCP.jpg", QStringLiteral("Howland Current Pump"), howlandIcon);
    face("Filter.jpg", QStringLiteral("PWM Filter"), filterIcon);
    face("Motor.jpg", QStringLiteral("3-Phase Motor"), motorIcon);
    face("Stability.jpg", QStringLiteral("Stability"), stabilityIcon);
    face("Power.jpg", QStringLiteral("PWM Power"), powerIcon);
    face("Control.jpg", QStringLiteral("PWM Control"), controlIcon);
    face("Heatsink.jpg", QStringLiteral("Heatsinks"), heatsinkIcon);
    face("Tutorial.jpg", QStringLiteral("Tutorials"), tutorialIcon);
}

#include "packages.h"

#include "canvas.h"
#include "iso.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// ---- Tables ------------------------------------------------------------------------------------

// Rows of a tab-separated table as cell lists, header first. Line ends may be CR LF.
QVector<QStringList> readTable(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "imagegen: no table at %s, using the built-in list\n",
                     qPrintable(path));
        return {};
    }
    // The catalog tables are 8-bit text (the micro sign is one Latin-1 byte).
    const QString text = QString::fromLatin1(file.readAll());
    QVector<QStringList> rows;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('\r'));
        if (line.trimmed().isEmpty()) continue;
        QStringList cells;
        for (const QString &cell : line.split(QLatin1Char('\t')))
            cells << cell.trimmed();
        rows << cells;
    }
    return rows;
}

QString cell(const QStringList &row, int column)
{
    return column >= 0 && column < row.size() ? row[column] : QString();
}

// ---- Package outlines --------------------------------------------------------------------------

enum class Outline {
    MetalCan,
    TabMount,
    PowerSip,
    Dip,
    PowerDip,
    GullWing,
    Leadless,
    SurfaceTab,
    OpenFrame,
    PowerModule
};

struct PackageShape
{
    Outline outline;
    int pins;
    bool slug = false;           // an exposed heat slug on top
    bool plastic = false;        // a moulded body where the outline is usually metal
    bool screws = false;         // screw terminals in place of pins
    bool metalSubstrate = false; // a board on an aluminium base
};

int pinCount(const QString &text, int fallback)
{
    static const QRegularExpression re(QStringLiteral("(\\d+)\\s*-?\\s*(pin|lead)"),
                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = re.match(text);
    const int n = m.hasMatch() ? m.captured(1).toInt() : 0;
    return n >= 2 && n <= 64 ? n : fallback;
}

// What to draw for a package: read from its descriptions first, so that codes added to the
// table later draw sensibly; the codes we know stand in when the text says nothing useful.
PackageShape shapeOf(const PackageRow &row)
{
    const QString t = row.shortDesc + QLatin1Char(' ') + row.fullDesc;
    auto has = [&t](const char *pattern) {
        return t.contains(
            QRegularExpression(QLatin1String(pattern), QRegularExpression::CaseInsensitiveOption));
    };
    Outline o;
    bool known = true;
    if (has("power module|baseplate"))
        o = Outline::PowerModule;
    else if (has("open[- ]?frame|module"))
        o = Outline::OpenFrame;
    else if (has("\\bSIP\\b|single[- ]in[- ]?line"))
        o = Outline::PowerSip;
    else if (has("\\bTO-?3\\b|metal can"))
        o = Outline::MetalCan;
    else if (has("D2-?PAK|DD-?PAK|TO-?263"))
        o = Outline::SurfaceTab;
    else if (has("TO-?220|TO-?247|TO-?218"))
        o = Outline::TabMount;
    else if (has("\\bDIP\\b|dual[- ]in[- ]?line"))
        o = has("power|MO-?127|hermetic|flange") ? Outline::PowerDip : Outline::Dip;
    else if (has("QFN|DFN|leadless"))
        o = Outline::Leadless;
    else if (has("surface|\\bSMT\\b|\\bSMD\\b|\\bSO\\b|SOIC|PSOP|power ?SO"))
        o = has("\\btab\\b") ? Outline::SurfaceTab : Outline::GullWing;
    else
        known = false;
    if (!known) {
        static const QHash<QString, Outline> byCode = {
            {"CE", Outline::MetalCan},  {"CC", Outline::SurfaceTab},  {"CD", Outline::TabMount},
            {"CR", Outline::PowerDip},  {"DE", Outline::PowerDip},    {"DF", Outline::GullWing},
            {"DK", Outline::GullWing},  {"DP", Outline::PowerSip},    {"EL", Outline::Dip},
            {"OF", Outline::OpenFrame}, {"PM", Outline::PowerModule}, {"SM", Outline::Leadless}};
        o = byCode.value(row.code, Outline::Dip);
    }
    int fallback = 8;
    switch (o) {
    case Outline::MetalCan:
        fallback = 8;
        break;
    case Outline::TabMount:
        fallback = 3;
        break;
    case Outline::PowerSip:
        fallback = 12;
        break;
    case Outline::Dip:
        fallback = 18;
        break;
    case Outline::PowerDip:
        fallback = 12;
        break;
    case Outline::GullWing:
        fallback = 20;
        break;
    case Outline::Leadless:
        fallback = 28;
        break;
    case Outline::SurfaceTab:
        fallback = 7;
        break;
    case Outline::OpenFrame:
        fallback = 10;
        break;
    case Outline::PowerModule:
        fallback = 32;
        break;
    }
    PackageShape shape{o, pinCount(t, fallback)};
    shape.slug = has("slug|exposed|heat ?spreader");
    shape.plastic = has("plastic|moulded|molded");
    shape.screws = has("screw");
    shape.metalSubstrate = has("metal substrate|\\bIMS\\b");
    return shape;
}

const QColor epoxy(0x3b, 0x40, 0x47);
const QColor metal(0xc2, 0xc9, 0xd1);
const QColor lead(0xd8, 0xdc, 0xe0);
const QColor hole(0x4a, 0x50, 0x58);
const QColor board(0x23, 0x52, 0x8f);

// Marking text on a face, in the face's own (a, b) units: centre, height, and whether the
// face's a axis points up (a front face) or along the text (a top face).
void marking(QPainter &p, const QPointF &centre, double height, const QString &text, bool aIsUp,
             const QColor &colour = QColor(0xdd, 0xe2, 0xe8))
{
    p.save();
    p.translate(centre);
    if (aIsUp) p.setTransform(QTransform(0, 1, -1, 0, 0, 0), true);
    p.scale(height / 20.0, height / 20.0);
    const QFont f = sansFont(20, true);
    const double w = QFontMetricsF(f).horizontalAdvance(text);
    p.setFont(f);
    p.setPen(colour);
    p.drawText(QPointF(-w / 2, 7), text);
    p.restore();
}

void metalCan(IsoScene &s, int pins)
{
    // pins on a circle under the can; drawn first, the flange covers their roots
    for (int i = 0; i < pins; ++i) {
        const double a = 2 * M_PI * (i + 0.5) / pins;
        s.cylinderZ(QVector3D(float(7.5 * std::cos(a)), float(7.5 * std::sin(a)), -9), 0.5, 9,
                    lead);
    }
    QVector<QPointF> outline;
    for (const QPointF &p : circlePolygon(QPointF(0, 0), 12.7, 72))
        outline << p;
    for (double cx : {-15.1, 15.1})
        for (const QPointF &p : circlePolygon(QPointF(cx, 0), 4.6, 36))
            outline << p;
    Prism &flange = s.extrudeZ(convexHull(outline), 0, 1.6, metal);
    flange.smooth = true;
    flange.endArt = [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(hole);
        p.drawEllipse(QPointF(-15.1, 0), 2.05, 2.05);
        p.drawEllipse(QPointF(15.1, 0), 2.05, 2.05);
    };
    s.cylinderZ(QVector3D(0, 0, 1.6), 11.0, 5.2, metal.lighter(104));
    Prism &top = s.cylinderZ(QVector3D(0, 0, 6.8), 10.2, 0.9, metal.lighter(108));
    top.endArt = [](QPainter &p) {
        marking(p, QPointF(0, 0), 3.4, QStringLiteral("KEST"), false, QColor(0x55, 0x5c, 0x66));
    };
}

// An upright body with a mounting tab behind it and leads in one row below; the power SIP is
// the wide form of the same thing, with a mounting ear at each end.
void tabMount(IsoScene &s, int pins, bool sip)
{
    const double bw = sip ? 32 : 10.2, bh = sip ? 13 : 9.2, bt = sip ? 5 : 4.5;
    const double tw = sip ? 44 : 10.2, th = sip ? 13 : 15.6;
    Prism tab;
    tab.origin = QVector3D(0, -1.3f, 0);
    tab.u = QVector3D(0, 0, 1);
    tab.v = QVector3D(1, 0, 0);
    tab.w = QVector3D(0, 1.3f, 0);
    tab.polygon = QPolygonF(
        {QPointF(0, -tw / 2), QPointF(th, -tw / 2), QPointF(th, tw / 2), QPointF(0, tw / 2)});
    // u x v = +y, so (a, b) = (z, x) runs counter-clockwise as listed
    tab.colour = metal;
    tab.endArt = [sip, th, tw](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(hole);
        if (sip) {
            p.drawEllipse(QPointF(th / 2, -tw / 2 + 3.2), 1.8, 1.8);
            p.drawEllipse(QPointF(th / 2, tw / 2 - 3.2), 1.8, 1.8);
        } else {
            p.drawEllipse(QPointF(th - 2.8, 0), 1.85, 1.85);
        }
    };
    s.add(tab);
    Prism body;
    body.origin = QVector3D(0, 0, 0);
    body.u = QVector3D(0, 0, 1);
    body.v = QVector3D(1, 0, 0);
    body.w = QVector3D(0, float(bt), 0);
    body.polygon = QPolygonF(
        {QPointF(0, -bw / 2), QPointF(bh, -bw / 2), QPointF(bh, bw / 2), QPointF(0, bw / 2)});
    body.colour = epoxy;
    body.endArt = [bh, sip](QPainter &p) {
        marking(p, QPointF(bh * 0.55, 0), sip ? 3.0 : 1.8, QStringLiteral("KEST"), true);
    };
    s.add(body);
    const double span = sip ? bw - 4 : pins > 3 ? bw - 1.6 : 5.08;
    const double pitch = pins > 1 ? std::min(2.54, span / (pins - 1)) : 0;
    const double w = std::min(0.8, pitch * 0.55);
    const double yc = bt * 0.45, yj = bt * 0.85;
    for (int i = 0; i < pins; ++i) {
        const float x = float(-pitch * (pins - 1) / 2 + pitch * i);
        const float fw = float(w);
        s.box(QVector3D(x - fw, float(yc - 0.25), -2.5f), QVector3D(2 * fw, 0.5f, 2.5f), lead);
        if (sip && i % 2) {
            // the wide package staggers its leads: every other one jogs forward
            s.box(QVector3D(x - fw / 2, float(yc + 0.25), -3.0f),
                  QVector3D(fw, float(yj - yc), 0.5f), lead);
            s.box(QVector3D(x - fw / 2, float(yj - 0.25), -12.0f), QVector3D(fw, 0.5f, 9.0f), lead);
        } else {
            s.box(QVector3D(x - fw / 2, float(yc - 0.25), -12.0f), QVector3D(fw, 0.5f, 9.5f), lead);
        }
    }
}

// Leads of a through-hole dual in-line body along both long sides.
void dualInlineLeads(IsoScene &s, int perSide, double pitch, double halfWidth, double zShoulder)
{
    for (int side : {-1, 1})
        for (int i = 0; i < perSide; ++i) {
            const double x = -pitch * (perSide - 1) / 2 + pitch * i;
            const double yIn = side > 0 ? halfWidth : -halfWidth - 0.9;
            s.box(QVector3D(float(x - 0.55), float(yIn), float(zShoulder)),
                  QVector3D(1.1f, 0.9f, 0.3f), lead);
            const double yDown = side > 0 ? halfWidth + 0.6 : -halfWidth - 0.9;
            s.box(QVector3D(float(x - 0.55), float(yDown), -0.8f),
                  QVector3D(1.1f, 0.3f, float(zShoulder + 0.8)), lead);
            s.box(QVector3D(float(x - 0.25), float(yDown), -3.8f), QVector3D(0.5f, 0.3f, 3.0f),
                  lead);
        }
}

void dip(IsoScene &s, int pins)
{
    const int perSide = std::max(1, pins / 2);
    const double len = perSide * 2.54 + 0.6, hw = 3.2;
    dualInlineLeads(s, perSide, 2.54, hw, 1.5);
    Prism &body = s.box(QVector3D(float(-len / 2), float(-hw), 0.4f),
                        QVector3D(float(len), float(2 * hw), 3.4f), epoxy);
    body.endArt = [len, hw](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(epoxy.darker(140));
        p.drawPie(QRectF(-1.2, hw - 1.2, 2.4, 2.4), 90 * 16, -180 * 16);
        p.drawEllipse(QPointF(1.8, 1.0), 0.55, 0.55);
        marking(p, QPointF(len / 2, hw), 1.8, QStringLiteral("KEST"), false);
    };
}

void powerDip(IsoScene &s, int pins, bool plastic)
{
    const int perSide = std::max(1, pins / 2);
    const double len = perSide * 2.54 + 2.5, hw = 5.2, ear = 7.5;
    Prism &flange = s.extrudeZ(
        roundedRectPolygon(QRectF(-len / 2 - ear, -hw + 1.2, len + 2 * ear, 2 * hw - 2.4), 2.0), 0,
        1.0, metal);
    flange.smooth = true;
    flange.endArt = [len, ear](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(hole);
        p.drawEllipse(QPointF(-len / 2 - ear / 2, 0), 1.6, 1.6);
        p.drawEllipse(QPointF(len / 2 + ear / 2, 0), 1.6, 1.6);
    };
    dualInlineLeads(s, perSide, 2.54, hw, 2.2);
    if (plastic) {
        Prism &body = s.box(QVector3D(float(-len / 2), float(-hw), 1.0f),
                            QVector3D(float(len), float(2 * hw), 3.6f), epoxy);
        body.endArt = [len, hw](QPainter &p) {
            marking(p, QPointF(len / 2, hw), 2.0, QStringLiteral("KEST"), false);
        };
        return;
    }
    s.box(QVector3D(float(-len / 2), float(-hw), 1.0f), QVector3D(float(len), float(2 * hw), 3.0f),
          metal.darker(104));
    Prism &lid = s.box(QVector3D(float(-len / 2 + 0.8), float(-hw + 0.8), 4.0f),
                       QVector3D(float(len - 1.6), float(2 * hw - 1.6), 0.5f), metal.lighter(106));
    lid.endArt = [len, hw](QPainter &p) {
        marking(p, QPointF((len - 1.6) / 2, hw - 0.8), 2.0, QStringLiteral("KEST"), false,
                QColor(0x55, 0x5c, 0x66));
    };
}

// Gull-wing leads on both long sides of a moulded body with a heat slug on top.
void gullWing(IsoScene &s, int pins, bool slug)
{
    // small-outline bodies up to 16 leads, wide power bodies beyond
    const bool small = pins <= 16;
    const int perSide = std::max(1, pins / 2);
    const double pitch = 1.27, len = perSide * pitch + (small ? 0.8 : 1.4);
    const double hw = small ? 1.95 : 5.5, reach = small ? 1.05 : 1.9, height = small ? 1.5 : 2.3;
    const double zs = height * 0.5;
    auto leads = [&](int side) {
        for (int i = 0; i < perSide; ++i) {
            const float x = float(-pitch * (perSide - 1) / 2 + pitch * i - 0.22);
            // (from, to): distances out from the body side
            auto part = [&](double from, double to, double z0, double dz) {
                const double y0 = side > 0 ? hw + from : -hw - to;
                s.box(QVector3D(x, float(y0), float(z0)),
                      QVector3D(0.44f, float(to - from), float(dz)), lead);
            };
            part(0, reach * 0.37, zs, 0.22);
            part(reach * 0.37, reach * 0.5, 0, zs + 0.22);
            part(reach * 0.5, reach, 0, 0.22);
        }
    };
    leads(-1);
    Prism &body = s.box(QVector3D(float(-len / 2), float(-hw), 0.15f),
                        QVector3D(float(len), float(2 * hw), float(height)), epoxy);
    body.endArt = [len, hw, slug](QPainter &p) {
        if (slug) {
            p.setPen(QPen(metal.darker(130), 0.12));
            p.setBrush(metal);
            p.drawRect(QRectF(len * 0.2, hw * 0.45, len * 0.6, hw * 1.1));
        } else {
            marking(p, QPointF(len / 2, hw), std::min(1.8, hw * 0.5), QStringLiteral("KEST"),
                    false);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(epoxy.darker(140));
        p.drawEllipse(QPointF(0.9, 2 * hw - 0.9), 0.4, 0.4);
    };
    leads(1);
}

// A leadless square body with pads along the bottom edge of every side.
void leadless(IsoScene &s, int pins)
{
    const int perSide = std::max(1, pins / 4);
    const double pitch = 0.5, side = perSide * pitch + 1.0, h = 0.9;
    Prism &body = s.box(QVector3D(float(-side / 2), float(-side / 2), 0),
                        QVector3D(float(side), float(side), float(h)), epoxy);
    body.endArt = [side](QPainter &p) {
        marking(p, QPointF(side / 2, side / 2), side * 0.16, QStringLiteral("KEST"), false);
        p.setPen(Qt::NoPen);
        p.setBrush(epoxy.darker(140));
        p.drawEllipse(QPointF(side * 0.12, side * 0.12), side * 0.05, side * 0.05);
    };
    for (int i = 0; i < perSide; ++i) {
        const float c = float(-pitch * (perSide - 1) / 2 + pitch * i - 0.13);
        s.box(QVector3D(float(side / 2), c, 0), QVector3D(0.04f, 0.26f, 0.2f), lead);
        s.box(QVector3D(c, float(side / 2), 0), QVector3D(0.26f, 0.04f, 0.2f), lead);
    }
}

// A moulded housing on a baseplate with mounting holes, pins standing up from its top.
void powerModule(IsoScene &s, int pins)
{
    const int perRow = std::max(1, pins / 2);
    const double pitch = 2.54, len = perRow * pitch + 6, hw = 15, ear = 7;
    Prism &plate = s.extrudeZ(
        roundedRectPolygon(QRectF(-len / 2 - ear, -hw - 1, len + 2 * ear, 2 * hw + 2), 3.0), 0, 3.0,
        metal);
    plate.smooth = true;
    plate.endArt = [len, ear, hw](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(hole);
        for (double x : {-len / 2 - ear / 2, len / 2 + ear / 2})
            for (double y : {-hw * 0.6, hw * 0.6})
                p.drawEllipse(QPointF(x, y), 2.2, 2.2);
    };
    Prism &housing = s.box(QVector3D(float(-len / 2), float(-hw), 3),
                           QVector3D(float(len), float(2 * hw), 12), epoxy);
    housing.endArt = [len, hw](QPainter &p) {
        marking(p, QPointF(len / 2, hw * 0.95), 4.0, QStringLiteral("KEST"), false);
    };
    // short pins in rows near the long edges keep the marking in view
    for (double y : {-hw + 2.2, hw - 3.0})
        for (int i = 0; i < perRow; ++i) {
            const double x = -pitch * (perRow - 1) / 2 + pitch * i - 0.4;
            s.box(QVector3D(float(x), float(y), 15), QVector3D(0.8f, 0.8f, 3), lead);
        }
}

// A moulded body on a flat metal tab, leads bent down in front: a surface-mount tab package.
void surfaceTab(IsoScene &s, int pins)
{
    const double bw = 10.2;
    s.box(QVector3D(float(-bw / 2), -10.2f, 0), QVector3D(float(bw), 2.0f, 1.3f), metal);
    Prism &body =
        s.box(QVector3D(float(-bw / 2), -8.2f, 0), QVector3D(float(bw), 8.2f, 4.4f), epoxy);
    body.endArt = [bw](QPainter &p) {
        marking(p, QPointF(bw / 2, 4.5), 1.8, QStringLiteral("KEST"), false);
    };
    const double pitch = pins > 1 ? std::min(2.54, (bw - 1.6) / (pins - 1)) : 0;
    const double w = std::min(0.8, pitch * 0.45);
    for (int i = 0; i < pins; ++i) {
        const double x = -pitch * (pins - 1) / 2 + pitch * i - w / 2;
        s.box(QVector3D(float(x), 0, 1.7f), QVector3D(float(w), 1.6f, 0.4f), lead);
        s.box(QVector3D(float(x), 1.6f, 0.0f), QVector3D(float(w), 0.4f, 2.1f), lead);
        s.box(QVector3D(float(x), 2.0f, 0.0f), QVector3D(float(w), 1.6f, 0.4f), lead);
    }
}

void openFrame(IsoScene &s, int pins, bool screws, bool metalSubstrate)
{
    const double bx = 26, by = 16;
    const double pitch = 2.54;
    if (!screws)
        for (int i = 0; i < pins; ++i) {
            const double x = -pitch * (pins - 1) / 2 + pitch * i;
            s.box(QVector3D(float(x - 0.32), float(by - 2.4), -6.5f), QVector3D(0.64f, 0.64f, 6.5f),
                  lead);
        }
    // an insulated metal substrate: a thin board laid on an aluminium base
    const float z0 = metalSubstrate ? 1.4f : 0.0f;
    if (metalSubstrate)
        s.box(QVector3D(float(-bx), float(-by), 0), QVector3D(float(2 * bx), float(2 * by), z0),
              metal);
    Prism &pcb = s.box(QVector3D(float(-bx), float(-by), z0),
                       QVector3D(float(2 * bx), float(2 * by), 1.6f - z0 * 0.6f), board);
    pcb.endArt = [bx, by](QPainter &p) {
        marking(p, QPointF(bx * 1.65, by * 1.75), 2.6, QStringLiteral("KEST"), false,
                QColor(0xe8, 0xee, 0xf6));
        p.setPen(QPen(QColor(0xe8, 0xee, 0xf6), 0.25));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 3, 2 * bx - 6, 2 * by - 6));
    };
    const float top = z0 + 1.6f - z0 * 0.6f;
    if (screws)
        for (int i = 0; i < 4; ++i) {
            const float x = float(-bx + 6 + 8 * i);
            Prism &post = s.cylinderZ(QVector3D(x, float(by - 3.5), top), 2.2, 3.2, lead);
            post.endArt = [](QPainter &p) {
                p.setPen(QPen(hole, 0.6));
                p.drawLine(QPointF(-1.4, -0.5), QPointF(1.4, 0.5));
            };
        }
    // heat spreader with the power stage under it, a choke, two capacitors and a controller
    Prism &spreader = s.box(QVector3D(-23, -14, top), QVector3D(20, 14, 3.0f), metal);
    spreader.endArt = [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(hole);
        p.drawEllipse(QPointF(3, 7), 1.4, 1.4);
        p.drawEllipse(QPointF(17, 7), 1.4, 1.4);
    };
    s.cylinderZ(QVector3D(12, -6, top), 6.5, 7.0, QColor(0x4d, 0x55, 0x5e));
    for (double x : {-16.0, -8.0}) {
        Prism &cap =
            s.cylinderZ(QVector3D(float(x), screws ? 4 : 7, top), 3.2, 9.0, ink::accentLight);
        cap.endArt = [](QPainter &p) {
            p.setPen(QPen(QColor(0x8a, 0x93, 0x9c), 0.3));
            p.setBrush(QColor(0xd5, 0xda, 0xdf));
            p.drawEllipse(QPointF(0, 0), 2.9, 2.9);
        };
    }
    s.box(QVector3D(2, screws ? 2 : 5, top), QVector3D(9, 6, 1.8f), epoxy);
    s.box(QVector3D(15, screws ? 3 : 6, top), QVector3D(4, 3, 1.2f), epoxy);
}

// One line under the drawing: the code or name in bold, then what it is. The pages show these
// pictures at about 160 x 120, so the line is set large.
void caption(QPainter &p, int w, int h, const QString &title, const QString &detail)
{
    p.setPen(QPen(ink::faint, 1.5));
    p.drawLine(QPointF(16, h - 46), QPointF(w - 16, h - 46));
    const QFont bold = sansFont(24, true), plain = sansFont(21);
    const QFontMetricsF fb(bold), fp(plain);
    const double gap = 10, titleW = fb.horizontalAdvance(title);
    const QString d = fp.elidedText(detail, Qt::ElideRight, w - 24 - titleW - gap);
    const double total = titleW + (d.isEmpty() ? 0 : gap + fp.horizontalAdvance(d));
    const double x = (w - total) / 2, baseline = h - 14;
    p.setFont(bold);
    p.setPen(ink::accentDark);
    p.drawText(QPointF(x, baseline), title);
    p.setFont(plain);
    p.setPen(ink::grey);
    p.drawText(QPointF(x + titleW + gap, baseline), d);
}

} // namespace

// ---- Public ------------------------------------------------------------------------------------

QVector<PackageRow> readPackageTable(const QString &folder)
{
    const QVector<QStringList> rows = readTable(QDir(folder).filePath("PackageStyles.txt"));
    QVector<PackageRow> out;
    if (rows.isEmpty()) return out;
    const QStringList header = rows.first();
    const int code = header.indexOf("Code"), shortDesc = header.indexOf("shortDesc"),
              fullDesc = header.indexOf("fullDesc");
    for (int i = 1; i < rows.size(); ++i) {
        const PackageRow r{cell(rows[i], code), cell(rows[i], shortDesc), cell(rows[i], fullDesc)};
        if (!r.code.isEmpty()) out << r;
    }
    return out;
}

QVector<HeatsinkRow> readHeatsinkTable(const QString &folder)
{
    const QVector<QStringList> rows = readTable(QDir(folder).filePath("Heatsinks.txt"));
    QVector<HeatsinkRow> out;
    if (rows.isEmpty()) return out;
    // These columns all come before the variable run of package codes, so their positions in
    // the header are their positions in every row.
    const QStringList header = rows.first();
    const int name = header.indexOf("Name"), length = header.indexOf("Length"),
              width = header.indexOf("Width"), height = header.indexOf("Height");
    for (int i = 1; i < rows.size(); ++i) {
        HeatsinkRow r;
        r.name = cell(rows[i], name);
        r.length = cell(rows[i], length).toDouble();
        r.width = cell(rows[i], width).toDouble();
        r.height = cell(rows[i], height).toDouble();
        if (!r.name.isEmpty()) out << r;
    }
    return out;
}

QVector<PackageRow> defaultPackages()
{
    return {{"CE", "8-pin TO-3", "8-pin TO-3 metal can"},
            {"CC", "Surface Mount", "7-lead surface-mount tab package"},
            {"CD", "TO-220", "7-pin TO-220 style power tab package"},
            {"CR", "12-pin Power DIP (MO-127)", "12-pin flanged power DIP"},
            {"DE", "10-pin Power Dip", "10-pin flanged power DIP"},
            {"DF", "Surface Mount", "20-lead power surface-mount package with heat slug"},
            {"DK", "Surface Mount", "20-lead power surface-mount package with heat slug"},
            {"DP", "Power SIP", "12-pin power single-in-line package"},
            {"EL", "18-pin DIP", "18-pin plastic dual-in-line package"},
            {"OF", "Open Frame", "open-frame module"},
            {"SM", "Surface Mount", "28-pin leadless surface-mount package"}};
}

QVector<HeatsinkRow> defaultHeatsinks()
{
    HeatsinkRow tk21;
    tk21.name = "TK21";
    tk21.length = 1.9;
    tk21.width = 1.7;
    tk21.height = 1.0;
    return {tk21};
}

void addHeatsink(IsoScene &s, const HeatsinkRow &row, bool waterCooled)
{
    const double L = row.length > 0 ? row.length : 3, W = row.width > 0 ? row.width : 2.5;
    const double H = row.height > 0 ? row.height : 1;
    const QColor alu(0xb4, 0xc4, 0xd6);
    if (waterCooled) {
        Prism &plate = s.box(QVector3D(0, 0, 0), QVector3D(float(W), float(L), float(H)), alu);
        plate.endArt = [W, L](QPainter &p) {
            p.setPen(QPen(QColor(0x7d, 0x8c, 0x9c), std::min(W, L) * 0.012));
            p.setBrush(Qt::NoBrush);
            const double m = std::min(W, L) * 0.12;
            p.drawRect(QRectF(m, m, W - 2 * m, L - 2 * m));
            p.setPen(Qt::NoPen);
            p.setBrush(hole);
            const double r = std::min(W, L) * 0.035;
            for (const QPointF &c : {QPointF(m / 2, m / 2), QPointF(W - m / 2, m / 2),
                                     QPointF(m / 2, L - m / 2), QPointF(W - m / 2, L - m / 2)})
                p.drawEllipse(c, r, r);
        };
        const double r = std::min(H * 0.32, W * 0.09);
        for (double fx : {0.28, 0.72}) {
            const QVector3D at(float(W * fx), float(L), float(H / 2));
            s.cylinderY(at, r * 1.35, r * 1.2, QColor(0x9a, 0xa6, 0xb3));
            Prism &barb = s.cylinderY(at + QVector3D(0, float(r * 1.2), 0), r, r * 3.2,
                                      QColor(0xa8, 0xb3, 0xbf));
            barb.endArt = [r](QPainter &p) {
                p.setPen(Qt::NoPen);
                p.setBrush(hole);
                p.drawEllipse(QPointF(0, 0), r * 0.55, r * 0.55);
            };
        }
        return;
    }
    const double base = std::clamp(H * 0.14, 0.06, 0.3);
    const int fins = std::clamp(int(std::lround(W / 0.24)) + 1, 3, 26);
    const double t = std::min(0.07, W / fins * 0.4);
    s.box(QVector3D(0, 0, 0), QVector3D(float(W), float(L), float(base)), alu);
    for (int i = 0; i < fins; ++i) {
        const double x = (W - t) * i / (fins - 1);
        s.box(QVector3D(float(x), 0, float(base)), QVector3D(float(t), float(L), float(H - base)),
              alu);
    }
}

void drawPackagePictures(const QVector<PackageRow> &rows)
{
    for (const PackageRow &row : rows) {
        Canvas c(row.code + ".JPG", 400, 300);
        IsoScene scene;
        const PackageShape shape = shapeOf(row);
        switch (shape.outline) {
        case Outline::MetalCan:
            metalCan(scene, shape.pins);
            break;
        case Outline::TabMount:
            tabMount(scene, shape.pins, false);
            break;
        case Outline::PowerSip:
            tabMount(scene, shape.pins, true);
            break;
        case Outline::Dip:
            dip(scene, shape.pins);
            break;
        case Outline::PowerDip:
            powerDip(scene, shape.pins, shape.plastic);
            break;
        case Outline::Leadless:
            leadless(scene, shape.pins);
            break;
        case Outline::PowerModule:
            powerModule(scene, shape.pins);
            break;
        case Outline::GullWing:
            gullWing(scene, shape.pins, shape.slug);
            break;
        case Outline::SurfaceTab:
            surfaceTab(scene, shape.pins);
            break;
        case Outline::OpenFrame:
            openFrame(scene, shape.pins, shape.screws, shape.metalSubstrate);
            break;
        }
        scene.draw(c.p(), QRectF(30, 14, 340, 226), 1.2);
        caption(c.p(), 400, 300, row.code, row.shortDesc.isEmpty() ? row.fullDesc : row.shortDesc);
        c.save();
    }
}

void drawHeatsinkPictures(const QVector<HeatsinkRow> &rows)
{
    for (const HeatsinkRow &row : rows) {
        Canvas c(row.name + ".jpg", 400, 300);
        const bool water = row.name.contains(QLatin1String("H2O"));
        IsoScene scene;
        addHeatsink(scene, row, water);
        // dense fins: finer edges, or the fin faces drown in line work
        scene.draw(c.p(), QRectF(30, 14, 340, 226), row.width > 3.2 ? 0.8 : 1.1);
        const QString detail = QString::fromUtf8("%1 \u00d7 %2 \u00d7 %3 in")
                                   .arg(row.length, 0, 'g', 3)
                                   .arg(row.width, 0, 'g', 3)
                                   .arg(row.height, 0, 'g', 3);
        caption(c.p(), 400, 300, row.name, detail);
        c.save();
    }
}

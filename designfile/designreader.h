#pragma once

#include "designfile/designformat.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Turns the lines of a design file into assignments to the keys of this release. Files of
// releases before 7 store parts as catalog indices, keep some values under older keys and in
// other units; this is where they become what this release writes. No widgets: the window
// applies each assignment as it comes (the older keys read what earlier lines have set).
namespace designfile {

// What the window holds when a line is read, for the older keys that build on earlier lines
// of the file, or on the window where the file has no such line.
struct WindowState
{
    int signalType = 0;
    int soaPrevTab = 0;
    QString soaMaxOut;
};

// Part names for the catalog indices that releases before 7 stored.
struct CatalogIndexNames
{
    std::function<QString(int)> amp;
    std::function<QString(int)> host;
    std::function<QString(int)> pwm;
};

struct Assignment
{
    QString key;   // a key of currentKeys(), or "SOAprevTab"
    QString value; // in the form the key is written in by this release
    // Select the combo box's first item whatever the value says (the heatsink and package
    // lists of older files, whose entries no longer match).
    bool firstItem = false;
};

// Release number's first dot-separated field as an integer; 0 when it is no number.
int majorRelease(const QString &version);

// A series load from the magnitude (ohm) and angle (degrees) that older files stored, at the
// signal frequency f (Hz): R = |Z| cos θ, and the reactance |Z| sin θ as an inductance
// (θ > 0, X / 2πf) or a capacitance (θ < 0, 1 / 2πf|X|). Texts as engString writes them; the
// element that is not there is "short". ok is false when f gives no finite element (f = 0):
// then only the resistance is kept and the reactive elements are both "short".
struct SeriesLoad
{
    QString r, l, c;
    bool ok = true;
};
SeriesLoad seriesLoadOf(double z, double thetaDegrees, double f);

// The older key tabWidget: which signal (SignalType) and which tab of SOAtabWidget it selects,
// and whether it picks the DC motor load. soaPrevTab is what the older key SOAprevTab left.
struct OldSignalTab
{
    bool setsSignalType = false;
    int signalType = 0;
    bool setsTab = false;
    int tab = 0;
    bool dcMotor = false;
};
OldSignalTab oldSignalTab(int tabWidget, int soaPrevTab);

// Range of the integer members that other pages use as codes or divisors; false when n is
// outside it. Keys without a range accept any integer.
bool integerAllowed(const QString &key, int n);

class DesignReader
{
public:
    explicit DesignReader(CatalogIndexNames names);

    // The assignments that one line makes, in the order they are to be applied. A line of an
    // unknown key, and the Version line itself, make none.
    QVector<Assignment> translate(const FileLine &line, const WindowState &now);

    // Still true when no Version line of release 7 or later has been read.
    bool olderRelease() const { return older; }
    // Values that could not be used as their key needs, one text per value ("line 4,
    // CompOption: ..."); the window shows them once the file is read.
    const QStringList &problems() const { return found; }

private:
    QVector<Assignment> translateOlderKey(const FileLine &line, const WindowState &now);
    QVector<Assignment> checkedCurrent(const FileLine &line, const KeyRule &rule);
    int readInteger(const FileLine &line);
    void problem(const FileLine &line, const QString &what);

    CatalogIndexNames names;
    bool older = true;
    double loadMagnitude = 0;
    double loadAngle = 0;
    QStringList found;
};

} // namespace designfile

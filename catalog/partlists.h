#pragma once

#include "catalog/amp.h"
#include "catalog/heatsink.h"
#include "catalog/packagestyle.h"
#include "catalog/pwm.h"

#include <QString>
#include <QStringList>
#include <QVector>

// Lookups over the part lists. The window's members of the same names call these with its
// lists; engines and tests call them directly.
namespace catalog {

// Fills the five lists from the compiled-in tables, pre-released parts left out.
void loadPartLists(QVector<amp> &ampList, QVector<amp> &hostList, QVector<pwm> &pwmList,
                   QVector<packageStyle> &packageList, QVector<heatsink> &heatsinkList);

// The first record whose name equals `ampName` exactly; the first record of the list when none
// does (a design file may name a part the catalog no longer has), a default record when the
// list is empty.
amp findLinear(const QVector<amp> &list, const QString &ampName);
pwm findSwitching(const QVector<pwm> &list, const QString &ampName);

// Position of the first record named `ampName`; the list's size when none is.
int ampVectorIndex(const QVector<amp> &list, const QString &ampName);

// Short or full description of the first package style with exactly this code, else "-".
QString interpretPackage(const QVector<packageStyle> &list, const QString &code);
QString interpretPackageFullDesc(const QVector<packageStyle> &list, const QString &code);

// Design files of releases before 7 store a part as its old catalog index (PreV6Index). The
// name of the first record carrying `index`; unlike the lookups by name, the last record's
// name when none does; an empty name when the list is empty.
QString beforeV7IndexToName(const QVector<amp> &list, int index);
QString beforeV7IndexToName(const QVector<pwm> &list, int index);

// The names each part combo box offers, in list order.
struct PartComboLists {
    QStringList linear;       // SOA, stability and Howland pump pages
    QStringList allPwm;       // PWM filter page
    QStringList powerPage;    // half and full bridges (outputs 1 or 2)
    QStringList threePhase;   // half bridges and three-phase parts (outputs 1 or 3)
    QStringList control;      // full bridges whose ramp is not "Digital"
    QStringList heatsinkPage; // "All Parts", every linear name, then every PWM name
};
PartComboLists partComboLists(const QVector<amp> &ampList, const QVector<pwm> &pwmList);

} // namespace catalog

#include "catalog/partlists.h"

namespace catalog {

namespace {

template <class Record> Record firstNamed(const QVector<Record> &list, const QString &ampName)
{
    for (const Record &record : list)
        if (record.getAmpName() == ampName) return record;
    return list.isEmpty() ? Record() : list.first();
}

template <class Record> QString nameOfOldIndex(const QVector<Record> &list, int index)
{
    for (const Record &record : list)
        if (record.getPreV6Index() == index) return record.getAmpName();
    return list.isEmpty() ? QString() : list.last().getAmpName();
}

const packageStyle *findPackage(const QVector<packageStyle> &list, const QString &code)
{
    for (const packageStyle &style : list)
        if (style.getCode() == code) return &style;
    return nullptr;
}

} // namespace

void loadPartLists(QVector<amp> &ampList, QVector<amp> &hostList, QVector<pwm> &pwmList,
                   QVector<packageStyle> &packageList, QVector<heatsink> &heatsinkList)
{
    amp().readFile(ampList, false);
    amp().readHostFile(hostList);
    pwm().readFile(pwmList, 0, false);
    packageStyle().readFile(packageList);
    heatsink().readFile(heatsinkList);
}

amp findLinear(const QVector<amp> &list, const QString &ampName)
{
    return firstNamed(list, ampName);
}

pwm findSwitching(const QVector<pwm> &list, const QString &ampName)
{
    return firstNamed(list, ampName);
}

int ampVectorIndex(const QVector<amp> &list, const QString &ampName)
{
    for (int i = 0; i < list.size(); ++i)
        if (list.at(i).getAmpName() == ampName) return i;
    return list.size();
}

QString interpretPackage(const QVector<packageStyle> &list, const QString &code)
{
    const packageStyle *style = findPackage(list, code);
    return style ? style->getShortDesc() : QStringLiteral("-");
}

QString interpretPackageFullDesc(const QVector<packageStyle> &list, const QString &code)
{
    const packageStyle *style = findPackage(list, code);
    return style ? style->getFullDesc() : QStringLiteral("-");
}

QString beforeV7IndexToName(const QVector<amp> &list, int index)
{
    return nameOfOldIndex(list, index);
}

QString beforeV7IndexToName(const QVector<pwm> &list, int index)
{
    return nameOfOldIndex(list, index);
}

} // namespace catalog

namespace catalog {

PartComboLists partComboLists(const QVector<amp> &ampList, const QVector<pwm> &pwmList)
{
    PartComboLists lists;
    lists.heatsinkPage << QStringLiteral("All Parts");
    for (const amp &a : ampList) {
        lists.linear << a.getAmpName();
        lists.heatsinkPage << a.getAmpName();
    }
    for (const pwm &p : pwmList) {
        const QString name = p.getAmpName();
        const int outputs = p.getOutputs();
        lists.allPwm << name;
        lists.heatsinkPage << name;
        if (outputs == 1 || outputs == 2)
            lists.powerPage << name;
        if (outputs == 1 || outputs == 3)
            lists.threePhase << name;
        if (outputs == 2 && p.getRamp() != QLatin1String("Digital"))
            lists.control << name;
    }
    return lists;
}

} // namespace catalog

#include "values/comp.h"

#include "values/engvalues.h"

#include <cmath>
#include <limits>

comp comp::operator+(const comp &b) const
{
    return comp(re + b.re, im + b.im);
}

comp comp::operator-(const comp &b) const
{
    return comp(re - b.re, im - b.im);
}

comp comp::operator*(const comp &b) const
{
    return comp(re * b.re - im * b.im, im * b.re + re * b.im);
}

comp comp::operator/(const comp &b) const
{
    // a * conj(b) / |b|^2
    const double nRe = re * b.re - im * (-b.im);
    const double nIm = im * b.re + (-b.im) * re;
    const double den = b.re * b.re + b.im * b.im;
    comp result(nRe / den, nIm / den);
    const double largest = std::numeric_limits<double>::max();
    if (std::fabs(b.re) > largest || std::fabs(b.im) > largest)
        result.set(0, 0);
    // Checked last: a zero divisor wins over everything else.
    if (b.re == 0 && b.im == 0)
        result.set(infiniteValue, 0);
    return result;
}

comp comp::operator+(double d) const
{
    return comp(re + d, im);
}

comp comp::operator-(double d) const
{
    return comp(re - d, im);
}

comp comp::operator*(double d) const
{
    return comp(re * d, im * d);
}

comp comp::operator/(double d) const
{
    return comp(re / d, im / d);
}

double comp::magnitude() const
{
    return std::sqrt(im * im + re * re);
}

QString comp::toString() const
{
    const QString r = QString::number(re, 'g', 4);
    if (im > 0)
        return r + QStringLiteral(" + j") + QString::number(im, 'g', 4);
    if (im == 0)
        return r + QStringLiteral(" + j0");
    return r + QStringLiteral(" - j") + QString::number(-im, 'g', 4);
}

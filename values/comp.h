#pragma once

#include <QString>

// Complex number of the analyses: impedances, loop gains and transfer functions at one
// frequency. Dividing by 0 + j0 gives infiniteValue + j0 rather than an IEEE infinity, and
// dividing by an infinite reactance gives 0 + j0; the network models rely on both.
class comp
{
public:
    comp() = default;
    comp(double re, double im) : re(re), im(im) {}
    comp(const comp &other) = default;
    comp &operator=(const comp &other) = default;

    double real() const { return re; }
    double imag() const { return im; }
    void set(double r, double i)
    {
        re = r;
        im = i;
    }

    comp operator+(const comp &b) const;
    comp operator-(const comp &b) const;
    comp operator*(const comp &b) const;
    comp operator/(const comp &b) const;
    // A real number acts on the real part only for + and -, on both parts for * and /.
    comp operator+(double d) const;
    comp operator-(double d) const;
    comp operator*(double d) const;
    comp operator/(double d) const;

    double magnitude() const;
    // "1 + j2", "1.235 - j0.5", "5 + j0" (four significant digits).
    QString toString() const;

    double re = 0;
    double im = 0;
};

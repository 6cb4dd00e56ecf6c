#include "values/engvalues.h"

#include <QByteArray>
#include <QChar>

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace eng {

namespace {

struct Rung {
    double limit;  // first rung whose limit the magnitude is below applies
    double scale;  // printed value = magnitude * scale (small prefixes) or / scale (large ones)
    bool divide;
    const char *prefix;
};

double scaled(double a, const Rung &r)
{
    // The large prefixes divide: 1005 / 1e3 is 1.005 and rounds to 1, where 1005 * 1e-3 is a
    // hair above it and rounds to 1.01.
    return r.divide ? a / r.scale : a * r.scale;
}

// Rounding-aware limits: just below each decade, so 999.7 is written as 1 k.
const Rung kEngLadder[] = {
    {9.995e-13, 1e15, false, " f"}, {9.995e-10, 1e12, false, " p"},
    {9.995e-7, 1e9, false, " n"},   {0.0009995, 1e6, false, " u"},
    {0.9995, 1e3, false, " m"},     {999.5, 1, false, " "},
    {999500, 1e3, true, " k"},      {9.995e8, 1e6, true, " M"},
    {9.995e11, 1e9, true, " G"},    {9.995e14, 1e12, true, " T"},
};

const QString kMicro = QString(QChar(0x00B5));

QString ladderText(double a, const QString &unit, const Rung *begin, const Rung *end,
                   const QString &fallbackPrefix)
{
    for (const Rung *r = begin; r != end; ++r) {
        if (a < r->limit) {
            // Prefix texts are Latin-1, so "\xb5" is the micro sign.
            return QString::number(scaled(a, *r), 'g', 3) + QString::fromLatin1(r->prefix) +
                   unit;
        }
    }
    return QString::number(a, 'g', 3) + fallbackPrefix + unit;
}

// Below this a magnitude prints as 0: at three digits in femto it would read as an exponent
// glued to the prefix ("4.39e-289 fW"), a figure nobody can use.
constexpr double kNegligible = 1e-24;

// Splits off the sign so the ladders see a magnitude; negative zero has no sign.
QString signOf(double &value)
{
    if (std::abs(value) < kNegligible) {
        value = 0;
        return QString();
    }
    if (value < 0) {
        value = -value;
        return QStringLiteral("-");
    }
    return QString();
}

QString exactLadderText(double v, const QString &unit, bool lineEdit)
{
    // Exact decade limits; labels put a blank before the prefix and write micro as \xb5,
    // line edits write the bare letter so the text can be typed back.
    static const Rung ladder[] = {
        {1e-12, 1e15, false, "f"}, {1e-9, 1e12, false, "p"}, {1e-6, 1e9, false, "n"},
        {1e-3, 1e6, false, "u"},   {1, 1e3, false, "m"},     {1e3, 1, false, ""},
        {1e6, 1e3, true, "k"},     {1e9, 1e6, true, "M"},    {1e12, 1e9, true, "G"},
        {1e15, 1e12, true, "T"},
    };
    if (!std::isfinite(v))
        return noResultText();
    const QString sign = signOf(v);
    const QString blank = lineEdit ? QString() : QStringLiteral(" ");
    if (v == 0)
        return QStringLiteral("0") + blank + unit;
    for (const Rung &r : ladder) {
        if (v < r.limit) {
            QString letter = QString::fromLatin1(r.prefix);
            if (!lineEdit && r.scale == 1e6 && !r.divide)
                letter = kMicro;
            return sign + QString::number(scaled(v, r), 'g', 3) + blank + letter + unit;
        }
    }
    return sign + QString::number(v, 'g', 3) + blank + unit;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Scans a decimal number the way a C++ stream extracts a double: optional sign, digits with
// an optional point and fraction, an optional exponent. A dangling exponent ("1e", "2e+")
// means no number at all, as does a sign or point without digits.
bool scanNumber(const QByteArray &s, int &pos, double &value)
{
    int i = pos;
    while (i < s.size() && isBlank(s[i]))
        ++i;
    const int start = i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    int digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        int j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j >= s.size() || !isDigit(s[j]))
            return false;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        i = j;
    }
    const QByteArray numberText = s.mid(start, i - start);
    errno = 0;
    value = std::strtod(numberText.constData(), nullptr);
    if (errno == ERANGE && std::isinf(value))
        return false;
    pos = i;
    return true;
}

double prefixFactor(char c, bool acceptUpperFemto, bool &ok)
{
    ok = true;
    switch (c) {
    case 'k': case 'K': return 1e3;
    case 'M': return 1e6;
    case 'g': case 'G': return 1e9;
    case 't': case 'T': return 1e12;
    case 'm': return 1e-3;
    case 'u': case 'U': return 1e-6;
    case 'n': case 'N': return 1e-9;
    case 'p': case 'P': return 1e-12;
    case 'f': return 1e-15;
    case 'F':
        if (acceptUpperFemto)
            return 1e-15;
        break;
    default:
        break;
    }
    ok = false;
    return 0;
}

} // namespace

const QString &noResultText()
{
    static const QString text(QChar(0x2014)); // em dash
    return text;
}

QString number2String(double number)
{
    QString sign;
    double a = number;
    if (number < 0) {
        sign = QStringLiteral("-");
        a = -number;
    }
    if (std::isinf(a))
        return noResultText();
    double printed = 0;
    int precision = 1;
    if (a >= 1e6) {
        printed = a - std::remainder(a, 10000);
        precision = 7;
    } else if (a >= 1e5) {
        printed = a - std::remainder(a, 1000);
        precision = 6;
    } else if (a >= 1e4) {
        printed = a - std::remainder(a, 100);
        precision = 5;
    } else if (a >= 1e3) {
        printed = a - std::remainder(a, 10);
        precision = 4;
    } else if (a >= 0.001) {
        printed = a;
        precision = 3;
    }
    return sign + QString::number(printed, 'g', precision);
}

double roundTo3Sig(double value)
{
    if (value < 0.001)
        return 0;
    if (!std::isfinite(value)) // +inf would never scale into range; NaN has no digits
        return value;
    int k = 0;
    while (value >= 1000) {
        value /= 10;
        ++k;
    }
    while (value < 100) {
        value *= 10;
        --k;
    }
    const int n = static_cast<int>(value);
    return n * std::pow(10.0, k);
}

QString engString(double value, const QString &unit)
{
    if (!std::isfinite(value))
        return noResultText();
    double a = value;
    const QString sign = signOf(a);
    if (a == 0)
        return sign + QStringLiteral("0 ") + unit;
    return sign + ladderText(a, unit, std::begin(kEngLadder), std::end(kEngLadder),
                             QStringLiteral(" "));
}

QString engLabelText(double value, const QString &unit)
{
    return exactLadderText(value, unit, false);
}

QString engLineEditText(double value, const QString &unit)
{
    return exactLadderText(value, unit, true);
}

QString engItemText(double value, const QString &unit)
{
    static const Rung ladder[] = {{1e-9, 1e12, false, " p"},
                                  {1e-6, 1e9, false, " n"},
                                  {1e-3, 1e6, false, " \xb5"},
                                  {1, 1e3, false, " m"}};
    if (!std::isfinite(value))
        return noResultText();
    double a = value;
    const QString sign = signOf(a);
    return sign +
           ladderText(a, unit, std::begin(ladder), std::end(ladder), QStringLiteral(" "));
}

ReadResult readNumber(const QString &text, bool acceptUpperFemto)
{
    ReadResult r;
    if (!text.isEmpty()) {
        const QChar first = text.at(0);
        const bool asciiLetter = (first >= QLatin1Char('A') && first <= QLatin1Char('Z')) ||
                                 (first >= QLatin1Char('a') && first <= QLatin1Char('z'));
        if (asciiLetter || (first.unicode() > 0x7F && first.isLetter())) {
            r.status = ReadStatus::Invalid;
            return r;
        }
    }
    const QByteArray s = text.toUtf8();
    int pos = 0;
    double number = 0;
    if (!scanNumber(s, pos, number)) {
        bool blank = true;
        for (char c : s)
            blank = blank && isBlank(c);
        r.status = blank ? ReadStatus::Valid : ReadStatus::NoNumber;
        return r;
    }
    while (pos < s.size() && isBlank(s[pos]))
        ++pos;
    if (pos >= s.size()) {
        r.value = number;
        return r;
    }
    const char prefix = s[pos++];
    while (pos < s.size() && isBlank(s[pos]))
        ++pos;
    int wordEnd = pos;
    while (wordEnd < s.size() && !isBlank(s[wordEnd]))
        ++wordEnd;
    const QByteArray word = s.mid(pos, wordEnd - pos);

    if ((prefix == 'M' && (word == "EG" || word == "eg")) || (prefix == 'm' && word == "eg")) {
        r.value = number * 1e6;
        if (!std::isfinite(r.value)) {
            r.value = 0;
            r.status = ReadStatus::Invalid;
        }
        return r;
    }
    if (!word.isEmpty()) {
        r.status = ReadStatus::Invalid;
        return r;
    }
    bool known = false;
    const double factor = prefixFactor(prefix, acceptUpperFemto, known);
    if (!known) {
        r.status = ReadStatus::Invalid;
        return r;
    }
    r.value = number * factor;
    if (!std::isfinite(r.value)) { // "1e308k": the prefix carries it past the double range
        r.value = 0;
        r.status = ReadStatus::Invalid;
    }
    return r;
}

bool exactWordValue(const QString &text, double &value)
{
    if (text == QLatin1String("open") || text == QLatin1String("none") ||
        text == QLatin1String("all") || text == QLatin1String("foil") ||
        text == QLatin1String("Inf") || text == QLatin1String("inf")) {
        value = infiniteValue;
        return true;
    }
    if (text == QLatin1String("short") || text == QLatin1String("Nan") ||
        text == QLatin1String("nan")) {
        value = 0;
        return true;
    }
    return false;
}

QString nonFigureWord(const QString &text)
{
    const QString word = text.trimmed().toLower();
    if (word == QLatin1String("nan"))
        return QStringLiteral("not a number");
    if (word == QLatin1String("inf"))
        return QStringLiteral("too large");
    return QString();
}

QString noteFigure(double value, const QString &shown)
{
    return std::fabs(value) < 1e10 ? shown : QStringLiteral("out of range");
}

bool fieldWordValue(const QString &text, const QString &kind, double &value)
{
    const QString word = text.toLower();
    const bool capacitor = kind == QLatin1String("C");
    if (word == QLatin1String("open") || word == QLatin1String("none")) {
        value = capacitor ? 0 : infiniteValue;
        return true;
    }
    if (word == QLatin1String("short")) {
        value = capacitor ? infiniteValue : 0;
        return true;
    }
    if (word == QLatin1String("all") || word == QLatin1String("foil") ||
        word == QLatin1String("inf")) {
        value = infiniteValue;
        return true;
    }
    if (word == QLatin1String("nan")) {
        value = 0;
        return true;
    }
    return false;
}

double parseValue(const QString &text)
{
    double value = 0;
    if (exactWordValue(text, value))
        return value;
    const ReadResult r = readNumber(text);
    return r.status == ReadStatus::Valid ? r.value : 0;
}

double parseFieldText(const QString &text, const QString &kind, bool *valid)
{
    double value = 0;
    if (valid)
        *valid = true;
    if (fieldWordValue(text, kind, value))
        return value;
    const ReadResult r = readNumber(text);
    if (r.status != ReadStatus::Valid) {
        if (valid)
            *valid = false;
        return 0;
    }
    return r.value;
}

double parseItemText(const QString &text, bool *valid)
{
    double value = 0;
    if (valid)
        *valid = true;
    if (exactWordValue(text, value))
        return value;
    const ReadResult r = readNumber(text, false);
    if (r.status != ReadStatus::Valid) {
        if (valid)
            *valid = false;
        return 0;
    }
    return r.value;
}

} // namespace eng

#include "settings/DecimalText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::uint64_t kPow10[] = {1ull,
                                    10ull,
                                    100ull,
                                    1000ull,
                                    10000ull,
                                    100000ull,
                                    1000000ull,
                                    10000000ull,
                                    100000000ull,
                                    1000000000ull,
                                    10000000000ull,
                                    100000000000ull,
                                    1000000000000ull,
                                    10000000000000ull,
                                    100000000000000ull,
                                    1000000000000000ull,
                                    10000000000000000ull,
                                    100000000000000000ull,
                                    1000000000000000000ull,
                                    10000000000000000000ull};
constexpr int kMaxPow = 19;
constexpr int kMaxDigits = 15;

// mantissa / 10^scale rounded half to even to a whole count of 10^-digits (digits < scale).
std::uint64_t roundedUnits(std::uint64_t mantissa, int scale, int digits)
{
    const int drop = scale - digits;
    const std::uint64_t p = kPow10[drop];
    std::uint64_t q = mantissa / p;
    const std::uint64_t r = mantissa % p;
    const std::uint64_t half = p / 2;
    if (r > half || (r == half && (q & 1u)))
        ++q;
    return q;
}

QString joinParts(const QString& integerPart, const QString& fraction, bool negative)
{
    QString text = negative ? QStringLiteral("-") : QString();
    text += integerPart;
    if (!fraction.isEmpty())
        text += QLocale().decimalPoint() + fraction;
    return text;
}

} // namespace

namespace DecimalText {

QString format(std::uint64_t mantissa, int scale, int digits, bool negative)
{
    scale = std::clamp(scale, 0, kMaxPow);
    digits = std::clamp(digits, 0, kMaxDigits);
    if (digits >= scale) { // exact: no rounding, only padding
        const QString integerPart = QString::number(mantissa / kPow10[scale]);
        QString fraction = scale ? QString::number(mantissa % kPow10[scale]).rightJustified(scale, QLatin1Char('0'))
                                 : QString();
        fraction += QString(digits - scale, QLatin1Char('0'));
        return joinParts(integerPart, fraction, negative && mantissa != 0);
    }
    const std::uint64_t units = roundedUnits(mantissa, scale, digits);
    const QString integerPart = QString::number(units / kPow10[digits]);
    const QString fraction =
        digits ? QString::number(units % kPow10[digits]).rightJustified(digits, QLatin1Char('0')) : QString();
    return joinParts(integerPart, fraction, negative && units != 0);
}

QString fromDouble(double value, int digits)
{
    digits = std::clamp(digits, 0, kMaxDigits);
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-inf") : QStringLiteral("inf");
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e18) { // no fraction left to round at this size
        QString text = QString::number(magnitude, 'f', digits);
        text.replace(QLatin1Char('.'), QLocale().decimalPoint());
        return negative ? QLatin1Char('-') + text : text;
    }
    // Shortest round-trip form, e.g. "1.005e+00": significant digits and an exponent.
    const QString e = QString::number(magnitude, 'e', QLocale::FloatingPointShortest);
    const qsizetype at = e.indexOf(QLatin1Char('e'));
    QString significant = e.left(at);
    significant.remove(QLatin1Char('.'));
    const int exponent = e.mid(at + 1).toInt();
    const int power = exponent - int(significant.size() - 1);
    const std::uint64_t mantissa = significant.toULongLong();
    if (power >= 0)
        return format(mantissa * kPow10[power], 0, digits, negative);
    if (-power > kMaxPow)
        return format(0, 0, digits, false); // far below the last digit shown
    return format(mantissa, -power, digits, negative);
}

std::int64_t truncatedToInt64(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::max();
    if (v <= -9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::min();
    return std::int64_t(v);
}

} // namespace DecimalText

#include "settings/TextFormat.h"

#include "settings/DecimalText.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

constexpr int kMaxWidth = 99;

// The leading number of a text, as C's strtod/strtoll read it: optional blanks and sign,
// then digits (and for doubles a fraction); 0 when there is none.
double leadingNumber(const QString& text, bool integerOnly)
{
    const QString s = text.trimmed();
    qsizetype end = 0;
    if (end < s.size() && (s[end] == QLatin1Char('+') || s[end] == QLatin1Char('-')))
        ++end;
    const qsizetype digitsStart = end;
    while (end < s.size() && s[end].isDigit() && s[end].unicode() < 128)
        ++end;
    if (!integerOnly && end < s.size() && s[end] == QLatin1Char('.')) {
        ++end;
        while (end < s.size() && s[end].isDigit() && s[end].unicode() < 128)
            ++end;
    }
    if (end == digitsStart)
        return 0;
    return s.left(end).toDouble();
}

struct Conversion {
    bool leftAlign = false, zeroPad = false, plus = false, space = false;
    int width = 0;
    int precision = -1;
    QChar conversion;
};

// Parses the marker that starts after the "%" at `pos`; returns the index after it, or -1
// when the text there is not a marker this formatter knows.
qsizetype parseConversion(const QString& f, qsizetype pos, Conversion& conv)
{
    qsizetype i = pos;
    for (; i < f.size(); ++i) {
        const QChar c = f[i];
        if (c == QLatin1Char('-'))
            conv.leftAlign = true;
        else if (c == QLatin1Char('0'))
            conv.zeroPad = true;
        else if (c == QLatin1Char('+'))
            conv.plus = true;
        else if (c == QLatin1Char(' '))
            conv.space = true;
        else
            break;
    }
    const auto number = [&f, &i]() {
        int n = 0;
        while (i < f.size() && f[i] >= QLatin1Char('0') && f[i] <= QLatin1Char('9')) {
            n = std::min(kMaxWidth, n * 10 + (f[i].unicode() - '0'));
            ++i;
        }
        return n;
    };
    conv.width = number();
    if (i < f.size() && f[i] == QLatin1Char('.')) {
        ++i;
        conv.precision = number();
    }
    while (i < f.size() && QStringView(u"hlqzjtL").contains(f[i]))
        ++i;
    if (i >= f.size())
        return -1;
    conv.conversion = f[i];
    if (!QStringView(u"@sdiuFf").contains(conv.conversion))
        return -1;
    return i + 1;
}

QString withSign(QString digits, bool negative, const Conversion& conv)
{
    if (negative)
        return QLatin1Char('-') + digits;
    if (conv.plus)
        return QLatin1Char('+') + digits;
    if (conv.space)
        return QLatin1Char(' ') + digits;
    return digits;
}

QString pad(QString text, const Conversion& conv, bool numeric)
{
    const qsizetype missing = conv.width - text.size();
    if (missing <= 0)
        return text;
    if (conv.leftAlign)
        return text + QString(missing, QLatin1Char(' '));
    if (conv.zeroPad && numeric) {
        const qsizetype signLength = (!text.isEmpty() && QStringView(u"+- ").contains(text[0])) ? 1 : 0;
        return text.insert(signLength, QString(missing, QLatin1Char('0')));
    }
    return QString(missing, QLatin1Char(' ')) + text;
}

QString convert(const Conversion& conv, const FormatArg* arg)
{
    if (!arg)
        return {};
    const char16_t c = conv.conversion.unicode();
    if (c == u'@' || c == u's') {
        QString text = arg->text();
        if (conv.precision >= 0)
            text.truncate(conv.precision);
        return pad(text, conv, false);
    }
    if (c == u'd' || c == u'i') {
        const std::int64_t v = arg->toSigned();
        const std::uint64_t magnitude = v < 0 ? 0 - std::uint64_t(v) : std::uint64_t(v);
        return pad(withSign(QString::number(magnitude), v < 0, conv), conv, true);
    }
    if (c == u'u')
        return pad(QString::number(arg->toUnsigned()), conv, true);
    const double v = arg->toDouble();
    const int precision = conv.precision < 0 ? 6 : conv.precision;
    if (std::isnan(v) || std::isinf(v))
        return pad(std::isnan(v) ? QStringLiteral("nan") : (v < 0 ? QStringLiteral("-inf") : QStringLiteral("inf")),
                   conv, false);
    return pad(withSign(QString::number(std::fabs(v), 'f', precision), std::signbit(v) && v != 0, conv), conv, true);
}

} // namespace

QString FormatArg::text() const
{
    if (const auto* s = std::get_if<QString>(&value_))
        return *s;
    if (const auto* i = std::get_if<std::int64_t>(&value_))
        return QString::number(*i);
    if (const auto* u = std::get_if<std::uint64_t>(&value_))
        return QString::number(*u);
    return QString::number(std::get<double>(value_), 'g', QLocale::FloatingPointShortest);
}

std::int64_t FormatArg::toSigned() const
{
    if (const auto* s = std::get_if<QString>(&value_))
        return DecimalText::truncatedToInt64(leadingNumber(*s, true));
    if (const auto* i = std::get_if<std::int64_t>(&value_))
        return *i;
    if (const auto* u = std::get_if<std::uint64_t>(&value_))
        return std::int64_t(*u); // as printf's %d shows an unsigned value
    return DecimalText::truncatedToInt64(std::get<double>(value_));
}

std::uint64_t FormatArg::toUnsigned() const
{
    if (const auto* u = std::get_if<std::uint64_t>(&value_))
        return *u;
    return std::uint64_t(toSigned());
}

double FormatArg::toDouble() const
{
    if (const auto* s = std::get_if<QString>(&value_))
        return leadingNumber(*s, false);
    if (const auto* i = std::get_if<std::int64_t>(&value_))
        return double(*i);
    if (const auto* u = std::get_if<std::uint64_t>(&value_))
        return double(*u);
    return std::get<double>(value_);
}

namespace TextFormat {

QString format(const QString& format, std::initializer_list<FormatArg> args)
{
    QString out;
    out.reserve(format.size() + 16);
    const FormatArg* next = args.begin();
    qsizetype i = 0;
    while (i < format.size()) {
        const qsizetype percent = format.indexOf(QLatin1Char('%'), i);
        if (percent < 0) {
            out += QStringView(format).mid(i);
            break;
        }
        out += QStringView(format).mid(i, percent - i);
        if (percent + 1 < format.size() && format[percent + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            i = percent + 2;
            continue;
        }
        Conversion conv;
        const qsizetype end = parseConversion(format, percent + 1, conv);
        if (end < 0) { // not a marker: keep the "%" and go on after it
            out += QLatin1Char('%');
            i = percent + 1;
            continue;
        }
        out += convert(conv, next != args.end() ? next : nullptr);
        if (next != args.end())
            ++next;
        i = end;
    }
    return out;
}

} // namespace TextFormat

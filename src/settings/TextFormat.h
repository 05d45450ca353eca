#pragma once

#include <QLatin1String>
#include <QString>

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <variant>

// One argument of a text format: a text or a number.
class FormatArg {
public:
    FormatArg(const QString& text) : value_(text) {}
    FormatArg(QLatin1String text) : value_(QString(text)) {}
    FormatArg(const char* utf8) : value_(QString::fromUtf8(utf8)) {}
    template <std::signed_integral T>
    FormatArg(T number) : value_(std::int64_t(number)) {}
    template <std::unsigned_integral T>
    FormatArg(T number) : value_(std::uint64_t(number)) {}
    FormatArg(double number) : value_(number) {}

    // The argument as "%@" shows it: the text itself, a number in its plain decimal form.
    QString text() const;
    // The argument as "%d" / "%u" take it: a number truncated toward zero, a text's leading
    // integer part (0 when it has none).
    std::int64_t toSigned() const;
    std::uint64_t toUnsigned() const;
    // The argument as "%f" takes it: a text's leading number, 0 when it has none.
    double toDouble() const;

private:
    std::variant<QString, std::int64_t, std::uint64_t, double> value_;
};

// Fills the markers of a format text with arguments, in order of appearance. Texts of the
// text table and of callers serve as formats, so this never hands the text to printf.
//
// Markers: "%@" and "%s" (the argument's text), "%d" "%i" "%u" with the length modifiers
// l, ll, q, z, h, hh ("%ld", "%lu", "%llu"), "%f" / "%F" with an optional precision ("%.2f",
// six decimals without one), each with optional flags ("-" left-align, "0" zero-pad,
// "+", " ") and a width ("%4.0f"); "%%" gives "%". Numbers use "." as decimal separator and
// no grouping, like printf in the C locale.
//
// A marker without an argument left is replaced by nothing; arguments without a marker are
// ignored; anything else after a "%" (an unknown conversion, a "%" at the end) is copied as
// it stands. Widths and precisions above 99 are treated as 99.
namespace TextFormat {

QString format(const QString& format, std::initializer_list<FormatArg> args);

} // namespace TextFormat

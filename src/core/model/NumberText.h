#pragma once
// Number text, the one place where numbers become text and back.
//
// The general format: Single to 7 significant digits, Double to 15, trailing
// zeros and a trailing decimal point dropped, exponent form (1E-05, 1.5E+16)
// when the decimal exponent is below -4 or not below the digit count, and
// negative zero written as 0. World files and typed numbers use the user's
// decimal separator (QLocale()); VRML always uses a full stop.

#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>

namespace NumberText {

QString formatSingle(float value, QChar decimalPoint = QLatin1Char('.'));
QString formatDouble(double value, QChar decimalPoint = QLatin1Char('.'));
QString formatLong(int32_t value);

// VRML number text: full stop as decimal separator.
inline QString vrmlSingle(float v) { return formatSingle(v); }
inline QString vrmlDouble(double v) { return formatDouble(v); }

// The decimal separator written for a locale, and the user's (of QLocale(),
// the default locale).
QChar decimalPoint(const QLocale &locale);
QChar userDecimalPoint();
inline QString userSingle(float v) { return formatSingle(v, userDecimalPoint()); }
inline QString userDouble(double v) { return formatDouble(v, userDecimalPoint()); }

// Conversions of user text (world files, typed numbers), in the given locale.
// Group separators are refused, so a full stop, a comma or U+066B is read as
// the decimal separator whatever the locale (a world saved in Germany or Egypt
// opens in England and back). Each returns nothing when the text is not a number of
// that type:
// toLong rounds a fraction to the nearest integer, ties to even, and fails on
// overflow; toSingle fails when the value does not fit a float.
std::optional<int32_t> toLong(const QString &text, const QLocale &locale = QLocale());
std::optional<float> toSingle(const QString &text, const QLocale &locale = QLocale());
std::optional<double> toDouble(const QString &text, const QLocale &locale = QLocale());
// True or False in any letter case, or a number (0 is False, else True).
std::optional<bool> toBoolean(const QString &text, const QLocale &locale = QLocale());
// The same on a view into a larger text (the world file reader's tokens).
std::optional<int32_t> toLong(QStringView text, const QLocale &locale);
std::optional<float> toSingle(QStringView text, const QLocale &locale);
std::optional<double> toDouble(QStringView text, const QLocale &locale);
std::optional<bool> toBoolean(QStringView text, const QLocale &locale);
// The word written for a Boolean: "True" or "False".
inline QString formatBoolean(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }

// The locale with group separators refused. Callers converting many numbers
// make it once and pass it in, which saves a copy per conversion.
QLocale strictLocale(const QLocale &locale);

// Rounds to the nearest integer, ties to even.
double roundHalfEven(double value);

// Rounds to the given number of decimals, ties to the even neighbour, on the
// number's decimal digits (to 15 significant digits): 1.0015 gives 1.002 and
// 1.0025 gives 1.002, though neither is exact in binary.
double roundDecimals(double value, int places);

} // namespace NumberText

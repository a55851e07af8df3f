#include "core/model/NumberText.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "number text assumes IEEE floating point");

namespace NumberText {

namespace {

// C's "%.<digits>G", independent of the C library's locale (QCoreApplication
// sets LC_NUMERIC from the environment, which would change printf's output).
QString general(double value, int digits, QChar decimalPoint)
{
    if (value == 0) // also turns -0 into 0
        return QStringLiteral("0");
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    QString text = QString::fromLatin1(buffer, int(result.ptr - buffer));
    for (QChar &c : text) {
        if (c == QLatin1Char('e'))
            c = QLatin1Char('E');
        else if (c == QLatin1Char('.'))
            c = decimalPoint;
    }
    return text;
}

// The plain form the writer produces: [-]digits[<point>digits][E[+-]digits],
// read directly because QLocale is slow at it (a world file holds tens of
// thousands of numbers). It returns nothing for any other text, and for
// values at the edge of the range, which QLocale then decides.
std::optional<double> plainNumber(QStringView text, QChar point)
{
    constexpr qsizetype MaxLength = 64;
    const qsizetype n = text.size();
    if (n == 0 || n > MaxLength)
        return std::nullopt;
    char ascii[MaxLength];
    qsizetype i = 0;
    bool nonZeroDigit = false;
    const auto digits = [&](bool significant) {
        const qsizetype start = i;
        for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
            ascii[i] = char(text[i].unicode());
            nonZeroDigit = nonZeroDigit || (significant && ascii[i] != '0');
        }
        return i > start;
    };
    if (text[0] == QLatin1Char('-'))
        ascii[i++] = '-';
    if (!digits(true))
        return std::nullopt;
    if (i < n && text[i] == point) {
        ascii[i++] = '.';
        if (!digits(true))
            return std::nullopt;
    }
    if (i < n && text[i] == QLatin1Char('E')) {
        ascii[i++] = 'e';
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            ascii[i] = char(text[i].unicode());
            ++i;
        }
        if (!digits(false))
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(ascii, ascii + n, value);
    if (result.ec != std::errc() || result.ptr != ascii + n || !std::isfinite(value))
        return std::nullopt;
    const bool underflow = value == 0 ? nonZeroDigit : std::fabs(value) < DBL_MIN;
    if (underflow)
        return std::nullopt;
    return value;
}

QChar pointOf(const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    return point.size() == 1 ? point.front() : QChar();
}

} // namespace

QLocale strictLocale(const QLocale &locale)
{
    if (locale.numberOptions() & QLocale::RejectGroupSeparator)
        return locale;
    QLocale l = locale;
    l.setNumberOptions(l.numberOptions() | QLocale::RejectGroupSeparator);
    return l;
}

QString formatSingle(float value, QChar decimalPoint) { return general(value, 7, decimalPoint); }

QString formatDouble(double value, QChar decimalPoint) { return general(value, 15, decimalPoint); }

QString formatLong(int32_t value) { return QString::number(value); }

QChar decimalPoint(const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

QChar userDecimalPoint() { return decimalPoint(QLocale()); }

double roundHalfEven(double value)
{
    const double rounded = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return rounded;
}

double roundDecimals(double value, int places)
{
    if (!std::isfinite(value) || value == 0)
        return value;
    // value = digits x 10^(exponent - 14), digits a whole number of 15 digits.
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, 14);
    const std::string_view text(buffer, size_t(written.ptr - buffer));
    const size_t e = text.find('e');
    int64_t digits = 0;
    for (const char c : text.substr(0, e)) {
        if (c != '.')
            digits = digits * 10 + (c - '0');
    }
    // The buffer has no terminating NUL: read the exponent within the text.
    int exponent = 0;
    const char *sign = text.data() + e + 1;
    std::from_chars(sign + (*sign == '+'), text.data() + text.size(), exponent);
    const int dropped = 14 - exponent - places; // digits beyond the last decimal kept
    if (dropped <= 0)
        return value; // no digit beyond it
    int64_t kept = 0;
    if (dropped <= 15) {
        int64_t divisor = 1;
        for (int i = 0; i < dropped; ++i)
            divisor *= 10;
        kept = digits / divisor;
        const int64_t rest = digits % divisor;
        if (2 * rest > divisor || (2 * rest == divisor && kept % 2 != 0))
            ++kept;
    }
    // The nearest double to kept x 10^-places.
    const std::string rounded =
        std::to_string(value < 0 ? -kept : kept) + 'e' + std::to_string(-places);
    double result = 0;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), result);
    return result;
}

std::optional<double> toDouble(QStringView text, const QLocale &locale)
{
    if (const QChar point = pointOf(locale); !point.isNull()) {
        if (const auto value = plainNumber(text, point))
            return value;
    }
    bool ok = false;
    // A group separator is refused: "1.000" in a German locale is not 1000.
    const double value = strictLocale(locale).toDouble(text, &ok);
    // QLocale accepts "nan" and "inf"; those are not numbers a world can hold.
    if (ok && std::isfinite(value))
        return value;
    // A world or library made under another decimal separator still reads:
    // stored numbers never hold group separators, so a full stop, a comma or
    // the Arabic decimal separator (Arabic and Persian locales) in one is
    // always its decimal separator.
    const QString point = locale.decimalPoint();
    for (const QChar other : {QChar(u'.'), QChar(u','), QChar(u'\u066B')}) {
        if (point != other && text.contains(other))
            return toDouble(text.toString().replace(other, point), locale);
    }
    return std::nullopt;
}

std::optional<float> toSingle(QStringView text, const QLocale &locale)
{
    const auto value = toDouble(text, locale);
    if (!value)
        return std::nullopt;
    const auto single = static_cast<float>(*value);
    if (std::isinf(single))
        return std::nullopt;
    return single;
}

std::optional<int32_t> toLong(QStringView text, const QLocale &locale)
{
    const auto value = toDouble(text, locale);
    if (!value)
        return std::nullopt;
    const double rounded = roundHalfEven(*value);
    if (rounded < double(std::numeric_limits<int32_t>::min()) ||
        rounded > double(std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return static_cast<int32_t>(rounded);
}

std::optional<bool> toBoolean(QStringView text, const QLocale &locale)
{
    const QStringView word = text.trimmed();
    if (word.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    const auto value = toDouble(word, locale);
    if (!value)
        return std::nullopt;
    return *value != 0;
}

std::optional<double> toDouble(const QString &text, const QLocale &locale)
{
    return toDouble(QStringView(text), locale);
}

std::optional<float> toSingle(const QString &text, const QLocale &locale)
{
    return toSingle(QStringView(text), locale);
}

std::optional<int32_t> toLong(const QString &text, const QLocale &locale)
{
    return toLong(QStringView(text), locale);
}

std::optional<bool> toBoolean(const QString &text, const QLocale &locale)
{
    return toBoolean(QStringView(text), locale);
}

} // namespace NumberText

// Number text: the general format written into world files and VRML, and the
// conversions that read stored and typed numbers back.

#include "model/NumberText.h"
#include "model/Units.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <random>

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void format_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("single");
        QTest::addColumn<QString>("text"); // written with a comma when it holds one
        QTest::newRow("whole") << 50.0 << true << "50";
        QTest::newRow("rotation") << -1.57 << true << "-1.57";
        QTest::newRow("small exponent") << 1e-5 << true << "1E-05";
        QTest::newRow("eight digits as single") << 12345678.0 << true << "1.234568E+07";
        QTest::newRow("third as single") << 1.0 / 3 << true << "0.3333333";
        QTest::newRow("third as double") << 1.0 / 3 << false << "0.333333333333333";
        QTest::newRow("widened single") << double(1.57f) << false << "1.57000005245209";
        QTest::newRow("negative zero") << -0.0 << false << "0";
        QTest::newRow("comma, no grouping") << 1234567.25 << false << "1234567,25";
    }

    void format()
    {
        QFETCH(double, value);
        QFETCH(bool, single);
        QFETCH(QString, text);
        const QChar point = text.contains(',') ? ',' : '.';
        QCOMPARE(single ? NumberText::formatSingle(float(value), point)
                        : NumberText::formatDouble(value, point),
                 text);
    }

    void convert_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("locale");
        const auto row = [](const char *name, const char *type, const QString &text, bool ok,
                            double value, const char *locale = "C") {
            QTest::newRow(name) << QString(type) << text << ok << value << QString(locale);
        };
        row("blanks around", "double", " 2.5 ", true, 2.5);
        // No number is written with a group separator: a comma is a decimal comma.
        row("comma in a full-stop locale", "double", "72,5", true, 72.5);
        row("group separator", "double", "1,000,5", false, 0);
        row("trailing letters", "double", "12abc", false, 0);
        row("inf", "double", "-inf", false, 0);
        row("double overflow", "double", "1e400", false, 0);
        row("comma locale", "double", "-1,57", true, -1.57, "de_DE");
        row("comma locale, full stop file", "double", "72.5", true, 72.5, "de_DE");
        row("comma locale, grouped", "double", "1.000,5", false, 0, "de_DE");
        row("half to even, down", "long", "2.5", true, 2);
        row("half to even, up", "long", "-3.5", true, -4);
        row("smallest long", "long", "-2147483648", true, -2147483648.0);
        row("rounds to overflow", "long", "2147483647.5", false, 0);
        row("largest single", "single", "3.402823E+38", true, double(3.402823e38f));
        row("single overflow", "single", "-3.5E+38", false, 0);
        row("True, any case", "boolean", "tRUE", true, 1);
        row("False", "boolean", " False", true, 0);
        row("minus one", "boolean", "-1", true, 1);
        row("other word", "boolean", "yes", false, 0);
    }

    void convert()
    {
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        QFETCH(QString, locale);
        const QLocale l(locale);
        std::optional<double> result = NumberText::toDouble(text, l);
        if (type == "long")
            result = NumberText::toLong(text, l);
        else if (type == "single")
            result = NumberText::toSingle(text, l);
        else if (type == "boolean")
            result = NumberText::toBoolean(text, l);
        QCOMPARE(result.has_value(), ok);
        if (ok)
            QCOMPARE(*result, value);
    }

    // Rounding to decimals works on the decimal digits the user sees, so halves
    // that binary cannot hold exactly still go to the even neighbour.
    void roundDecimals_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("expected");
        QTest::newRow("thirds") << 14.0 / 3 << 3 << 4.667;
        QTest::newRow("half, odd neighbour up") << 1.0015 << 3 << 1.002;
        QTest::newRow("half, even neighbour kept") << 1.0025 << 3 << 1.002;
        QTest::newRow("carry") << 9.9996 << 3 << 10.0;
        QTest::newRow("nothing to round") << 1e20 << 3 << 1e20;
        QTest::newRow("far below") << 1e-20 << 3 << 0.0;
    }

    void roundDecimals()
    {
        QFETCH(double, value);
        QFETCH(int, places);
        QFETCH(double, expected);
        QCOMPARE(NumberText::roundDecimals(value, places), expected);
    }

    // Typed feet become map units, shown and read back unchanged; what cannot
    // be stored as a finite Single is refused.
    void feet_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<float>("units");
        QTest::newRow("24 feet") << " 24 " << true << 2.0f;
        QTest::newRow("large but finite") << "1E+38" << true << float(1e38 / 12);
        QTest::newRow("infinite as a Single") << "1E+40" << false << 0.0f;
        QTest::newRow("not a number") << "tall" << false << 0.0f;
    }

    void feet()
    {
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(float, units);
        const std::optional<float> stored = Units::fromFeet(typed, QLocale::c());
        QCOMPARE(stored, ok ? std::optional<float>(units) : std::nullopt);
        QVERIFY(!ok || Units::fromFeet(Units::toFeet(*stored), QLocale()) == stored);
    }

    void writtenTextReadsBackAsQLocaleReadsIt_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("C") << "C";
        QTest::newRow("German") << "de_DE";
        QTest::newRow("Swedish, Unicode minus") << "sv_SE";
        QTest::newRow("Arabic decimal sign") << "ar_EG";
    }

    // Numbers written in a locale read back to the same text, so a world survives
    // a load and save unchanged. Plain number text is read by a shortcut that must
    // agree with QLocale bit for bit and leave every other form to it.
    void writtenTextReadsBackAsQLocaleReadsIt()
    {
        QFETCH(QString, locale);
        const QLocale l(locale);
        const QChar point = NumberText::decimalPoint(l);
        QLocale strict = l;
        strict.setNumberOptions(QLocale::RejectGroupSeparator);
        // What QLocale reads from the text, when it is a finite number.
        const auto qlocale = [&strict](const QString &text) -> std::optional<double> {
            bool ok = false;
            const double d = strict.toDouble(text, &ok);
            return ok && std::isfinite(d) ? std::optional<double>(d) : std::nullopt;
        };
        const auto sameBits = [](std::optional<double> a, std::optional<double> b) {
            return a.has_value() == b.has_value() && (!a || std::memcmp(&*a, &*b, sizeof *a) == 0);
        };

        std::mt19937_64 random(7);
        for (int i = 0; i < 3000; ++i) {
            const uint64_t bits = random();
            double d;
            std::memcpy(&d, &bits, sizeof d);
            if (!std::isfinite(d))
                continue;
            const float f = float(std::ldexp(double(bits % 99999), i % 60 - 30));
            const QString single = NumberText::formatSingle(f, point);
            const QString dbl = NumberText::formatDouble(d, point);
            const auto s = NumberText::toSingle(single, l);
            const auto r = NumberText::toDouble(dbl, l);
            QVERIFY2(s && NumberText::formatSingle(*s, point) == single, qPrintable(single));
            QVERIFY2(r && NumberText::formatDouble(*r, point) == dbl, qPrintable(dbl));
            QVERIFY2(sameBits(qlocale(dbl), r), qPrintable(dbl));
        }
        for (const char *edge : {"007", "-0", "1E5", "1E-400", "1E400", "0E-400", "4.9E-324", "-",
                                 "1.", "E5", "1E+", "+1", "1e5", " 1", "1.7976931348623159E+308"}) {
            const QString text = QString::fromLatin1(edge).replace(QLatin1Char('.'), point);
            QVERIFY2(sameBits(qlocale(text), NumberText::toDouble(text, l)), edge);
        }
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"

// Number text: the general format written into world files and VRML, and the
// conversions that read typed and stored numbers back.

#include "model/NumberText.h"

#include <QtTest>

#include <cfloat>
#include <cmath>
#include <limits>

class TestNumberText : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void formatSingle_data();
    void formatSingle();
    void formatDouble_data();
    void formatDouble();
    void decimalSeparator();
    void userFormatFollowsDefaultLocale();

    void toDouble_data();
    void toDouble();
    void toLong_data();
    void toLong();
    void toSingleOverflow();
    void toBoolean_data();
    void toBoolean();

    void writtenTextReadsBack_data();
    void writtenTextReadsBack();
};

void TestNumberText::formatSingle_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 50.0f << "50";
    QTest::newRow("half") << 0.5f << "0.5";
    QTest::newRow("negative rotation") << -1.57f << "-1.57";
    QTest::newRow("rotation") << 3.14f << "3.14";
    QTest::newRow("small exponent") << 1e-5f << "1E-05";
    QTest::newRow("just above exponent form") << 0.0001f << "0.0001";
    QTest::newRow("seven digits stay plain") << 1234567.0f << "1234567";
    QTest::newRow("eight digits need exponent") << 12345678.0f << "1.234568E+07";
    QTest::newRow("one third") << 1.0f / 3.0f << "0.3333333";
    QTest::newRow("float noise rounded away") << 62.5f - 50.0f << "12.5";
    QTest::newRow("negative zero") << -0.0f << "0";
    QTest::newRow("largest float") << FLT_MAX << "3.402823E+38";
}

void TestNumberText::formatSingle()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::formatSingle(value), text);
}

void TestNumberText::formatDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("quarter") << -0.25 << "-0.25";
    QTest::newRow("whole") << 46.0 << "46";
    QTest::newRow("one third") << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("big exponent") << 1.5e16 << "1.5E+16";
    QTest::newRow("fifteen digits stay plain") << 123456789012345.0 << "123456789012345";
    QTest::newRow("tiny exponent") << -2.5e-300 << "-2.5E-300";
    // The Single 1.57 widened to Double is not 1.57; 15 digits show it.
    QTest::newRow("widened single") << double(1.57f) << "1.57000005245209";
    QTest::newRow("difference of doubles") << 62.5 - 50.0 << "12.5";
}

void TestNumberText::formatDouble()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::formatDouble(value), text);
}

void TestNumberText::decimalSeparator()
{
    QCOMPARE(NumberText::formatSingle(-1.57f, QLatin1Char(',')), QStringLiteral("-1,57"));
    QCOMPARE(NumberText::formatDouble(1.5e16, QLatin1Char(',')), QStringLiteral("1,5E+16"));
    // No group separators, whatever the size.
    QCOMPARE(NumberText::formatDouble(1234567.25, QLatin1Char(',')), QStringLiteral("1234567,25"));
}

void TestNumberText::userFormatFollowsDefaultLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(NumberText::userDecimalPoint(), QLatin1Char(','));
    QCOMPARE(NumberText::userSingle(0.5f), QStringLiteral("0,5"));
    QCOMPARE(NumberText::vrmlSingle(0.5f), QStringLiteral("0.5"));
    QCOMPARE(NumberText::userDouble(1e-5), QStringLiteral("1E-05"));
}

void TestNumberText::toDouble_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "C" << "3.14" << true << 3.14;
    QTest::newRow("negative") << "C" << "-1.57" << true << -1.57;
    QTest::newRow("surrounding blanks") << "C" << "  2.5 " << true << 2.5;
    QTest::newRow("exponent upper") << "C" << "1E-05" << true << 1e-5;
    QTest::newRow("exponent lower") << "C" << "1.5e+16" << true << 1.5e16;
    QTest::newRow("group separator refused") << "C" << "1,000" << false << 0.0;
    QTest::newRow("empty") << "C" << "" << false << 0.0;
    QTest::newRow("blank") << "C" << "  " << false << 0.0;
    QTest::newRow("letters") << "C" << "abc" << false << 0.0;
    QTest::newRow("trailing letters") << "C" << "12abc" << false << 0.0;
    QTest::newRow("nan") << "C" << "nan" << false << 0.0;
    QTest::newRow("inf") << "C" << "inf" << false << 0.0;
    QTest::newRow("overflow") << "C" << "1e400" << false << 0.0;
    QTest::newRow("comma locale") << "de_DE" << "-1,57" << true << -1.57;
    QTest::newRow("comma locale exponent") << "de_DE" << "1,5E+16" << true << 1.5e16;
    QTest::newRow("comma locale refuses full stop") << "de_DE" << "1.000" << false << 0.0;
}

void TestNumberText::toDouble()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto result = NumberText::toDouble(text, QLocale(locale));
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, value);
}

void TestNumberText::toLong_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("whole") << "96" << true << 96;
    QTest::newRow("colour") << "16777215" << true << 16777215;
    QTest::newRow("negative") << "-1" << true << -1;
    QTest::newRow("half to even down") << "2.5" << true << 2;
    QTest::newRow("half to even up") << "3.5" << true << 4;
    QTest::newRow("negative half to even") << "-2.5" << true << -2;
    QTest::newRow("just over half") << "2.5000001" << true << 3;
    QTest::newRow("exponent") << "1E+03" << true << 1000;
    QTest::newRow("largest") << "2147483647" << true << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << true << int(std::numeric_limits<int32_t>::min());
    QTest::newRow("overflow") << "2147483648" << false << 0;
    QTest::newRow("rounds into overflow") << "2147483647.5" << false << 0;
    QTest::newRow("underflow") << "-2147483649" << false << 0;
    QTest::newRow("huge") << "1E+20" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
}

void TestNumberText::toLong()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto result = NumberText::toLong(text, QLocale::c());
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, value);
}

void TestNumberText::toSingleOverflow()
{
    QCOMPARE(NumberText::toSingle(QStringLiteral("3.402823E+38"), QLocale::c()),
             std::optional<float>(3.402823e38f));
    QVERIFY(!NumberText::toSingle(QStringLiteral("3.5E+38"), QLocale::c()));
    QVERIFY(!NumberText::toSingle(QStringLiteral("-1E+39"), QLocale::c()));
    // Fits a Double, so the message can say "too large" rather than "no number".
    QVERIFY(NumberText::toDouble(QStringLiteral("3.5E+38"), QLocale::c()));
}

void TestNumberText::toBoolean_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("value");
    QTest::newRow("True") << "True" << true << true;
    QTest::newRow("lower case") << "true" << true << true;
    QTest::newRow("upper case") << "FALSE" << true << false;
    QTest::newRow("minus one") << "-1" << true << true;
    QTest::newRow("one") << "1" << true << true;
    QTest::newRow("zero") << "0" << true << false;
    QTest::newRow("fraction") << "0.5" << true << true;
    QTest::newRow("blanks around word") << " False " << true << false;
    QTest::newRow("yes") << "yes" << false << false;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("nan") << "nan" << false << false;
}

void TestNumberText::toBoolean()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(bool, value);
    const auto result = NumberText::toBoolean(text, QLocale::c());
    QCOMPARE(result.has_value(), ok);
    if (ok)
        QCOMPARE(*result, value);
}

void TestNumberText::writtenTextReadsBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("C") << "C";
    QTest::newRow("German") << "de_DE";
    QTest::newRow("Swedish (Unicode minus)") << "sv_SE";
    QTest::newRow("Arabic (own decimal sign)") << "ar_EG";
}

// Whatever the locale, the text written for a number reads back as the same
// text: the world file depends on this to survive a load and save unchanged.
void TestNumberText::writtenTextReadsBack()
{
    QFETCH(QString, locale);
    const QLocale l(locale);
    const QChar point = l.decimalPoint().front();
    for (const float f : {0.0f, 12.5f, -1.57f, 1.0f / 3.0f, 1e-5f, 8589973000.0f, FLT_MAX}) {
        const QString text = NumberText::formatSingle(f, point);
        const auto back = NumberText::toSingle(text, l);
        QVERIFY2(back, qPrintable(text));
        QCOMPARE(NumberText::formatSingle(*back, point), text);
    }
    for (const double d : {0.1, -1.0 / 3.0, 1.5e16, 2.0 / 3.0 * 1e-200}) {
        const QString text = NumberText::formatDouble(d, point);
        const auto back = NumberText::toDouble(text, l);
        QVERIFY2(back, qPrintable(text));
        QCOMPARE(NumberText::formatDouble(*back, point), text);
    }
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"

#include "core/errors.h"
#include "core/strutil.h"

#include <QTest>

class TestStrUtil : public QObject {
    Q_OBJECT
private slots:
    void trims_data();
    void trims();
    void removeBlanks();
    void toNumber_data();
    void toNumber();
    void toNumberRefusesWhatIsNoNumber_data();
    void toNumberRefusesWhatIsNoNumber();
    void displayForm_data();
    void displayForm();
    void blankTableEdges();
    void formats();
    void byteLength();
    void storableInTheCodePage();
};

void TestStrUtil::trims_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::newRow("blanks around") << "   12 " << "12 " << "   12";
    QTest::newRow("only blanks") << "    " << "" << "";
    QTest::newRow("empty") << "" << "" << "";
    QTest::newRow("tab is no blank") << "\t 12 \t" << "\t 12 \t" << "\t 12 \t";
    QTest::newRow("hangul untouched") << " 현금 " << "현금 " << " 현금";
}

void TestStrUtil::trims()
{
    QFETCH(QString, text);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QCOMPARE(core::Str_TrimLeft(text), left);
    QCOMPARE(core::Str_TrimRight(text), right);
}

void TestStrUtil::removeBlanks()
{
    QCOMPARE(core::Str_RemoveBlanks(" 01 02 "), QStringLiteral("0102"));
    QCOMPARE(core::Str_RemoveBlanks(""), QString());
    QCOMPARE(core::Str_RemoveBlanks("국 민 은 행\t"), QStringLiteral("국민은행\t"));
}

void TestStrUtil::toNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("thousands") << "1,234" << 1234.0;
    QTest::newRow("negative fraction") << "-1,234.50" << -1234.5;
    QTest::newRow("display form") << "                 1,234" << 1234.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("korean only") << "원화" << 0.0;
    QTest::newRow("currency and korean") << "₩ 5,000원" << 5000.0;
    QTest::newRow("trailing point") << "12." << 12.0;
}

void TestStrUtil::toNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(core::Str_ToNumber(text), value);
}

void TestStrUtil::toNumberRefusesWhatIsNoNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("minus after digit") << "1-2";
    QTest::newRow("two minus") << "--1";
    QTest::newRow("two points") << "1.2.3";
    QTest::newRow("lone minus") << "-";
    QTest::newRow("lone point") << "원.";
}

void TestStrUtil::toNumberRefusesWhatIsNoNumber()
{
    QFETCH(QString, text);
    try {
        core::Str_ToNumber(text);
        QFAIL("no conversion error");
    } catch (const core::ConversionError& e) {
        QVERIFY2(e.text().contains(text), qPrintable(e.text())); // the clerk sees what was wrong
    }
}

void TestStrUtil::displayForm_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("formatted");
    QTest::addColumn<int>("blanks");
    QTest::newRow("zero") << "0" << "0" << 22;
    QTest::newRow("1234") << "1234" << "1,234" << 17;
    QTest::newRow("-5") << "-5" << "-5" << 21;
    QTest::newRow("fraction") << "1234.5" << "1,235" << 13;
    QTest::newRow("seven negative") << "-123456" << "-123,456" << 12;
    QTest::newRow("six") << "123456" << "123,456" << 13;
    QTest::newRow("ten negative") << "-123456789" << "-123,456,789" << 6;
    QTest::newRow("nine") << "123456789" << "123,456,789" << 8;
    QTest::newRow("twelve") << "123456789012" << "123,456,789,012" << 2;
    QTest::newRow("thirteen negative") << "-123456789012" << "-123,456,789,012" << 0;
}

void TestStrUtil::displayForm()
{
    QFETCH(QString, plain);
    QFETCH(QString, formatted);
    QFETCH(int, blanks);
    QCOMPARE(core::Str_StrToDouble(plain, formatted), QString(blanks, u' ') + formatted);
}

void TestStrUtil::blankTableEdges()
{
    QCOMPARE(core::Str_StrToDouble("", ""), QString());                          // length 0
    QCOMPARE(core::Str_StrToDouble("1234567890123", "1,234,567,890,123"), QString()); // 13, not negative
    QCOMPARE(core::Str_StrToDouble("-12345678901234", "x"), QString());          // 15
    QVERIFY_THROWS_EXCEPTION(core::ConversionError, core::Str_StrToDouble("-", "-"));  // not a number
}

void TestStrUtil::formats()
{
    QCOMPARE(core::formatThousands(1234567), QStringLiteral("1,234,567"));
    QCOMPARE(core::formatThousands(-1234.5), QStringLiteral("-1,235"));
    QCOMPARE(core::formatThousands(0), QStringLiteral("0"));
    QCOMPARE(core::formatThousandsBlankZero(0), QString());
    QCOMPARE(core::formatThousandsBlankZero(1000), QStringLiteral("1,000"));
    QCOMPARE(core::formatPlain(1234.6), QStringLiteral("1235"));
    QCOMPARE(core::formatPlain(-0.4), QStringLiteral("0"));
    QCOMPARE(core::formatZeroPadded(3, 5), QStringLiteral("00003"));
    QCOMPARE(core::formatZeroPadded(-1, 5), QStringLiteral("-00001"));
    QCOMPARE(core::formatZeroPadded(123456789, 8), QStringLiteral("123456789"));
    QCOMPARE(core::shortestDecimal(1234), QStringLiteral("1234"));
    QCOMPARE(core::shortestDecimal(1234.5), QStringLiteral("1234.5"));
    QCOMPARE(core::shortestDecimal(-5), QStringLiteral("-5"));
    QCOMPARE(core::shortestDecimal(1e15), QStringLiteral("1000000000000000"));
}

void TestStrUtil::byteLength()
{
    QCOMPARE(core::cp949Length("abc"), 3);
    QCOMPARE(core::cp949Length("현금 1"), 6);
    QCOMPARE(core::cp949Length(""), 0);
}

void TestStrUtil::storableInTheCodePage()
{
    // A syllable of the Korean Windows code page's extension, beyond EUC-KR.
    QCOMPARE(core::firstUnstorableInCp949(QStringLiteral("똠방각하")), -1);
}

QTEST_APPLESS_MAIN(TestStrUtil)
#include "test_strutil.moc"

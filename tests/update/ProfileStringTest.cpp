#include "ProfileStringTest.h"

#include "ProfileString.h"

#include <QTest>

namespace {

std::string_view view(const QByteArray &bytes)
{
    return { bytes.constData(), std::size_t(bytes.size()) };
}

} // namespace

void ProfileStringTest::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray id = "90220";
    const QByteArray long128 = QByteArray(120, 'x') + "12345678";

    QTest::newRow("key found") << QByteArray("[Update]\n90220=A;B;1\n") << id
                               << QByteArray("A;B;1");
    QTest::newRow("other sections and keys ignored")
        << QByteArray("[Other]\n90220=no\n[Update]\n9022=no\n902201=no\n90220=A\n[Next]\n90220=no")
        << id << QByteArray("A");
    QTest::newRow("section case-insensitive")
        << QByteArray("[uPDATE]\n90220=A") << id << QByteArray("A");
    QTest::newRow("key case-insensitive")
        << QByteArray("[Update]\nkEY=A") << QByteArray("Key") << QByteArray("A");
    QTest::newRow("blanks around the section name")
        << QByteArray(" \t[ \tUpdate\t ] \n90220=A") << id << QByteArray("A");
    QTest::newRow("blanks around key and value")
        << QByteArray("[Update]\n \t90220 \t= \tA;B;1 \t\n") << id << QByteArray("A;B;1");
    QTest::newRow("first match wins")
        << QByteArray("[Update]\n90220=first\n90220=second") << id << QByteArray("first");
    QTest::newRow("key in a repeated section")
        << QByteArray("[Update]\nx=1\n[Other]\n[Update]\n90220=A") << id << QByteArray("A");
    QTest::newRow("line without equals ignored")
        << QByteArray("[Update]\n90220\n90220 A;B;1\n90220=A") << id << QByteArray("A");
    QTest::newRow("CR LF lines") << QByteArray("[Update]\r\n90220=A;B;1\r\nx=1\r\n") << id
                                 << QByteArray("A;B;1");
    QTest::newRow("lone CR lines") << QByteArray("[Update]\r90220=A\rx=1") << id << QByteArray("A");
    QTest::newRow("missing section")
        << QByteArray("[Updates]\n90220=A\n[Updat]\n90220=B") << id << QByteArray("error");
    QTest::newRow("missing key") << QByteArray("[Update]\n9022=A\n902200=B") << id
                                 << QByteArray("error");
    QTest::newRow("empty value is no default")
        << QByteArray("[Update]\n90220=  \n") << id << QByteArray("");
    QTest::newRow("quotes around the value dropped")
        << QByteArray("[Update]\n90220=\"A;B;1\"") << id << QByteArray("A;B;1");
    QTest::newRow("value over 127 characters cut") << "[Update]\n90220=" + long128 + "\n"
                                                   << id << long128.left(127);
    QTest::newRow("NUL byte ends the value")
        << QByteArrayLiteral("[Update]\n90220=A;B\0;1\nx=1") << id << QByteArray("A;B");
}

void ProfileStringTest::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);

    const std::string value = ProfileString::read(view(file), "Update", view(key), "error", 128);

    QCOMPARE(QByteArray::fromStdString(value), expected);
}

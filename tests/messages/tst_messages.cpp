#include <QTest>

#include "messages/Messages.h"

class MessagesTest : public QObject
{
    Q_OBJECT

private slots:
    // A user's text in a message: control characters escaped, long texts
    // cut short, never inside a character.
    void quoted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "9600,x,8,1" << "\"9600,x,8,1\"";
        QTest::newRow("escape sequence") << "a\x1B[2Jb" << "\"a\\x1B[2Jb\"";
        QTest::newRow("line break") << "pts/3\nok" << "\"pts/3\\x0Aok\"";
        QTest::newRow("delete") << QString("x\x7F") << "\"x\\x7F\"";
        QTest::newRow("C1 control") << QString::fromUtf16(u"x\u009By") << "\"x\\x9By\"";
        QTest::newRow("cut") << QString(100, u'9') << '"' + QString(39, u'9') + u'\u2026' + '"';
        QTest::newRow("pair kept whole")
            << QString(38, u'a') + QString::fromUtf16(u"\U0001F600") + "tail"
            << '"' + QString(38, u'a') + u'\u2026' + '"';
        QTest::newRow("escape kept whole")
            << QString(37, u'a') + "\x01tail" << '"' + QString(37, u'a') + u'\u2026' + '"';
    }
    void quoted()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(Messages::quoted(text), expected);
    }

    // The port or file the user named, in every sentence that repeats it.
    void namesAreShownEscapedAndShort()
    {
        const Error error{.reason = Error::Reason::PortBusy,
                          .stage = Error::Stage::Opening,
                          .subject = QString(32767, u'x') + "\x1B",
                          .device = QString(32767, u'x')};
        const QString sentence = Messages::sentence(error);
        QVERIFY2(sentence.size() < 400, qPrintable(sentence.left(400)));
        QVERIFY(!sentence.contains(u'\x1B'));
    }
};

QTEST_GUILESS_MAIN(MessagesTest)
#include "tst_messages.moc"

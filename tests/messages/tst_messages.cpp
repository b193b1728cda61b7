#include <QTest>

#include "messages/Messages.h"
#include "messages/NextSteps.h"

using Reason = Error::Reason;
using Stage = Error::Stage;
using Kind = Transfer::DownloadCheck::Kind;
using NextSteps::Audience;

Q_DECLARE_METATYPE(Error)
Q_DECLARE_METATYPE(Transfer::DownloadCheck)
Q_DECLARE_METATYPE(NextSteps::Audience)

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
        QTest::newRow("plain") << "9600,x,8,1"
                               << "\"9600,x,8,1\"";
        QTest::newRow("escape sequence") << "a\x1B[2Jb"
                                         << "\"a\\x1B[2Jb\"";
        QTest::newRow("line break") << "pts/3\nok"
                                    << "\"pts/3\\x0Aok\"";
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

    // Every failure ends with what to do next.
    void nextStep_data()
    {
        QTest::addColumn<Error>("error");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no answer")
            << Error{.reason = Reason::NoAnswer,
                     .subject = "Com 3",
                     .detail = "19200,n,8,1",
                     .ms = 2000}
            << "Com 3 can't be open !!\nThe display did not answer within 2 seconds at "
               "19200,n,8,1. Try the other speed (9600,n,8,1), let \"Find VFD\" (tq540ctl find) "
               "look for the display, and check its power and cable.";
        QTest::newRow("no answer at a typed speed")
            << Error{.reason = Reason::NoAnswer, .subject = "Com 1", .detail = "4800,n,8,1"}
            << "Com 1 can't be open !!\nThe display did not answer within 0 seconds at "
               "4800,n,8,1. Try \"9600,n,8,1\" or \"19200,n,8,1\", let \"Find VFD\" (tq540ctl "
               "find) look for the display, and check its power and cable.";
        QTest::newRow("upload, wrong lead byte")
            << Error{.reason = Reason::WrongLeadByte, .subject = "Com 1", .detail = "9600,n,8,1"}
            << "Receive Check bit Error !!\nThe display may listen at another speed. Try the "
               "other speed (19200,n,8,1), or let \"Find VFD\" (tq540ctl find) look for the "
               "display; then check the cable.";
        QTest::newRow("upload, short reply")
            << Error{.reason = Reason::ShortReply,
                     .detail = "19200,n,8,1",
                     .count = 9,
                     .total = 127}
            << "Incomplete reply from the display: 9 of 127 bytes came. Nothing was changed.\nThe "
               "display may listen at another speed. Try the other speed (9600,n,8,1), or let "
               "\"Find VFD\" (tq540ctl find) look for the display; then check the cable.";
#if defined(Q_OS_LINUX)
        QTest::newRow("Windows name of a listed port")
            << Error{.reason = Reason::NoSuchPort,
                     .stage = Stage::Opening,
                     .subject = "COM3",
                     .device = "COM3"}
            << "COM3 can't be used: there is no such port (COM3). \"COM3\" is a Windows name; "
               "here \"Com 3\" is /dev/ttyS2: choose \"Com 3\" (tq540ctl --port 3), or pick a "
               "detected port (\"Find VFD\", tq540ctl ports).";
        QTest::newRow("Windows name beyond the list")
            << Error{.reason = Reason::NoSuchPort,
                     .stage = Stage::Opening,
                     .subject = "com12",
                     .device = "com12"}
            << "com12 can't be used: there is no such port (com12). \"com12\" is a Windows "
               "name; here it would be /dev/ttyS11: type that, or pick a detected port (\"Find "
               "VFD\", tq540ctl ports).";
#endif
        QTest::newRow("no such port, no Windows name")
            << Error{.reason = Reason::NoSuchPort,
                     .stage = Stage::Opening,
                     .subject = "/dev/ttyUSB4",
                     .device = "/dev/ttyUSB4"}
            << "/dev/ttyUSB4 can't be used: there is no such port (/dev/ttyUSB4).";
        QTest::newRow("permission, a group may")
            << Error{.reason = Reason::PermissionDenied,
                     .stage = Stage::Opening,
                     .subject = "Com 1",
                     .device = "/dev/ttyS0",
                     .detail = "uucp"}
            << "Com 1 can't be used: permission denied for /dev/ttyS0: it belongs to the group "
               "\"uucp\". Join it (sudo usermod -aG uucp $USER), then log out and in again, so "
               "that the new group applies.";
        QTest::newRow("permission, root alone")
            << Error{.reason = Reason::PermissionDenied,
                     .stage = Stage::Opening,
                     .subject = "/dev/ttyACM0",
                     .device = "/dev/ttyACM0",
                     .system = "root"}
            << "/dev/ttyACM0 can't be used: permission denied for /dev/ttyACM0: only root may use "
               "it, and no group may, so joining a group will not help. Ask the administrator to "
               "give the port to a group such as dialout (a udev rule).";
        QTest::newRow("cut after 20 of 129")
            << Error{.reason = Reason::LineLost,
                     .stage = Stage::Draining,
                     .subject = "Com 2",
                     .count = 109,
                     .total = 129}
            << "The download to Com 2 was cut short: 20 of 129 bytes had left the port, and the "
               "port was closed: the line to the display was lost. The display may hold a "
               "partial image: download again.";
        QTest::newRow("cut, count unknown")
            << Error{.reason = Reason::LineLost,
                     .stage = Stage::Draining,
                     .subject = "Com 2",
                     .count = -1,
                     .total = 129}
            << "The download to Com 2 was cut short before all 129 bytes had left the port (the "
               "system does not tell how many had), and the port was closed: the line to the "
               "display was lost. The display may hold a partial image: download again.";
        QTest::newRow("lost after the last byte")
            << Error{.reason = Reason::LineLost,
                     .stage = Stage::Draining,
                     .subject = "Com 2",
                     .count = 0,
                     .total = 129}
            << "The download to Com 2 failed right after all 129 bytes had left the port, and "
               "the port was closed: the line to the display was lost. The display may not have "
               "taken them: download again.";
        QTest::newRow("stopped while sending")
            << Error{.reason = Reason::DeviceFailed,
                     .stage = Stage::Downloading,
                     .subject = "Com 2",
                     .system = "gone",
                     .count = 56,
                     .total = 129}
            << "The download to Com 2 stopped after 56 of 129 bytes and the port was closed: "
               "gone. The display may hold a partial image: download again.";
        // A name with a placeholder of its own stays as typed.
        QTest::newRow("port named with %2")
            << Error{.reason = Reason::LineLost,
                     .stage = Stage::Downloading,
                     .subject = "/dev/tty%2",
                     .count = 5,
                     .total = 129}
            << "The download to /dev/tty%2 stopped after 5 of 129 bytes and the port was closed: "
               "the line to the display was lost. The display may hold a partial image: download "
               "again.";
    }
    void nextStep()
    {
        QFETCH(Error, error);
        QFETCH(QString, expected);
        QCOMPARE(Messages::sentence(error), expected);
    }

    // The line under "Download O.K ! Please restart !".
    void readBack_data()
    {
        QTest::addColumn<Transfer::DownloadCheck>("check");
        QTest::addColumn<Audience>("audience");
        QTest::addColumn<QString>("expected");
        const QList<ImageCodec::FieldRef> three = {{ImageCodec::FieldRef::Kind::Setting, 2},
                                                   {ImageCodec::FieldRef::Kind::Cell, 0, 3},
                                                   {ImageCodec::FieldRef::Kind::Cell, 0, 4}};
        QTest::newRow("skipped") << Transfer::DownloadCheck{} << Audience::Window << "";
        QTest::newRow("checked") << Transfer::DownloadCheck{.kind = Kind::Checked}
                                 << Audience::Window
                                 << "Checked: the display holds the settings just sent.";
        QTest::newRow("no answer")
            << Transfer::DownloadCheck{.kind = Kind::NoAnswer} << Audience::CommandLine
            << "Not checked: the display did not answer a read-back at 9600,n,8,1. Try the other "
               "speed (19200,n,8,1), let \"Find VFD\" (tq540ctl find) look for the display, and "
               "check its power and cable.";
        QTest::newRow("wrong lead byte")
            << Transfer::DownloadCheck{.kind = Kind::WrongReply,
                                       .error = {.reason = Reason::WrongLeadByte}}
            << Audience::Window
            << "Not checked: the answer to a read-back at 9600,n,8,1 was wrong (it did not begin "
               "as a settings reply does). The display may listen at another speed. Try the "
               "other speed (19200,n,8,1), or let \"Find VFD\" (tq540ctl find) look for the "
               "display; then check the cable.";
        QTest::newRow("short reply")
            << Transfer::DownloadCheck{.kind = Kind::WrongReply,
                                       .error = {.reason = Reason::ShortReply,
                                                 .count = 40,
                                                 .total = 127}}
            << Audience::Window
            << "Not checked: the answer to a read-back at 9600,n,8,1 was wrong (only 40 of 127 "
               "bytes came). The display may listen at another speed. Try the other speed "
               "(19200,n,8,1), or let \"Find VFD\" (tq540ctl find) look for the display; then "
               "check the cable.";
        QTest::newRow("line failed")
            << Transfer::DownloadCheck{.kind = Kind::LinkFailed,
                                       .error = {.reason = Reason::LineLost}}
            << Audience::Window
            << "Not checked: the read-back failed: the line to the display was lost.";
        QTest::newRow("differs, window")
            << Transfer::DownloadCheck{.kind = Kind::Differs, .differing = three}
            << Audience::Window
            << "The display holds something else in 3 fields: see them with \"Compare With "
               "VFD\" on the \"VFD Check\" page.";
        QTest::newRow("differs, command line")
            << Transfer::DownloadCheck{.kind = Kind::Differs, .differing = three.mid(0, 1)}
            << Audience::CommandLine << "The display holds something else in 1 field: command.";
    }
    void readBack()
    {
        QFETCH(Transfer::DownloadCheck, check);
        QFETCH(Audience, audience);
        QFETCH(QString, expected);
        QCOMPARE(NextSteps::readBack(check, QStringLiteral("9600,n,8,1"), audience), expected);
    }

    // Only the buttons that step from the character store its drawing.
    void omittedDrawing_data()
    {
        QTest::addColumn<int>("character");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("first") << 1 << ">>";
        QTest::newRow("middle") << 5 << "<< or >>";
        QTest::newRow("last") << 9 << "<<";
    }
    void omittedDrawing()
    {
        QFETCH(int, character);
        QFETCH(QString, buttons);
        QCOMPARE(NextSteps::omittedDrawing(character, false),
                 QStringLiteral("The drawing of User Defined Character %1 was left out; the file "
                                "holds its stored record instead. Step with %2 to store the "
                                "drawing, then save again.")
                     .arg(character)
                     .arg(buttons));
    }
};

QTEST_GUILESS_MAIN(MessagesTest)
#include "tst_messages.moc"

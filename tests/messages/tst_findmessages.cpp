#include <QTest>

#include "messages/FindMessages.h"
#include "messages/SettingMessages.h"

namespace {

FindResult result(const QString &port, FindResult::Outcome outcome, Error::Reason reason = {})
{
    FindResult found;
    found.port = port;
    found.outcome = outcome;
    found.error = {.reason = reason, .device = port};
    if (outcome == FindResult::Answered) {
        found.settings = QStringLiteral("9600,n,8,1");
        found.image.set(ImageLayout::CommandSet, 12); // no entry of the list
    }
    return found;
}

} // namespace

class FindMessagesTest : public QObject
{
    Q_OBJECT

private slots:
    // Find VFD's list: displays first, then what is in the way (permission,
    // a busy port), then ports that gave no display, then one line for all
    // ports that do not exist.
    void listPutsDisplaysFirstAndFoldsMissingPorts()
    {
        using R = Error::Reason;
        const QList<FindResult> came = {
            result("Com 1", FindResult::CannotOpen, R::NoSuchPort),
            result("Com 2", FindResult::NoAnswer, R::NoAnswer),
            result("Com 3", FindResult::CannotOpen, R::NoSuchPort),
            result("/dev/ttyUSB0", FindResult::Answered),
            result("/dev/ttyS4", FindResult::CannotOpen, R::PermissionDenied),
        };
        const QList<FindResult> ordered = FindMessages::order(came);
        QStringList ports;
        for (const FindResult &found : ordered)
            ports << found.port;
        QCOMPARE(ports, QStringList({"/dev/ttyUSB0", "/dev/ttyS4", "Com 2", "Com 1", "Com 3"}));

        const QStringList rows = FindMessages::listRows(ordered);
        QCOMPARE(rows.size(), 4);
        QCOMPARE(rows.at(0), QStringLiteral("/dev/ttyUSB0: 9600,n,8,1, command set 12 (no such "
                                            "entry), character set USA/Eurpope  (Default), "
                                            "display baud 9600,n,8,1 (Default)"));
        QVERIFY2(rows.at(1).startsWith("/dev/ttyS4: permission denied"), qPrintable(rows.at(1)));
        QCOMPARE(rows.at(2), QStringLiteral("Com 2: no answer at 9600 or 19200"));
        QCOMPARE(rows.at(3), QStringLiteral("Not on this computer: Com 1, Com 3"));
    }

    // A byte that is no entry of its list is worded one way everywhere.
    void settingByteIsWordedOnce()
    {
        SettingsImage image;
        image.set(ImageLayout::DisplaySpeed, 1);
        image.set(ImageLayout::CommandSet, 12);
        const ImageCodec::Fields fields = ImageCodec::decode(image);
        const auto &speed = fields.settings.at(DisplaySettings::slot(DisplaySetting::DisplaySpeed));
        const auto &set = fields.settings.at(DisplaySettings::slot(DisplaySetting::CommandSet));
        QCOMPARE(SettingMessages::positionText(speed), QStringLiteral("1 \"19200,n,8,1\""));
        QCOMPARE(SettingMessages::positionText(set), QStringLiteral("12 (no such entry)"));
        QCOMPARE(SettingMessages::entryOrByte(set), QStringLiteral("12 (no such entry)"));
    }
};

QTEST_GUILESS_MAIN(FindMessagesTest)
#include "tst_findmessages.moc"

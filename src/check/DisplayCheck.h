#pragma once

#include <memory>
#include <optional>

#include <QObject>
#include <QString>
#include <QStringList>

#include "check/DisplayFinder.h"
#include "check/FindResult.h"
#include "check/PortEnumerator.h"
#include "commandsets/TestScreen.h"
#include "link/Transfer.h"
#include "model/SettingsImage.h"

class Configuration;
class MSComm;
class TickCounter;

// The "VFD Check" page without its widgets: where the display is, whether
// it holds the window's settings, a test screen in the window's command set, and the
// link speed the display will want after a download. The window's
// configuration is only ever read.
class DisplayCheck : public QObject
{
    Q_OBJECT

public:
    DisplayCheck(const Configuration &config, MSComm &comm, TickCounter &ticks,
                 QObject *parent = nullptr);

    // --- Find VFD --------------------------------------------------------
    // The ports a search asks: the list's entries, the ports the system
    // reports, and a typed device; each device once.
    static QList<PortChoice> portsToAsk(const QStringList &listed,
                                        const QList<DetectedPort> &detected,
                                        const QString &typed);
    // Where the finder's serial components come from (tests script them).
    // Ignored while a search runs.
    void setFinderLinks(DisplayFinder::LinkFactory links);
    void startFind(const QList<PortChoice> &ports);
    void stopFind();
    bool finding() const;
    // The results so far, one a port, in the order they came.
    const QList<FindResult> &found() const { return m_found; }
    // A result as the list shows it: "Com 2: 19200,n,8,1, command set ...".
    static QString foundText(const FindResult &result);
    // The port and the link settings of an answered result; nothing for a
    // row that did not answer.
    std::optional<Transfer::Target> choice(int row) const;
    // The only display that answered, if exactly one did.
    std::optional<int> onlyAnswer() const;

    // --- Compare With VFD ------------------------------------------------
    // Reads the display into an image of its own and names what differs
    // from the window's settings; an empty list when nothing does.
    Result<QStringList> compare(const Transfer::Target &target);
    // Each field that differs, in the window's words, window first:
    // "Command Mode: EPSON (Default) / display: CD5220",
    // "Welcome Msg 1, cell 3: 41 / 42", "User Defined Character 2".
    static QStringList differences(const SettingsImage &window, const SettingsImage &display);
    // The report of the last comparison, one line a field or a failure.
    QStringList comparison() const { return m_comparison; }

    // --- Send Test -------------------------------------------------------
    // The set chosen on "Command Setting", as a position and as its entry.
    int commandSet() const;
    QString commandSetName() const;
    QString line1() const { return m_line1; }
    QString line2() const { return m_line2; }
    void setLines(const QString &line1, const QString &line2);
    // The bytes for the texts in the set, or why there are none.
    TestScreen::Result testScreen() const;
    // Why the test cannot be sent; empty when it can.
    QString refusal() const;
    // What the glass shows after the test screen: two rows of 20; blank
    // when the set refuses.
    QStringList preview() const;
    // Sends the test screen; an empty text when it went out, else why not.
    QString sendTest(const Transfer::Target &target);
    // "ABCDEFGHIJ0123456789": every cell of a row lit with a distinct sign.
    static QString defaultLine2();

    // --- the display's speed ----------------------------------------------
    // The note speaks of the last display read or written.
    // A download went out on `linkSettings`: the display will listen at the
    // speed chosen on "Command Setting" once it restarts.
    void noteDownload(const QString &linkSettings);
    // A display was read on `linkSettings`: it listens at the speed it holds
    // once it restarts (nothing is told of a speed that is no entry).
    void noteRead(const SettingsImage &display, const QString &linkSettings);
    // "Buad Rate" now reads `linkSettings`.
    void setLinkSettings(const QString &linkSettings);
    // What to tell while the two speeds differ; empty otherwise.
    QString speedNote() const;

signals:
    void findProgress(int done, int total);
    void foundChanged();
    void findFinished();
    void comparisonChanged();
    // The command set, a text or the preview changed.
    void testChanged();
    void speedNoteChanged(const QString &note);

private:
    void followCommandSet();
    void updateSpeedNote();

    void makeFinder(DisplayFinder::LinkFactory links);

    const Configuration &m_config;
    MSComm &m_comm;
    TickCounter &m_ticks;
    std::unique_ptr<DisplayFinder> m_finder;
    QList<FindResult> m_found;
    QStringList m_comparison;
    int m_set = -1; // the set the default text was made for
    QString m_line1;
    QString m_line2;
    std::optional<QString> m_displaySpeed; // the last display's link after its restart
    QString m_linkSettings;
    QString m_speedNote;
};

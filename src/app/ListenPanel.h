#pragma once

#include <optional>

#include <QPoint>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "link/Transfer.h"
#include "listen/Listener.h"
#include "listen/Recognition.h"

class ChangeHistory;
class Configuration;
class QListWidget;
class QProgressBar;
class QPushButton;

// "Listen To Till" on the "VFD Check" page: the till's cable on the PC's
// port, the port listened to (never written), the command sets ranked in
// words, and "Use This Command Mode", which puts the set heard (and the
// speed it was heard at) on the first page as one step that Ctrl+Z takes
// back. The window starts a listen (it knows the port) and is told when it
// ends, so that nothing else uses the port meanwhile.
class ListenPanel : public QWidget
{
    Q_OBJECT

public:
    static constexpr int ListenSeconds = 15;

    ListenPanel(MSComm &comm, TickCounter &ticks, Configuration &config, ChangeHistory &history,
                QWidget *page, QPoint pageOrigin);

    void start(const Transfer::Target &target);
    bool listening() const { return m_timer.isActive(); }
    // What the last listen made of its bytes; none before one ended.
    const std::optional<Recognition> &recognition() const { return m_recognition; }
    // The panel's controls that Tab reaches, in reading order.
    QList<QWidget *> tabOrder() const;

signals:
    void listenClicked();
    void finished();
    // The glass as the set heard would show it, for the page's preview.
    void rowsHeard(const QStringList &rows);
    // The page's speed note after "Use This Command Mode".
    void speedNote(const QString &note);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void poll();
    void finish();
    void showWords(const QStringList &words);
    void useCommandMode();

    Listener m_listener;
    Configuration &m_config;
    ChangeHistory &m_history;
    QTimer m_timer;
    QString m_settings;
    std::optional<Recognition> m_recognition;
    QPushButton *m_listen = nullptr;    // ListenTill
    QPushButton *m_stop = nullptr;      // ListenStop
    QProgressBar *m_progress = nullptr; // ListenProgress
    QListWidget *m_words = nullptr;     // ListenList
    QPushButton *m_use = nullptr;       // UseCommandMode
};

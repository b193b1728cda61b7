#include "app/ListenPanel.h"

#include <QEvent>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "app/ChangeHistory.h"
#include "app/Controls.h"
#include "app/widgets/WrapButton.h"
#include "editors/Configuration.h"
#include "messages/ListenMessages.h"
#include "messages/Messages.h"
#include "model/OptionLists.h"

namespace {

// A band under the test screen and its notes, in twips relative to the tab
// control; its controls relative to the band.
constexpr Twips PanelAt = {240, 6240, 8772, 1560};
constexpr Twips ListenAt = {0, 0, 1692, 372};      // ListenTill
constexpr Twips StopAt = {1800, 0, 972, 372};      // ListenStop
constexpr Twips ProgressAt = {2880, 60, 1332, 252}; // ListenProgress
constexpr Twips UseAt = {0, 480, 2772, 372};       // UseCommandMode
constexpr Twips WordsAt = {4440, 0, 4332, 1500};   // ListenList

constexpr int PollMs = 50;

} // namespace

ListenPanel::ListenPanel(MSComm &comm, TickCounter &ticks, Configuration &config,
                         ChangeHistory &history, QWidget *page, QPoint pageOrigin)
    : QWidget(page), m_listener(comm, ticks), m_config(config), m_history(history)
{
    setGeometry(Controls::place(PanelAt, pageOrigin));
    setAccessibleName(tr("Listening to a till"));
    m_listen = Controls::button(this, QStringLiteral("ListenTill"),
                                QStringLiteral("Listen To Till"), Controls::place(ListenAt));
    m_stop = Controls::button(this, QStringLiteral("ListenStop"), QStringLiteral("Stop"),
                              Controls::place(StopAt), tr("Stop listening"));
    m_progress = new QProgressBar(this);
    Controls::identify(m_progress, QStringLiteral("ListenProgress"), tr("Time listened"));
    m_progress->setGeometry(Controls::place(ProgressAt));
    m_progress->setTextVisible(false);
    m_progress->setRange(0, ListenSeconds * 1000);
    m_progress->setValue(0);
    m_words = new QListWidget(this);
    Controls::identify(m_words, QStringLiteral("ListenList"), tr("What the till sends"));
    m_words->setGeometry(Controls::place(WordsAt));
    m_words->setWordWrap(true);
    m_words->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont small = m_words->font();
    small.setBold(false);
    small.setPointSizeF(small.pointSizeF() * 0.8);
    m_words->setFont(small);
    m_use = new WrapButton(QStringLiteral("Use This Command Mode"), this);
    Controls::identify(m_use, QStringLiteral("UseCommandMode"));
    m_use->setGeometry(Controls::place(UseAt));
    m_use->setToolTip(ChangeHistory::tip(m_use->text()));
    m_stop->setEnabled(false);
    m_use->setEnabled(false);

    m_timer.setInterval(PollMs);
    connect(&m_timer, &QTimer::timeout, this, &ListenPanel::poll);
    connect(m_listen, &QPushButton::clicked, this, &ListenPanel::listenClicked);
    connect(m_stop, &QPushButton::clicked, this, [this] {
        m_listener.stop();
        finish();
    });
    connect(m_use, &QPushButton::clicked, this, &ListenPanel::useCommandMode);
    // A window closed while listening stops the listen first.
    page->window()->installEventFilter(this);
}

QList<QWidget *> ListenPanel::tabOrder() const
{
    return {m_listen, m_stop, m_words, m_use};
}

void ListenPanel::start(const Transfer::Target &target)
{
    m_recognition.reset();
    m_use->setEnabled(false);
    m_settings = target.settings;
    const Result<void> started = m_listener.start(target.port, target.settings, ListenSeconds);
    if (!started) {
        showWords({Messages::sentence(started.error())});
        emit finished();
        return;
    }
    m_listen->setEnabled(false);
    m_stop->setEnabled(true);
    m_timer.start();
    poll();
}

void ListenPanel::poll()
{
    const bool still = m_listener.poll();
    m_progress->setValue(ListenSeconds * 1000 - m_listener.msLeft());
    showWords({ListenMessages::progress(m_listener.capture().size(), m_listener.msLeft())});
    if (!still)
        finish();
}

void ListenPanel::finish()
{
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    m_listen->setEnabled(true);
    m_stop->setEnabled(false);
    m_progress->setValue(m_progress->maximum());
    const Recognition recognition = Recognizer::recognize(m_listener.capture());
    QStringList words;
    if (recognition.verdict == Recognition::Verdict::NothingHeard) {
        words << ListenMessages::nothingArrived(ListenSeconds, m_settings);
    } else {
        words << ListenMessages::verdict(recognition);
        if (const QString ending =
                ListenMessages::ending(m_listener.end(), recognition.bytes, m_listener.lineError());
            !ending.isEmpty())
            words << ending;
        for (const SetFit &fit : recognition.ranking)
            words << ListenMessages::fitLine(fit, recognition.bytes).simplified();
    }
    showWords(words);
    if (recognition.verdict == Recognition::Verdict::Named ||
        recognition.verdict == Recognition::Verdict::CannotTell)
        emit rowsHeard({recognition.best().rows[0], recognition.best().rows[1]});
    m_use->setEnabled(recognition.named());
    m_recognition = recognition;
    emit finished();
}

void ListenPanel::showWords(const QStringList &words)
{
    m_words->clear();
    m_words->addItems(words);
    m_words->setToolTip(words.join(QLatin1Char('\n')));
}

void ListenPanel::useCommandMode()
{
    if (!m_recognition || !m_recognition->named())
        return;
    const int set = m_recognition->best().commandSet;
    const std::optional<LineSettings> heard = LineSettings::parse(m_settings);
    const int speed = heard
                          ? OptionLists::positionOf(OptionLists::displaySpeeds(),
                                                    QStringLiteral("%1,n,8,1").arg(heard->baudRate))
                          : -1;
    m_history.record(m_use->text(), [&] {
        m_config.setListPosition(DisplaySetting::CommandSet, set);
        if (speed >= 0)
            m_config.setListPosition(DisplaySetting::DisplaySpeed, speed);
    });
    if (speed >= 0)
        emit speedNote(ListenMessages::newSpeedNote(OptionLists::displaySpeeds().at(speed)));
}

bool ListenPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && listening()) {
        m_listener.stop();
        finish();
    }
    return QWidget::eventFilter(watched, event);
}

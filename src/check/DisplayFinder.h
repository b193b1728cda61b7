#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QList>
#include <QObject>
#include <QThreadPool>

#include "check/FindResult.h"
#include "link/MSComm.h"
#include "link/PortChoice.h"
#include "link/TickCounter.h"

// Finds displays: asks each port for the display's settings (the upload
// request, which changes nothing on a display) at each of FindSpeeds, the
// ports side by side on worker threads, each with a serial component of its
// own. Results come on the finder's thread.
class DisplayFinder : public QObject
{
    Q_OBJECT

public:
    // One port's serial component and the clock its waits read.
    struct Link
    {
        std::unique_ptr<TickCounter> ticks;
        std::unique_ptr<MSComm> comm;
    };
    // Called on a worker thread, once for each port asked.
    using LinkFactory = std::function<Link(const PortChoice &port)>;
    // The system's serial component (SystemComm) and tick counter.
    static LinkFactory systemLinks();

    // How long a port is watched after a request went unanswered, for a
    // display that answers late.
    static constexpr qint32 LateReplyWaitMs = 1500;

    // At most this many ports are asked at once; the others wait their turn.
    static constexpr int MaxParallel = 8;

    explicit DisplayFinder(LinkFactory links = systemLinks(), QObject *parent = nullptr);
    // Stops, and waits until every port is closed.
    ~DisplayFinder() override;

    DisplayFinder(const DisplayFinder &) = delete;
    DisplayFinder &operator=(const DisplayFinder &) = delete;

    // Asks the ports; a device named twice is asked once. Ignored while a
    // search runs. With no ports, finished() comes at once.
    void start(const QList<PortChoice> &ports);
    // Cuts every wait short: the ports still being asked are closed and
    // reported Stopped within a second, then finished() comes.
    void stop();
    bool isRunning() const { return m_running; }
    // The results of the last search so far, in the order they came.
    const QList<FindResult> &results() const { return m_results; }

    // Asks one port on the calling thread; every wait ends soon after `stop`
    // is set.
    static FindResult ask(const PortChoice &port, const LinkFactory &links,
                          const std::atomic_bool &stop);
    // Asks every port side by side and returns when all are done, the
    // results in the order of `ports` (a device named twice once).
    static QList<FindResult> findAll(const QList<PortChoice> &ports,
                                     const LinkFactory &links = systemLinks());

    // The ports with each device once (by PortChoice::deviceKey), in their order.
    static QList<PortChoice> distinct(const QList<PortChoice> &ports);

signals:
    void progress(int done, int total);
    void resultReady(const FindResult &result);
    void finished();

private:
    void deliver(const FindResult &result);

    LinkFactory m_links;
    QThreadPool m_pool;
    std::shared_ptr<std::atomic_bool> m_stop;
    QList<FindResult> m_results;
    int m_total = 0;
    bool m_running = false;
};

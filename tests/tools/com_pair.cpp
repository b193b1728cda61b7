// Two pseudo-terminals joined back to back, for the serial contract test of
// the Windows build under Wine: Wine maps COM1 to FOLDER/line (the component
// under test) and COM2 to FOLDER/far (the test's end of the cable). The test,
// a Windows program, steers the cable through files it creates in FOLDER:
//   reset  two fresh terminals, nothing left over from an earlier case;
//   drop   the line end goes away, as a pulled cable.
// Each request file is removed once done. Prints "ready" when the links
// exist; ends after --seconds (default 600) so that it never outlives a run.

#include <cstdio>
#include <memory>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>

#include "SimLine.h"

namespace {

// Points `link` at `target`, replacing what was there in one step.
bool relink(const QDir &folder, const QString &link, const QString &target)
{
    const QString temporary = folder.filePath(link + QStringLiteral(".new"));
    QFile::remove(temporary);
    return QFile::link(target, temporary) &&
           ::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(folder.filePath(link)).constData()) == 0;
}

bool takeRequest(const QDir &folder, const QString &name)
{
    return QFile::exists(folder.filePath(name));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2) {
        fprintf(stderr, "usage: com_pair FOLDER [--seconds N]\n");
        return 2;
    }
    const QDir folder(arguments.at(1));
    const int seconds =
        arguments.size() > 3 && arguments.at(2) == u"--seconds" ? arguments.at(3).toInt() : 600;
    const QDeadlineTimer lifetime(qint64(seconds) * 1000);

    std::unique_ptr<PtyLine> line;
    std::unique_ptr<PtyLine> far;
    const auto fresh = [&] {
        line.reset();
        far.reset();
        line = std::make_unique<PtyLine>();
        far = std::make_unique<PtyLine>();
        return line->isOpen() && far->isOpen() &&
               relink(folder, QStringLiteral("line"), line->name()) &&
               relink(folder, QStringLiteral("far"), far->name());
    };
    if (!fresh()) {
        fprintf(stderr, "com_pair: %s%s\n", qPrintable(line->errorString()),
                qPrintable(far->errorString()));
        return 1;
    }
    printf("ready\n");
    fflush(stdout);

    while (!lifetime.hasExpired()) {
        if (takeRequest(folder, QStringLiteral("reset"))) {
            if (!fresh())
                return 1;
            QFile::remove(folder.filePath(QStringLiteral("reset")));
        }
        if (takeRequest(folder, QStringLiteral("drop"))) {
            line->hangUp();
            QFile::remove(folder.filePath(QStringLiteral("drop")));
        }
        if (line->isOpen()) {
            if (const QByteArray bytes = line->read(2); !bytes.isEmpty())
                far->write(bytes);
        } else {
            QThread::msleep(2);
        }
        if (const QByteArray bytes = far->read(2); !bytes.isEmpty() && line->isOpen())
            line->write(bytes);
    }
    return 0;
}

#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QString>

// A pseudo-terminal that nobody answers on: the other end is held open
// and never read or written.
class SilentPty
{
public:
    SilentPty() : m_master(posix_openpt(O_RDWR | O_NOCTTY))
    {
        if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0)
            m_port = QString::fromLocal8Bit(ptsname(m_master));
    }
    ~SilentPty()
    {
        if (m_master >= 0)
            ::close(m_master);
    }
    SilentPty(const SilentPty &) = delete;
    SilentPty &operator=(const SilentPty &) = delete;
    QString port() const { return m_port; }

private:
    int m_master;
    QString m_port;
};

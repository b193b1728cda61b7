#include "link/TickCounter.h"

#if defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

quint32 SystemTickCounter::GetTickCount()
{
#if defined(Q_OS_WIN)
    return ::GetTickCount();
#else
    return static_cast<quint32>(m_clock.elapsed());
#endif
}

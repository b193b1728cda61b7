#include "screen/ScreenInterpreter.h"

#include "commandsets/CommandSets.h"
#include "screen/SetMachines.h"

ScreenInterpreter::ScreenInterpreter(int commandSet)
    : m_commandSet(commandSet), m_log(std::make_unique<UnknownLog>()),
      m_machine(makeSetMachine(commandSet, m_screen, *m_log))
{
}

ScreenInterpreter::~ScreenInterpreter() = default;

bool ScreenInterpreter::interprets(int commandSet)
{
    return CommandSets::isPubliclyDescribed(commandSet);
}

void ScreenInterpreter::setCommandSet(int commandSet)
{
    if (commandSet == m_commandSet)
        return;
    m_machine->abandon();
    m_commandSet = commandSet;
    m_machine = makeSetMachine(commandSet, m_screen, *m_log);
}

void ScreenInterpreter::reset()
{
    m_screen = Screen();
    m_log->clear();
    m_machine = makeSetMachine(m_commandSet, m_screen, *m_log);
}

bool ScreenInterpreter::feed(QByteArrayView bytes)
{
    const Screen before = m_screen;
    for (const char byte : bytes)
        m_machine->take(quint8(byte));
    return !(m_screen == before);
}

bool ScreenInterpreter::waiting() const
{
    return m_machine->waiting();
}

bool ScreenInterpreter::hasUnknown() const
{
    return !m_log->sequences().isEmpty() || m_log->dropped() > 0;
}

ScreenInterpreter::Unknown ScreenInterpreter::unknown() const
{
    return {m_log->sequences(), m_log->dropped()};
}

ScreenInterpreter::Unknown ScreenInterpreter::takeUnknown()
{
    Unknown taken = unknown();
    m_log->clear();
    return taken;
}

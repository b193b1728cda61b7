#pragma once

#include <QtGlobal>

// The serial component of this system: Win32 itself on Windows, Qt Serial
// Port elsewhere. The build compiles only the one it names.
#if defined(Q_OS_WIN)
#include "link/Win32Comm.h"
using SystemComm = Win32Comm;
#else
#include "link/SerialPortComm.h"
using SystemComm = SerialPortComm;
#endif

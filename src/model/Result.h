#pragma once

#include <optional>
#include <utility>
#include <variant>

#include <QString>

// What went wrong in reaching a display or in a settings file: the reason,
// and the facts a sentence about it needs. The sentences are made in one
// place, src/messages, for the window and tq540ctl alike.
struct Error
{
    enum class Reason {
        // Choosing and opening a port.
        NoPortChosen,     // neither a list entry nor a typed device
        NoNumberedPort,   // count: a port number this system has no device for
        NoSuchPort,       // device
        PortBusy,         // device
        PermissionDenied, // device, detail: the group that may use it (or none), system: owner
        OpenFailed,       // device, system
        NotSerialPort,    // device: a file, a pipe or a device that is no terminal
        SettingsInvalid,  // detail: the settings text as given
        SettingsRefused,  // device (empty: the open port), detail, system
        // On the line.
        LineLost,
        DeviceFailed, // system: the component's words, if it has any
        SendTimedOut, // ms
        NotDrained,   // count: bytes still queued, ms
        NoAnswer,      // detail: the line settings, ms: the wait for the first byte
        WrongLeadByte, // count: bytes received, total, detail: the line settings
        ShortReply,    // count: bytes received, total, detail: the line settings
        // Settings files; subject is the file's path.
        NoSuchFile,
        NotRegularFile,
        FileUnreadable,  // system
        FileTooShort,    // count: bytes in the file, total
        NotSettingsFile, // detail: the lists whose byte is no entry
        RefusedName,
        WrongLength, // count: bytes to write, total
        CannotWrite, // system
        NotRegularTarget, // a save onto a device, a pipe, a socket or a folder
    };

    // Where a transfer stopped; None outside a transfer, and for the
    // outcomes that speak for themselves (no answer, a wrong reply).
    enum class Stage {
        None,
        Opening,     // the port could not be used; nothing was sent
        Downloading, // count of total bytes were sent
        Draining,    // every byte was sent; count of total had not left (-1: unknown)
        Uploading,   // the request or the reply broke off
        Writing,     // other bytes for the display; count of total were sent (total 0: all)
    };

    Reason reason = Reason::DeviceFailed;
    Stage stage = Stage::None;
    QString subject{}; // the port as the user named it, or a file's path
    QString device{};  // the device the system was asked to open
    QString detail{};  // what the user gave, as given (see the reasons)
    QString system{};  // the system's own words
    int count = 0;
    int total = 0;
    int ms = 0; // the time limit that ran out
};

// A value, or the Error that kept it from being made.
template <typename T> class [[nodiscard]] Result
{
public:
    Result(T value) : m_state(std::move(value)) {}
    Result(Error error) : m_state(std::move(error)) {}

    bool ok() const { return m_state.index() == 0; }
    explicit operator bool() const { return ok(); }

    // Only when ok (std::bad_variant_access otherwise).
    const T &value() const & { return std::get<0>(m_state); }
    T &&value() && { return std::get<0>(std::move(m_state)); }
    const T &operator*() const & { return value(); }
    const T *operator->() const { return &value(); }

    // Only when not ok.
    const Error &error() const { return std::get<1>(m_state); }

private:
    std::variant<T, Error> m_state;
};

// Done, or the Error that stopped it.
template <> class [[nodiscard]] Result<void>
{
public:
    Result() = default;
    Result(Error error) : m_error(std::move(error)) {}

    bool ok() const { return !m_error.has_value(); }
    explicit operator bool() const { return ok(); }
    const Error &error() const { return m_error.value(); }

private:
    std::optional<Error> m_error;
};

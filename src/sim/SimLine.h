#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QSerialPort>
#include <QString>

// The simulator's end of the line: a pseudo-terminal whose other end the
// utility opens, or a real serial device.
class SimLine
{
public:
    virtual ~SimLine() = default;

    // What to type into Comm to reach the simulator.
    virtual QString name() const = 0;
    // Waits up to `timeoutMs` for bytes; empty when none came.
    virtual QByteArray read(int timeoutMs) = 0;
    virtual bool write(QByteArrayView bytes) = 0;
    // Drops the line, as a pulled cable would.
    virtual void hangUp() = 0;
    virtual bool isBroken() const = 0;
    virtual QString errorString() const = 0;
    // The speed the other side set, where the line tells (a
    // pseudo-terminal); none where the hardware itself keeps one speed.
    virtual std::optional<int> speedSet() const { return std::nullopt; }
};

// A pseudo-terminal. Its own slave end stays open, raw, so that the line
// lives on while the utility opens and closes the port.
class PtyLine final : public SimLine
{
public:
    PtyLine();
    ~PtyLine() override;
    PtyLine(const PtyLine &) = delete;
    PtyLine &operator=(const PtyLine &) = delete;

    bool isOpen() const { return m_master >= 0; }

    QString name() const override { return m_name; }
    QByteArray read(int timeoutMs) override;
    bool write(QByteArrayView bytes) override;
    void hangUp() override;
    bool isBroken() const override { return m_broken; }
    QString errorString() const override { return m_error; }
    std::optional<int> speedSet() const override;

private:
    void fail(const QString &what);

    int m_master = -1;
    int m_slave = -1;
    QString m_name;
    bool m_broken = false;
    QString m_error;
};

// A serial device, for a real cable to the utility on another computer.
class DeviceLine final : public SimLine
{
public:
    DeviceLine(const QString &device, int baudRate);

    bool isOpen() const { return m_port.isOpen(); }

    QString name() const override { return m_name; }
    QByteArray read(int timeoutMs) override;
    bool write(QByteArrayView bytes) override;
    void hangUp() override { m_port.close(); }
    bool isBroken() const override;
    QString errorString() const override { return m_error; }

private:
    QSerialPort m_port;
    QString m_name;
    QString m_error;
};

// Another name for a pseudo-terminal: a symbolic link made at start and
// removed when this object goes, if it still leads there. An existing file
// is never replaced; a link left by a run that did not end is.
class StableName
{
public:
    StableName(const QString &path, const QString &target);
    ~StableName();
    StableName(const StableName &) = delete;
    StableName &operator=(const StableName &) = delete;

    bool isMade() const { return m_error.isEmpty(); }
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_target;
    QString m_error;
};

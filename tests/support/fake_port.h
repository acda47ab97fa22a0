#pragma once
// A scripted port: records each write with the parity in force, and lets the test deliver bytes
// as receive notifications.

#include "link/port.h"

#include <QList>

namespace zr::test
{

class FakePort : public link::Port
{
public:
    struct Write {
        QByteArray bytes;
        link::Parity parity;
    };

    bool open(const QString& name) override
    {
        openedName = name;
        m_open = !failOpen;
        return m_open;
    }
    bool close() override
    {
        if (failClose)
            return false;
        m_open = false;
        return true;
    }
    bool isOpen() const override { return m_open; }
    bool setBaudRate(int) override { return true; }
    bool setParity(link::Parity parity) override
    {
        m_parity = parity;
        return true;
    }
    link::Parity parity() const override { return m_parity; }
    bool assertRts() override { return true; }
    bool write(const QByteArray& bytes) override
    {
        writes.append({bytes, m_parity});
        return true;
    }
    QByteArray readAvailable() override
    {
        const QByteArray bytes = m_pending;
        m_pending.clear();
        return bytes;
    }

    void deliver(const QByteArray& bytes)
    {
        m_pending += bytes;
        emit received();
    }

    QList<Write> writes;
    QString openedName;
    bool failOpen = false;
    bool failClose = false;

private:
    bool m_open = false;
    link::Parity m_parity = link::Parity::Space;
    QByteArray m_pending;
};

} // namespace zr::test

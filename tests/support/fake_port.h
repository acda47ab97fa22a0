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
        open_ = !failOpen;
        return open_;
    }
    bool close() override
    {
        if (failClose)
            return false;
        open_ = false;
        return true;
    }
    bool isOpen() const override { return open_; }
    bool setBaudRate(int) override { return true; }
    bool setParity(link::Parity parity) override
    {
        parity_ = parity;
        return true;
    }
    link::Parity parity() const override { return parity_; }
    bool assertRts() override { return true; }
    bool write(const QByteArray& bytes) override
    {
        writes.append({bytes, parity_});
        return true;
    }
    QByteArray readAvailable() override
    {
        const QByteArray bytes = pending_;
        pending_.clear();
        return bytes;
    }

    void deliver(const QByteArray& bytes)
    {
        pending_ += bytes;
        emit received();
    }

    QList<Write> writes;
    QString openedName;
    bool failOpen = false;
    bool failClose = false;

private:
    bool open_ = false;
    link::Parity parity_ = link::Parity::Space;
    QByteArray pending_;
};

} // namespace zr::test

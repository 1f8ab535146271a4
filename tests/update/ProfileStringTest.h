#pragma once

#include <QObject>

class ProfileStringTest : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
};

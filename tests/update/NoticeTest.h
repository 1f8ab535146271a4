#pragma once

#include <QObject>

class NoticeTest : public QObject
{
    Q_OBJECT

private slots:
    void updateText_data();
    void updateText();
    void readUpdateText_data();
    void readUpdateText();
    void applyNotice_data();
    void applyNotice();
    void failureKeepsTheEarlierState();
    void successClearsUpdateFailed();
};

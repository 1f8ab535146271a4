#pragma once

#include <QObject>

class DownloadFileTest : public QObject
{
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void redirects_data();
    void redirects();
    void slowServers_data();
    void slowServers();
    void closedPortFails();
    void unwritableTargetFails();
};

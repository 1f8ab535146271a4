#pragma once

#include <QObject>

class DownloadFileTest : public QObject
{
    Q_OBJECT

private slots:
    void replacesTheFileOnlyWithAWholeAnswer_data();
    void replacesTheFileOnlyWithAWholeAnswer();
};

#pragma once

#include <QObject>
#include <QTemporaryDir>

class UpdateCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void location_data();
    void location();
    void remove_data();
    void remove();
    void run_data();
    void run();

private:
    // The cache directory lives under the home directory, so a temporary one keeps it clean.
    QTemporaryDir m_home;
    QByteArray m_savedHome;
};

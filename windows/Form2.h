#pragma once

#include "AboutSetup.h"

#include <QDialog>
#include <QStringList>

class LinkLabel;
class QLabel;

// The About window: the program's name, version, author and maker, its icon, the outcome of the
// update check and two web links. Its load step runs the update check; destroying it deletes the
// downloaded notice.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    explicit Form2(AboutSetup setup = AboutSetup::forThisProgram(), QWidget *parent = nullptr);
    ~Form2() override;

    // Shows the window modally, after its load step.
    int exec() override;
    // The load step: the update check, and its outcome on the status line and the program link.
    void load();

private:
    void createControls();
    // The address Label6 opens and names in its tooltip: the fixed one unless the notice gave one.
    QString programPage() const;

    const AboutSetup m_setup;
    QString m_noticeFile;
    bool m_downloaded = false;
    bool UpdateFailed = true;
    QStringList UpdateFields;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    LinkLabel *Label4 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label5 = nullptr;
    LinkLabel *Label6 = nullptr;
    QLabel *Image1 = nullptr;
};

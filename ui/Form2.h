#pragma once

#include "AboutSetup.h"

#include <QDialog>

class LinkLabel;
class QLabel;

// The About window: the program's name, version, author and maker, its icon, the outcome of the
// update check and two web links. Building it runs the update check, before it is first shown;
// destroying it deletes the downloaded notice.
class Form2 : public QDialog
{
    Q_OBJECT

public:
    explicit Form2(AboutSetup setup = AboutSetup::forThisProgram(), QWidget *parent = nullptr);
    ~Form2() override;

private:
    void createControls();
    void load();

    const AboutSetup m_setup;
    QString m_noticeFile;
    // The address Label6 opens and names in its tooltip: the fixed one unless the notice gave one.
    QString m_programPage;

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    LinkLabel *Label4 = nullptr;
    QLabel *Label15 = nullptr;
    QLabel *Label5 = nullptr;
    LinkLabel *Label6 = nullptr;
    QLabel *Image1 = nullptr;
};

#pragma once

#include <QString>

class QWidget;

// The Save As dialog as the save command drives it: a filter list of name and pattern pairs
// separated by "|", and the chosen path, which the next showing starts from.
class CommonDialog
{
public:
    QString Filter;
    QString FileName;

    // Shows the modal dialog; false when the user cancels it, true with FileName set otherwise.
    bool ShowSave(QWidget *parent);
};

#pragma once

#include <QLabel>

// A label that acts as a web link: a click with the left button reports clicked().
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
};

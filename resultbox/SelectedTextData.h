#pragma once

#include "ResultText.h"

#include <QMimeData>

// A selection offered to other programs as plain text: the text is made only when one of them asks
// for it, and let go once it is handed over, so selecting and copying cost the same at any length.
class SelectedTextData : public QMimeData
{
public:
    SelectedTextData(const ResultText &text, qsizetype from, qsizetype to);

    bool hasFormat(const QString &mimeType) const override;
    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override;

private:
    const ResultText m_text;
    const qsizetype m_from;
    const qsizetype m_to;
};

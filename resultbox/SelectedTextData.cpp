#include "SelectedTextData.h"

namespace {

const QString plainText = QStringLiteral("text/plain");

} // namespace

SelectedTextData::SelectedTextData(const ResultText &text, qsizetype from, qsizetype to)
    : m_text(text)
    , m_from(from)
    , m_to(to)
{ }

bool SelectedTextData::hasFormat(const QString &mimeType) const
{
    return mimeType == plainText;
}

QStringList SelectedTextData::formats() const
{
    return { plainText };
}

QVariant SelectedTextData::retrieveData(const QString &mimeType, QMetaType type) const
{
    if (mimeType != plainText)
        return {};
    if (type.id() == QMetaType::QByteArray)
        return m_text.utf8(m_from, m_to - m_from);
    return m_text.mid(m_from, m_to - m_from);
}

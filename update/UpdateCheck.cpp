#include "UpdateCheck.h"

#include "BuildConfig.h"
#include "CatalogueText.h"
#include "Module1.h"
#include "NoticeReader.h"

QString UpdateCheck::noticeAddress()
{
    return QStringLiteral("http://" ZLOMKAR_UPDATE_HOST "/update.txt");
}

UpdateOutcome UpdateCheck::run(
    const QString &noticeAddress, const QString &noticeFile, const DownloadLimits &limits)
{
    UpdateOutcome outcome;
    const bool downloaded = Module1::DownloadFile(noticeAddress, noticeFile, limits);
    // Reading the file replaces this caption in every case, before the window is first shown.
    outcome.statusCaption = message(downloaded ? 120 : 119);
    const QString UpdateText = NoticeReader::readUpdateText(noticeFile);
    return applyNotice(UpdateText, std::move(outcome));
}

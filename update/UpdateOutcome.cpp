#include "UpdateOutcome.h"

#include "CatalogueText.h"

UpdateOutcome applyNotice(const QString &UpdateText, UpdateOutcome before)
{
    UpdateOutcome outcome = std::move(before);
    // The whole buffer is split, so the last field carries the NUL characters that fill it.
    const QStringList fields = UpdateText.split(u';');
    // The check reads fields 0 to 2 without asking how many there are; a shorter value is taken
    // for an unusable notice.
    if (UpdateText.startsWith(u"error") || fields.size() < 3) {
        outcome.statusCaption = message(119);
        outcome.UpdateFailed = true;
        return outcome;
    }
    outcome.UpdateFailed = false;
    outcome.UpdateFields = fields;
    outcome.statusCaption = fields[0];
    outcome.statusEnabled = fields[2].startsWith(u'1');
    outcome.programPageAddress = QStringLiteral("http://www.") + fields[1];
    return outcome;
}

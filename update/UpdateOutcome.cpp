#include "UpdateOutcome.h"

#include "CatalogueText.h"

UpdateOutcome applyNotice(const QString &UpdateText)
{
    // The whole buffer is split, so the last field carries the NUL characters that fill it.
    const QStringList fields = UpdateText.split(u';');
    // The check reads fields 0 to 2 without asking how many there are; a shorter value is taken
    // for an unusable notice.
    if (UpdateText.startsWith(u"error") || fields.size() < 3)
        return { message(119), false, true, {} };
    return { fields[0], fields[2].startsWith(u'1'), false, fields };
}

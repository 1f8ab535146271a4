// Input: the downloaded notice file, byte for byte.
#include "CatalogueText.h"
#include "FuzzCheck.h"
#include "NoticeReader.h"
#include "ProfileString.h"
#include "UpdateOutcome.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view notice(reinterpret_cast<const char *>(data), size);
    const std::string value = ProfileString::read(notice, "Update", "90220", "error", 128);
    check(notice.find(value) != notice.npos || value == "error", "the value is from the notice");
    const QString UpdateText = NoticeReader::updateText(notice);
    check(UpdateText.size() == 128 && UpdateText.indexOf(QChar(0)) == qsizetype(value.size()),
        "UpdateText is the value, one character a byte, filled up to 128 with NUL characters");
    const auto [caption, enabled, failed, field] = applyNotice(UpdateText);
    check(failed == (UpdateText.startsWith(u"error") || UpdateText.count(';') < 2)
            && (failed ? caption == message(119) && !enabled
                       : field.join(';') == UpdateText && caption == field[0]
                        && enabled == field[2].startsWith('1')),
        "a value that begins with error or has fewer than three fields shows message 119 greyed; "
        "another shows field 0, enabled when field 2 begins with 1");
    return 0;
}

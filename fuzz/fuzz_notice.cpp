// Input: the notice; a first line "; expect: status|on|field 1" (or 119) says what it shows.
#include "CodePage1250.h"
#include "FuzzCheck.h"
#include "NoticeReader.h"
#include "UpdateOutcome.h"

#include <cctype>

namespace {

QString shown(const UpdateOutcome &outcome)
{
    return outcome.UpdateFailed ? QStringLiteral("119")
                                : outcome.statusCaption + (outcome.statusEnabled ? "|on|" : "|off|")
            + outcome.UpdateFields[1];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view notice(reinterpret_cast<const char *>(data), size);
    const QString UpdateText = NoticeReader::updateText(notice),
                  seen = shown(applyNotice(UpdateText));
    check(UpdateText.size() == 128 && !UpdateText.contains(u'\n') && !UpdateText.contains(u'\r'),
        "UpdateText is 128 characters of one line");

    std::string fields[3];
    for (std::size_t i = 0; i < size; ++i)
        if (std::isalnum(data[i]) && fields[i % 3].size() < 40)
            fields[i % 3] += char(data[i]);
    const std::string expected = fields[0].starts_with("error")
        ? "119"
        : fields[0] + (fields[2].starts_with('1') ? "|on|" : "|off|") + fields[1];
    const UpdateOutcome read = applyNotice(NoticeReader::updateText(
        "[Update]\r\n90220=" + fields[0] + ';' + fields[1] + ';' + fields[2]));
    check(shown(read) == QString::fromStdString(expected), "a notice reads back as written");

    const std::string_view expect = "; expect: ";
    if (notice.starts_with(expect)) {
        const auto line = notice.substr(expect.size(), notice.find('\n') - expect.size());
        check(seen == QString::fromStdU16String(CodePage1250::decode(line)),
            "the notice shows what it expects");
    }
    return 0;
}

// Input: the whole input is the downloaded notice file, byte for byte.

#include "CatalogueText.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "NoticeReader.h"
#include "ProfileString.h"
#include "UpdateOutcome.h"

#include <QString>
#include <algorithm>
#include <string>

namespace {

constexpr std::string_view defaultValue = "error";
constexpr std::size_t capacity = 128;

std::string readEntry(std::string_view notice, std::size_t bufferCapacity = capacity)
{
    return ProfileString::read(notice, "Update", "90220", defaultValue, bufferCapacity);
}

bool containsIgnoringAsciiCase(std::string_view text, std::string_view lowerCaseWord)
{
    const auto found
        = std::search(text.begin(), text.end(), lowerCaseWord.begin(), lowerCaseWord.end(),
            [](char a, char b) { return (a >= 'A' && a <= 'Z' ? char(a - 'A' + 'a') : a) == b; });
    return found != text.end();
}

std::string withLineFeeds(std::string_view notice)
{
    std::string text;
    for (std::size_t i = 0; i < notice.size(); ++i) {
        if (notice[i] == '\r' && i + 1 < notice.size() && notice[i + 1] == '\n')
            continue;
        text += notice[i] == '\r' ? '\n' : notice[i];
    }
    return text;
}

void checkProfileRead(std::string_view notice, const std::string &value)
{
    check(value.size() < capacity, "the value leaves room for the terminating NUL");
    check(value.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos,
        "a value ends at a NUL byte or at the end of its line");
    check(notice.find(value) != std::string_view::npos || defaultValue.starts_with(value),
        "the value comes from the notice or is the default");
    if (!containsIgnoringAsciiCase(notice, "update") || notice.find("90220") == notice.npos)
        check(value == defaultValue, "without the section or the key the value is the default");
    for (const std::size_t smaller : { 0, 1, 2, 6, 40 })
        check(readEntry(notice, smaller) == value.substr(0, smaller ? smaller - 1 : 0),
            "a smaller buffer receives the start of the same value");
    check(readEntry(withLineFeeds(notice)) == value, "CR LF, a lone CR and LF end lines alike");
    check(readEntry("[Update]\r\n90220=A;B;1\r\n" + std::string(notice)) == "A;B;1",
        "the first key found wins, whatever follows it");
}

void checkUpdateText(const QString &UpdateText, const std::string &value)
{
    check(UpdateText.size() == qsizetype(capacity), "UpdateText always has 128 characters");
    const auto firstNul = UpdateText.indexOf(QChar(u'\0'));
    check(firstNul == qsizetype(value.size()), "one character for each byte of the value");
    check(std::all_of(UpdateText.begin() + firstNul, UpdateText.end(),
              [](QChar c) { return c == QChar(u'\0'); }),
        "NUL characters fill the rest of UpdateText");
}

void checkOutcome(const QString &UpdateText, const UpdateOutcome &before)
{
    const UpdateOutcome outcome = applyNotice(UpdateText, before);
    const bool usable = !UpdateText.startsWith(u"error") && UpdateText.count(u';') >= 2;
    check(outcome.UpdateFailed != usable,
        "a notice fails when it begins with error or has fewer than three fields");
    if (outcome.UpdateFailed) {
        check(outcome.statusCaption == message(119), "a failed notice shows message 119");
        check(outcome.statusEnabled == before.statusEnabled
                && outcome.programPageAddress == before.programPageAddress
                && outcome.UpdateFields == before.UpdateFields,
            "a failed notice leaves the rest of the window as it was");
        return;
    }
    const QStringList &fields = outcome.UpdateFields;
    check(fields.size() >= 3, "a usable notice has at least three fields");
    check(fields.join(u';') == UpdateText, "the fields joined by ; give back UpdateText");
    check(!fields[0].contains(QChar(u'\0')) && !fields[1].contains(QChar(u'\0')),
        "fields 0 and 1 carry no NUL characters");
    check(outcome.statusCaption == fields[0], "the status line shows field 0");
    check(outcome.statusEnabled == fields[2].startsWith(u'1'),
        "the status line is enabled exactly when field 2 begins with 1");
    check(outcome.programPageAddress == QStringLiteral("http://www.") + fields[1],
        "the program page is http://www. followed by field 1");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto notice = FuzzInput::bytes(data, size);
    const std::string value = readEntry(notice);
    checkProfileRead(notice, value);

    const QString UpdateText = NoticeReader::updateText(notice);
    checkUpdateText(UpdateText, value);

    UpdateOutcome earlier;
    earlier.statusCaption = message(120);
    earlier.statusEnabled = true;
    earlier.programPageAddress = QStringLiteral("http://www.earlier.example");
    earlier.UpdateFields = QStringList { QStringLiteral("earlier") };
    checkOutcome(UpdateText, UpdateOutcome {});
    checkOutcome(UpdateText, earlier);
    return 0;
}

#include "MessageCatalogue.h"

#include "BuildConfig.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> lines(std::u16string_view text)
{
    std::vector<std::u16string> out(1);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, 2) == u"\r\n") {
            out.emplace_back();
            ++i;
        } else {
            out.back() += text[i];
        }
    }
    return out;
}

const std::u16string webAddress = u"" ZLOMKAR_WEB_ADDRESS;

TEST(MessageCatalogue, EveryNumberHasText)
{
    for (int n = MessageCatalogue::firstNumber; n <= MessageCatalogue::lastNumber; ++n)
        EXPECT_FALSE(MessageCatalogue::text(n).empty()) << n;
}

TEST(MessageCatalogue, NumbersOutsideTheCatalogueAreProgrammingErrors)
{
    EXPECT_THROW(MessageCatalogue::text(100), std::out_of_range);
    EXPECT_THROW(MessageCatalogue::text(124), std::out_of_range);
}

TEST(MessageCatalogue, TextsAreExact)
{
    EXPECT_EQ(MessageCatalogue::text(101), u"Chybné zadání => dělení nulou");
    EXPECT_EQ(MessageCatalogue::text(106), u"Uložit výsledek...");
    EXPECT_EQ(MessageCatalogue::text(116), u"(0 = \"nekonečno\")");
    EXPECT_EQ(MessageCatalogue::text(120), u"OK, staženo");
    EXPECT_EQ(MessageCatalogue::text(121), u"Chybné zadání => číslo mimo rozsah");
    EXPECT_EQ(MessageCatalogue::text(122), u"Tak velká čísla nelze dělit!");
    EXPECT_EQ(MessageCatalogue::text(123), u"Výsledek se nepodařilo uložit!");
}

TEST(MessageCatalogue, PiecesKeepTheirBlanks)
{
    EXPECT_EQ(MessageCatalogue::text(114), u"Nyní na ");
    EXPECT_EQ(MessageCatalogue::text(115), u" desetinných míst");
    EXPECT_EQ(MessageCatalogue::text(117), u"Počítat na ");
}

TEST(MessageCatalogue, WebAddressComesFromTheBuildSettings)
{
    EXPECT_EQ(webAddress, u"www." ZLOMKAR_WEB_DOMAIN);
    EXPECT_EQ(
        MessageCatalogue::text(104), u"Tento program si můžete zdarma stáhnout na " + webAddress);
}

TEST(MessageCatalogue, HelpTextHasElevenLinesWithItsEmptyOnes)
{
    const auto help = lines(MessageCatalogue::text(118));
    ASSERT_EQ(help.size(), 11u);
    for (int empty : { 2, 5, 7, 9, 10 })
        EXPECT_TRUE(help[empty - 1].empty()) << "line " << empty;
    EXPECT_EQ(
        help[0], u"Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno desetinných míst");
    EXPECT_EQ(help[5], u"Přerušit počítní můžete kdykoliv tlačítkem \"Zastavit\"");
    EXPECT_EQ(help[10], webAddress);
}

} // namespace

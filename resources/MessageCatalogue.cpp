#include "MessageCatalogue.h"

#include "BuildConfig.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

constexpr std::array<std::u16string_view,
    MessageCatalogue::lastNumber - MessageCatalogue::firstNumber + 1>
    messages {
        u"Chybné zadání => dělení nulou", // 101
        u"Nulou nelze dělit!",
        u"Vypočítáno v programu Zlomkar",
        u"Tento program si můžete zdarma stáhnout na " ZLOMKAR_WEB_ADDRESS,
        u"Soubor", // 105
        u"Uložit výsledek...",
        u"Konec",
        u"Nastavení",
        u"Počet desetinných míst...",
        u"Nápověda", // 110
        u"Jak používat tento program",
        u"O programu",
        u"Zadejte počet desetinných míst k vypočítání",
        u"Nyní na ",
        u" desetinných míst", // 115
        u"(0 = \"nekonečno\")",
        u"Počítat na ",
        u"Tímto programem můžete dělit 2 (celá) čísla na \"nekonečno desetinných míst\r\n"
        u"\r\n"
        u"V \"Nastavení\" > \"Počet des. míst\" zadejte počet des. míst na které má být příklad "
        u"vypočítán\r\n"
        u"Zadejte čísla a klikněte na tlačítko \"Spustit\"\r\n"
        u"\r\n"
        u"Přerušit počítní můžete kdykoliv tlačítkem \"Zastavit\"\r\n"
        u"\r\n"
        u"Výsledek si můžete uložit do textového souboru přes \"Soubor\" > \"Uložit výsledek\"\r\n"
        u"\r\n"
        u"\r\n" ZLOMKAR_WEB_ADDRESS,
        u"Při stahování došlo k chybě",
        u"OK, staženo", // 120
        u"Chybné zadání => číslo mimo rozsah",
        u"Tak velká čísla nelze dělit!",
        u"Výsledek se nepodařilo uložit!",
        u"Výsledek je příliš dlouhý, výpočet byl zastaven.",
        u"Výsledek je konečný", // 125
        u"Perioda: ",
        u"Předperioda: ",
        u", perioda: ",
        u" číslice",
        u" číslic", // 130
        u" od ",
        u". desetinného místa",
        u"Perioda nekončí do ",
        u"Kopírovat s &periodou",
    };

} // namespace

std::u16string_view MessageCatalogue::text(int number)
{
    if (number < firstNumber || number > lastNumber)
        throw std::out_of_range("no message " + std::to_string(number) + " in the catalogue");
    return messages[number - firstNumber];
}

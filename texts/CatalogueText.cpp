#include "CatalogueText.h"

#include "MessageCatalogue.h"
#include "WideText.h"

QString message(int number)
{
    return fromWide(MessageCatalogue::text(number));
}

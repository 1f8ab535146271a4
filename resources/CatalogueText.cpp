#include "CatalogueText.h"

#include "MessageCatalogue.h"

QString message(int number)
{
    return QStringView(MessageCatalogue::text(number)).toString();
}

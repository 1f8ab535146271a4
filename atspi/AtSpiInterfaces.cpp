#include "AtSpiInterfaces.h"

#include <QXmlStreamReader>

AtSpiInterfaces parseIntrospection(const QString &xml)
{
    AtSpiInterfaces interfaces;
    // An object's introspection lists its interfaces side by side, without the node around them.
    QXmlStreamReader reader(QStringLiteral("<node>") + xml + QStringLiteral("</node>"));
    AtSpiInterface *interface = nullptr;
    QString *signature = nullptr;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (reader.name() == u"method")
                signature = nullptr;
            else if (reader.name() == u"interface")
                interface = nullptr;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView element = reader.name();
        const QXmlStreamAttributes attributes = reader.attributes();
        if (element == u"interface") {
            interface = &interfaces[attributes.value(QLatin1String("name")).toString()];
        } else if (interface && element == u"method") {
            signature = &interface->methods[attributes.value(QLatin1String("name")).toString()];
        } else if (signature && element == u"arg"
            && attributes.value(QLatin1String("direction")) != u"out") {
            signature->append(attributes.value(QLatin1String("type")));
        } else if (interface && element == u"property") {
            interface->properties.insert(attributes.value(QLatin1String("name")).toString(),
                attributes.value(QLatin1String("access")).contains(u"write"));
        }
    }
    return interfaces;
}

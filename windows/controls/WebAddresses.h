#pragma once

#include "BuildConfig.h"

#include <QString>

// The maker's web pages that the About window links to.
namespace WebAddresses {

inline const QString homePage = QStringLiteral("http://" ZLOMKAR_WEB_ADDRESS);
inline const QString programPage = homePage + QStringLiteral("/data/html/zlomkar.html");

} // namespace WebAddresses

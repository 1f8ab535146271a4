#pragma once

#include <QFont>

// The platform's default sans-serif face at a designed size; it stands in for the designed face.
QFont designFont(qreal pointSize, bool bold = false);

// SPDX-License-Identifier: MIT
#include "Location/PositionSource.h"

#include "Utility/ORaw.h"

#include <QString>
#include <QStringList>
#include <cmath>

namespace zelmo {

bool PositionSourceSettings::parse(const std::string& value)
{
    const QString text = QString::fromStdString(value).trimmed();
    if (text.startsWith(QStringLiteral("error:"))) {
        bool ok = false;
        const int code = text.mid(6).toInt(&ok);
        if (!ok) return false;
        mode = Mode::Error;
        errorCode = code;
        return true;
    }
    const QStringList parts = text.split(u',');
    if (parts.size() < 2 || parts.size() > 4) return false;
    std::array<int64_t, 4> parsed{};
    for (qsizetype i = 0; i < parts.size(); ++i) {
        bool ok = false;
        const double number = parts[i].trimmed().toDouble(&ok);
        // Fixed values hold about ±2^31; anything beyond is no position.
        if (!ok || !std::isfinite(number) || std::fabs(number) >= 2147483648.0) return false;
        parsed[static_cast<size_t>(i)] = ORaw::toFixed(number);
    }
    mode = Mode::Fixed;
    values = parsed;
    return true;
}

} // namespace zelmo

#pragma once

#include "outcome.h"

#include <QJsonArray>
#include <QJsonValue>
#include <QString>

namespace lumora {

// One external-interface request: the function's name and its arguments as script values.
struct InvokeRequest {
    QString name;
    QJsonArray arguments;
};

// Reads "<invoke name=..."><arguments>...</arguments></invoke>"; fails on anything else.
// <undefined/> becomes an undefined value, which scripts receive as null.
Outcome<InvokeRequest> parseInvoke(const QString& xml);

// One value in the external-interface format: <number>, <string>, <true/>, <false/>, <null/>,
// <undefined/>, <array> and <object> with <property id=...> children.
QString formatValue(const QJsonValue& value);

} // namespace lumora

#pragma once

#include "screensaver.h"

#include <QStringList>

namespace lumora::test {

// Records "inhibit <reason>" and "release" in the order asked.
class FakeScreenSaver : public ScreenSaverInhibitor {
public:
    QStringList calls;
    void inhibit(const QString& reason) override { calls << QStringLiteral("inhibit ") + reason; }
    void release() override { calls << QStringLiteral("release"); }
};

} // namespace lumora::test

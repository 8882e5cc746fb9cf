#include "dlengine.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

using namespace lumora;

// The engine library the program ships, loaded the way the program loads it.
TEST(DlEngineWithRealLibrary, LoadsAndStartsAndStops) {
    test::TempDir store; // keeps the engine's files out of the build tree
    qputenv("LUMORA_ENGINE_STORE", store.path().toLocal8Bit());
    DlEngine engine(QStringLiteral(LUMORA_LIBRARY_DIR));
    ASSERT_TRUE(engine.loaded());
    EXPECT_TRUE(engine.Initlumora(33554455, [](std::int32_t, std::int32_t) {}));
    std::int32_t percent = -1;
    // A number the engine never handed out.
    EXPECT_FALSE(engine.GetProgInfo(123456789, percent));
    EXPECT_EQ(percent, -1);
    engine.UnInitlumora();
}

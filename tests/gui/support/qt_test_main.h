#pragma once
// One main for every Qt test: the offscreen platform, 96 logical DPI without
// scaling and one fixed font, set before the application exists, so that
// layouts and screenshots are the same on every machine.
#include <QApplication>
#include <QTest>

namespace veltrix::test {

// The font every Qt test draws with (fonts-noto-cjk).
inline constexpr const char* kTestFontFamily = "Noto Sans CJK JP";
inline constexpr int kTestFontPointSize = 9;

// Before QApplication: platform, DPI, scaling and the application font.
void PrepareQtTestEnvironment();
// After QApplication: false, with the reason on standard error, when the
// platform, the DPI or the font is not the fixed one.
bool CheckQtTestEnvironment();

}  // namespace veltrix::test

#define VELTRIX_QTEST_MAIN(TestObject)                          \
    int main(int argc, char** argv) {                           \
        veltrix::test::PrepareQtTestEnvironment();              \
        QApplication app(argc, argv);                           \
        if (!veltrix::test::CheckQtTestEnvironment()) return 1; \
        TestObject test;                                        \
        QTEST_SET_MAIN_SOURCE_PATH                              \
        return QTest::qExec(&test, argc, argv);                 \
    }

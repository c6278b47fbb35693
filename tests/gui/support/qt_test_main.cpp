#include "qt_test_main.h"

#include <QFont>
#include <QFontInfo>
#include <QScreen>
#include <cstdio>

namespace veltrix::test {

void PrepareQtTestEnvironment() {
    // The environment is set here, not only by CTest, so that a test run by hand looks the same.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_FONT_DPI", "96");
    qputenv("QT_SCALE_FACTOR", "1");
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    qunsetenv("QT_SCREEN_SCALE_FACTORS");
    qunsetenv("QT_AUTO_SCREEN_SCALE_FACTOR");
    QApplication::setAttribute(Qt::AA_Use96Dpi, true);
    QApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QFont font(QString::fromLatin1(kTestFontFamily), kTestFontPointSize);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
}

bool CheckQtTestEnvironment() {
    bool ok = true;
    auto fail = [&ok](const QString& reason) {
        std::fprintf(stderr, "Qt test environment: %s\n", qPrintable(reason));
        ok = false;
    };
    if (QGuiApplication::platformName() != QStringLiteral("offscreen"))
        fail(QStringLiteral("platform %1, not offscreen").arg(QGuiApplication::platformName()));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        if (screen->logicalDotsPerInch() != 96 || screen->devicePixelRatio() != 1.0)
            fail(QStringLiteral("%1 DPI at device pixel ratio %2, not 96 at 1")
                     .arg(screen->logicalDotsPerInch())
                     .arg(screen->devicePixelRatio()));
    }
    // A missing font would silently fall back to another with other metrics.
    const QFontInfo font(QApplication::font());
    if (font.family() != QString::fromLatin1(kTestFontFamily) || font.pointSize() != kTestFontPointSize)
        fail(QStringLiteral("font %1 %2pt, not %3 %4pt (fonts-noto-cjk)")
                 .arg(font.family())
                 .arg(font.pointSize())
                 .arg(QString::fromLatin1(kTestFontFamily))
                 .arg(kTestFontPointSize));
    return ok;
}

}  // namespace veltrix::test

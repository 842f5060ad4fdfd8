#include "editor/toolkit/CGradientBanner.h"
#include "editor/toolkit/CPictureView.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QTest>

class CPictureWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void pictureViewScalesAndClearsTheTransparentColour();
    void bannerPaintsGradientTextAndPictureWithInstalledFonts();
    void transparencyShowsOverACheckerboard();
};

void CPictureWidgetsTest::pictureViewScalesAndClearsTheTransparentColour() {
    CPictureView view;
    QImage image(100, 40, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    for (int x = 40; x < 60; ++x) {
        for (int y = 0; y < 40; ++y) {
            image.setPixel(x, y, qRgb(10, 200, 30));
        }
    }
    view.SetScale(0.65);
    view.SetTransparentColour(QColor(255, 0, 255));
    view.SetImage(image);
    QVERIFY(view.HasPicture());
    QCOMPARE(view.Shown().size(), QSize(65, 26));
    QCOMPARE(view.sizeHint(), QSize(65, 26));
    const QImage shown = view.Shown().toImage();
    QCOMPARE(qAlpha(shown.pixel(2, 13)), 0);
    QCOMPARE(QColor(shown.pixel(32, 13)), QColor(10, 200, 30));
    // Without a transparent colour every pixel stays.
    view.SetTransparentColour({});
    QCOMPARE(qAlpha(view.Shown().toImage().pixel(2, 13)), 255);
    // Drawn on screen, shrunk into a smaller frame rather than cut.
    view.resize(30, 30);
    const QImage drawn = view.grab().toImage();
    QCOMPARE(QColor(drawn.pixel(15, 15)), QColor(10, 200, 30));
    view.Clear();
    QVERIFY(!view.HasPicture());
    // A bad scale factor falls back to 1.
    view.SetScale(-2);
    QCOMPARE(view.Scale(), 1.0);
}

void CPictureWidgetsTest::transparencyShowsOverACheckerboard() {
    // Left half clear, right half opaque blue, 32 by 32 pixels drawn 1:1.
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int x = 16; x < 32; ++x)
        for (int y = 0; y < 32; ++y)
            image.setPixel(x, y, qRgb(0, 0, 255));
    CPictureView view;
    view.SetImage(image);
    view.resize(32, 32);
    // Without the board the clear part shows the widget's own background.
    const QColor plain = view.grab().toImage().pixelColor(2, 2);
    view.SetCheckerboard(true);
    const QImage drawn = view.grab().toImage();
    const int square = CPictureView::kCheckerSquare;
    const QColor first = drawn.pixelColor(1, 1);
    const QColor second = drawn.pixelColor(square + 1, 1);
    QVERIFY(first != second);
    QCOMPARE(drawn.pixelColor(1, square + 1), second);
    QCOMPARE(drawn.pixelColor(square + 1, square + 1), first);
    QVERIFY(first != plain || second != plain);
    // The opaque part covers the board.
    QCOMPARE(drawn.pixelColor(20, 1), QColor(0, 0, 255));
    QCOMPARE(drawn.pixelColor(20 + square, 1 + square), QColor(0, 0, 255));
}

void CPictureWidgetsTest::bannerPaintsGradientTextAndPictureWithInstalledFonts() {
    CGradientBanner banner;
    // The game's fonts are not installed here: the fonts fall back to bold system fonts of the
    // same sizes.
    QVERIFY(banner.TitleFont().bold());
    QCOMPARE(banner.TitleFont().pointSize(), 14);
    QCOMPARE(banner.CaptionFont().pointSize(), 12);
    QVERIFY(banner.CaptionFont().italic());
    QVERIFY(QFontDatabase::families().contains(QFontInfo(banner.TitleFont()).family()));
    QVERIFY(QFontMetrics(banner.TitleFont()).inFont(u'A'));

    QPixmap picture(32, 32);
    picture.fill(Qt::blue);
    banner.SetPicture(picture);
    banner.SetColour(QColor(0, 192, 0));
    banner.SetTitle(QStringLiteral("Ann Example"));
    banner.SetCaption(QStringLiteral("Centre Back"));
    QCOMPARE(banner.accessibleName(), QStringLiteral("Ann Example"));
    QCOMPARE(banner.accessibleDescription(), QStringLiteral("Centre Back"));
    banner.resize(400, banner.sizeHint().height());
    QVERIFY(banner.sizeHint().height() >= 32);
    const QImage drawn = banner.grab().toImage();
    // Gradient: the colour at the left, black at the right, the picture near the left.
    QCOMPARE(QColor(drawn.pixel(3, 2)).green() > 150, true);
    QVERIFY(QColor(drawn.pixel(drawn.width() - 2, 2)).lightness() < 20);
    QCOMPARE(QColor(drawn.pixel(20, drawn.height() / 2)), QColor(Qt::blue));
    // Some white text was drawn right of the picture.
    bool white = false;
    for (int x = 48; x < 200 && !white; ++x) {
        for (int y = 0; y < drawn.height() && !white; ++y) {
            white = QColor(drawn.pixel(x, y)).lightness() > 240;
        }
    }
    QVERIFY(white);
}

QTEST_MAIN(CPictureWidgetsTest)
#include "CPictureWidgetsTest.moc"

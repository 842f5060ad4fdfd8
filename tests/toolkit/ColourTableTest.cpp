#include "editor/toolkit/CColourSwatchGrid.h"
#include "editor/toolkit/CColourTableDialog.h"
#include "editor/toolkit/CPictureScaling.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QList<CColourSwatchGrid::SSwatch> ThreeColours() {
    return {{1, QColor(255, 0, 0)}, {2, QColor(0, 128, 255)}, {3, QColor(250, 250, 250)}};
}

const CColourTableDialog::STexts kTexts{QStringLiteral("Jersey colour 1"), QStringLiteral("OK"),
                                        QStringLiteral("Cancel")};

// Runs `act` on the dialog once a modal exec() shows it; a dialog that `act` leaves open is
// closed, so a failing check cannot hang the run.
void WhenShown(const std::function<void(CColourTableDialog*)>& act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<CColourTableDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        QApplication::processEvents();
        act(dialog);
        if (dialog->isVisible()) {
            dialog->reject();
            QFAIL("the dialog stayed open");
        }
    });
}

QPoint CentreOf(CColourSwatchGrid* grid, int row) {
    return grid->visualRect(grid->model()->index(row, 0)).center();
}

} // namespace

class ColourTableTest : public QObject {
    Q_OBJECT

private slots:
    void swatchesTellTheirIdAndRgb();
    void dialogChoosesOnlyTableColoursByKeyOrMouse();
    void dialogWithoutACurrentColourNeedsAChoice();
    void scalingClearsTheKeyColourAndFits();
};

void ColourTableTest::swatchesTellTheirIdAndRgb() {
    CColourSwatchGrid grid;
    grid.SetSwatches(ThreeColours());
    QCOMPARE(grid.Count(), 3);
    const QModelIndex second = grid.model()->index(1, 0);
    QCOMPARE(second.data(Qt::ToolTipRole).toString(),
             QStringLiteral("2: RGB 0, 128, 255 (#0080FF)"));
    QCOMPARE(second.data(Qt::AccessibleTextRole).toString(),
             second.data(Qt::ToolTipRole).toString());

    grid.SetCurrentId(3);
    QCOMPARE(grid.CurrentId(), std::optional<int>(3));
    // An id the table lacks leaves nothing chosen rather than a near colour.
    grid.SetCurrentId(40);
    QCOMPARE(grid.CurrentId(), std::optional<int>());
    grid.SetSwatches({});
    QCOMPARE(grid.Count(), 0);
    QCOMPARE(grid.CurrentId(), std::optional<int>());
}

void ColourTableTest::dialogChoosesOnlyTableColoursByKeyOrMouse() {
    // Keyboard: the current colour is shown, arrows move, Enter chooses.
    WhenShown([](CColourTableDialog* dialog) {
        CColourSwatchGrid* grid = dialog->Grid();
        QCOMPARE(grid->CurrentId(), std::optional<int>(1));
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("CurrentColour"))->text(),
                 QStringLiteral("1: RGB 255, 0, 0 (#FF0000)"));
        QTest::keyClick(grid, Qt::Key_Right);
        QTest::keyClick(grid, Qt::Key_Right);
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("CurrentColour"))->text(),
                 QStringLiteral("3: RGB 250, 250, 250 (#FAFAFA)"));
        QTest::keyClick(grid, Qt::Key_Return);
    });
    QCOMPARE(CColourTableDialog::Choose(ThreeColours(), 1, kTexts, nullptr), std::optional<int>(3));

    // Mouse: a double click on a swatch chooses it.
    WhenShown([](CColourTableDialog* dialog) {
        CColourSwatchGrid* grid = dialog->Grid();
        // A double click is a click followed by the double-click event.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CentreOf(grid, 1));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CentreOf(grid, 1));
    });
    QCOMPARE(CColourTableDialog::Choose(ThreeColours(), 3, kTexts, nullptr), std::optional<int>(2));

    // Escape chooses nothing.
    WhenShown([](CColourTableDialog* dialog) {
        QTest::keyClick(dialog->Grid(), Qt::Key_Right);
        QTest::keyClick(dialog->Grid(), Qt::Key_Escape);
    });
    QCOMPARE(CColourTableDialog::Choose(ThreeColours(), 1, kTexts, nullptr), std::optional<int>());
}

void ColourTableTest::dialogWithoutACurrentColourNeedsAChoice() {
    CColourTableDialog dialog(ThreeColours(), 77, kTexts);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.windowTitle(), kTexts.title);
    QCOMPARE(dialog.Grid()->accessibleName(), kTexts.title);
    auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled());
    dialog.accept();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.ChosenId(), std::optional<int>());

    QTest::mouseClick(dialog.Grid()->viewport(), Qt::LeftButton, {}, CentreOf(dialog.Grid(), 2));
    QVERIFY(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.ChosenId(), std::optional<int>(3));
}

void ColourTableTest::scalingClearsTheKeyColourAndFits() {
    QImage picture(64, 32, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    for (int y = 8; y < 24; ++y) {
        for (int x = 16; x < 48; ++x) {
            picture.setPixelColor(x, y, QColor(0, 90, 0));
        }
    }
    const QImage scaled = CPictureScaling::Scaled(picture, 0.5);
    QCOMPARE(scaled.size(), QSize(32, 16));
    QCOMPARE(qAlpha(scaled.pixel(1, 1)), 0);
    QCOMPARE(scaled.pixelColor(16, 8), QColor(0, 90, 0));
    // No magenta fringe where the cleared pixels meet the picture.
    for (int x = 0; x < scaled.width(); ++x) {
        const QColor c = QColor::fromRgba(scaled.pixel(x, 4)).toRgb();
        QVERIFY2(c.alpha() == 0 || c.red() < 40, qPrintable(c.name(QColor::HexArgb)));
    }
    // Without a key colour the magenta stays.
    QCOMPARE(CPictureScaling::Scaled(picture, 0.5, std::nullopt).pixelColor(1, 1),
             QColor(255, 0, 255));

    const QImage icon = CPictureScaling::Fitted(picture, 0.1875, 24);
    QCOMPARE(icon.size(), QSize(24, 24));
    QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
    QVERIFY(qAlpha(icon.pixel(12, 12)) > 0);
    // Too large for the square: shrunk to fit, keeping its shape.
    const QImage shrunk = CPictureScaling::Fitted(picture, 2.0, 24);
    QCOMPARE(shrunk.size(), QSize(24, 24));
    QCOMPARE(qAlpha(shrunk.pixel(12, 2)), 0);

    QVERIFY(CPictureScaling::Scaled(QImage(), 0.5).isNull());
    QVERIFY(CPictureScaling::Scaled(picture, 0.0).isNull());
    QVERIFY(CPictureScaling::Scaled(picture, -1.0).isNull());
    QCOMPARE(CPictureScaling::Scaled(picture, 0.001).size(), QSize(1, 1));
}

QTEST_MAIN(ColourTableTest)
#include "ColourTableTest.moc"

#include "editor/toolkit/CFormationView.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>

// The view on its own: geometry, mouse and keys, tool tips and what screen readers read.
class CFormationViewTest : public QObject {
    Q_OBJECT

private:
    static SFormationMarker Marker(int cell, const QString& name, int level = 0) {
        SFormationMarker marker;
        marker.cell = cell;
        marker.stackLevel = level;
        marker.setPiece = cell >= 80 && cell <= 84;
        marker.boxText = QString::number(cell);
        marker.name = name;
        marker.toolTip = "<b>" + name + "</b>";
        marker.description = "Place " + QString::number(cell) + ", " + name;
        return marker;
    }
    // 500 by 360: cells of 50 by 40.
    void Show(CFormationView& view) {
        view.resize(500, 360);
        view.SetMarkers({Marker(73, "Keeper"), Marker(55, "Back"), Marker(53, "Left"),
                         Marker(7, "Sub"), Marker(55, "Twin", 1), Marker(80, "Cap")});
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    static QPoint CentreOfCell(const CFormationView& view, int cell) {
        return view.CellRect(cell).center();
    }

private slots:
    void GeometryFollowsTheWidgetSize() {
        CFormationView view;
        Show(view);
        QCOMPARE(view.CellRect(73), QRect(150, 280, 50, 40));
        QCOMPARE(view.CellAt(QPoint(499, 359)), 89);
        QCOMPARE(view.CellAt(QPoint(500, 10)), -1);
        QCOMPARE(view.CellAt(QPoint(-1, 10)), -1);
        QCOMPARE(view.MarkerRect(0), QRect(152, 282, 46, 36));
        QCOMPARE(view.MarkerRect(99), QRect());
        // The twin in one place sits lower right and is what a click there grabs first.
        QVERIFY(view.MarkerRect(4).top() > view.MarkerRect(1).top());
        QVERIFY(view.MarkerRect(4).left() > view.MarkerRect(1).left());
        QCOMPARE(view.MarkerAt(view.MarkerRect(4).center()), 4);
        QCOMPARE(view.MarkerAt(view.MarkerRect(1).topLeft() + QPoint(2, 2)), 1);
        QCOMPARE(view.MarkerInCell(55), 1);

        view.resize(1000, 720);
        QCOMPARE(view.CellRect(73), QRect(300, 560, 100, 80));
        // Too small a widget has no cells and nothing under any point.
        view.resize(5, 5);
        QCOMPARE(view.CellAt(QPoint(1, 1)), -1);
    }

    void DraggingReportsTheCellUnderTheMouse() {
        CFormationView view;
        Show(view);
        QSignalSpy drops(&view, &CFormationView::MarkerDropped);
        QSignalSpy selections(&view, &CFormationView::MarkerSelected);
        QTest::mousePress(&view, Qt::LeftButton, {}, CentreOfCell(view, 7));
        QCOMPARE(view.SelectedMarker(), 3);
        QCOMPARE(selections.count(), 1);
        QMouseEvent move(QEvent::MouseMove, QPointF(260, 170), view.mapToGlobal(QPointF(260, 170)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
        QCOMPARE(view.MarkerRect(3).center(), QPoint(260, 170));
        QTest::mouseRelease(&view, Qt::LeftButton, {}, QPoint(260, 170));
        QCOMPARE(drops.count(), 1);
        QCOMPARE(drops[0][0].toInt(), 3);
        QCOMPARE(drops[0][1].toInt(), 45);
        // Back in its cell until the owner hands in new markers.
        QCOMPARE(view.MarkerRect(3), view.CellRect(7).adjusted(2, 2, -2, -2));

        // A press on the grass holds nothing and drops nothing.
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(view.SelectedMarker(), -1);
        QCOMPARE(drops.count(), 1);
    }

    void RightClickSelectsAndDoubleClickOrEnterActivates() {
        CFormationView view;
        Show(view);
        QSignalSpy drops(&view, &CFormationView::MarkerDropped);
        QSignalSpy activations(&view, &CFormationView::MarkerActivated);
        QTest::mouseClick(&view, Qt::RightButton, {}, CentreOfCell(view, 80));
        QCOMPARE(view.SelectedMarker(), 5);
        QCOMPARE(drops.count(), 0);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, CentreOfCell(view, 73));
        QCOMPARE(activations.count(), 1);
        QCOMPARE(activations[0][0].toInt(), 0);
        QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(activations.count(), 1);

        view.setFocus();
        view.SetSelectedMarker(0);          // the keeper, bottom middle
        QTest::keyClick(&view, Qt::Key_Up); // nearest above: the back-line marker at 53
        QCOMPARE(view.SelectedMarker(), 2);
        QTest::keyClick(&view, Qt::Key_Right);
        QCOMPARE(view.SelectedMarker(), 1);
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(activations.count(), 2);
        QCOMPARE(activations[1][0].toInt(), 1);
        QTest::keyClick(&view, Qt::Key_Down); // below 55: its twin
        QCOMPARE(view.SelectedMarker(), 4);

        // New markers keep a selection that still exists and drop one that does not.
        view.SetMarkers({Marker(73, "Keeper")});
        QCOMPARE(view.SelectedMarker(), -1);
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.SelectedMarker(), 0);
        view.SetMarkers({});
        QTest::keyClick(&view, Qt::Key_Enter);
        QCOMPARE(activations.count(), 2);
    }

    void SpaceCarriesAMarkerByKeysAndDropsItLikeADrag() {
        CFormationView view;
        Show(view);
        view.SetCellNamer([](int cell) { return "over " + QString::number(cell); });
        QSignalSpy drops(&view, &CFormationView::MarkerDropped);
        view.setFocus();
        view.SetSelectedMarker(0); // the keeper at 73
        QAccessibleInterface* keeper = QAccessible::queryAccessibleInterface(&view)->child(0);
        QVERIFY(!keeper->state().pressed);
        QTest::keyClick(&view, Qt::Key_Space);
        QCOMPARE(view.PickedMarker(), 0);
        QCOMPARE(view.PickedCell(), 73);
        QVERIFY(keeper->state().pressed);
        QCOMPARE(keeper->text(QAccessible::Description), QString("over 73"));
        QTest::keyClick(&view, Qt::Key_Up);
        QTest::keyClick(&view, Qt::Key_Left);
        QCOMPARE(view.PickedCell(), 62);
        QCOMPARE(keeper->text(QAccessible::Description), QString("over 62"));
        // Drawn where it is carried, picked out from the others.
        QCOMPARE(view.MarkerRect(0), view.CellRect(62).adjusted(2, 2, -2, -2));
        const QImage image = view.grab().toImage();
        QCOMPARE(image.pixelColor(view.CellRect(62).topLeft() + QPoint(1, 1)),
                 QColor(255, 255, 64));
        // Enter neither drops nor opens while a marker is carried.
        QTest::keyClick(&view, Qt::Key_Return);
        QCOMPARE(drops.count(), 0);
        QTest::keyClick(&view, Qt::Key_Space);
        QCOMPARE(drops.count(), 1);
        QCOMPARE(drops[0][0].toInt(), 0);
        QCOMPARE(drops[0][1].toInt(), 62);
        QCOMPARE(view.PickedMarker(), -1);
        QVERIFY(!keeper->state().pressed);
        QCOMPARE(keeper->text(QAccessible::Description), QString());
        // The owner has not answered: the marker is back in its own cell.
        QCOMPARE(view.MarkerRect(0), view.CellRect(73).adjusted(2, 2, -2, -2));

        // Escape and losing the focus put the marker back without a drop.
        QTest::keyClick(&view, Qt::Key_Space);
        QTest::keyClick(&view, Qt::Key_Right);
        QTest::keyClick(&view, Qt::Key_Escape);
        QCOMPARE(view.PickedMarker(), -1);
        QCOMPARE(view.SelectedMarker(), 0);
        QTest::keyClick(&view, Qt::Key_Space);
        QCOMPARE(view.PickedMarker(), 0);
        view.clearFocus();
        QCOMPARE(view.PickedMarker(), -1);
        QCOMPARE(drops.count(), 1);
    }

    void ArrowsCarryOnlyToDropCellsStraightOnFirst() {
        CFormationView view;
        Show(view);
        view.SetDropCells({53, 73, 80, 83, 89});
        QSignalSpy drops(&view, &CFormationView::MarkerDropped);
        view.setFocus();
        view.SetSelectedMarker(5); // the set-piece label at 80
        QTest::keyClick(&view, Qt::Key_Space);
        QTest::keyClick(&view, Qt::Key_Right); // 83 on the same row before 73 above it
        QCOMPARE(view.PickedCell(), 83);
        QTest::keyClick(&view, Qt::Key_Up); // 73 straight above, not 53 further on
        QCOMPARE(view.PickedCell(), 73);
        QTest::keyClick(&view, Qt::Key_Up);
        QCOMPARE(view.PickedCell(), 53);
        QTest::keyClick(&view, Qt::Key_Up); // nothing above: stays
        QCOMPARE(view.PickedCell(), 53);
        QTest::keyClick(&view, Qt::Key_Right); // off the line only when nothing is on it
        QCOMPARE(view.PickedCell(), 89);
        QTest::keyClick(&view, Qt::Key_Space);
        QCOMPARE(drops.count(), 1);
        QCOMPARE(drops[0][0].toInt(), 5);
        QCOMPARE(drops[0][1].toInt(), 89);

        // New markers from the owner end a carry; a mouse press ends it too.
        QTest::keyClick(&view, Qt::Key_Space);
        view.SetMarkers(view.Markers());
        QCOMPARE(view.PickedMarker(), -1);
        QTest::keyClick(&view, Qt::Key_Space);
        QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(view.PickedMarker(), -1);
        QCOMPARE(drops.count(), 1);
    }

    void ScreenReadersReadEveryMarker() {
        CFormationView view;
        view.setAccessibleName("Pitch");
        Show(view);
        QAccessibleInterface* pitch = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(pitch);
        QCOMPARE(pitch->text(QAccessible::Name), QString("Pitch"));
        QCOMPARE(pitch->childCount(), 6);
        QAccessibleInterface* twin = pitch->child(4);
        QVERIFY(twin);
        QCOMPARE(twin->text(QAccessible::Name), QString("Place 55, Twin"));
        QCOMPARE(twin->parent(), pitch);
        QCOMPARE(pitch->indexOfChild(twin), 4);
        QCOMPARE(twin->rect().size(), view.MarkerRect(4).size());
        QCOMPARE(pitch->childAt(twin->rect().center().x(), twin->rect().center().y()), twin);
        view.setFocus();
        view.SetSelectedMarker(4);
        QVERIFY(twin->state().selected);
        QCOMPARE(pitch->focusChild(), twin);
        QVERIFY(!pitch->child(6));

        // Fewer markers: a stale item goes invalid instead of reading past the list.
        view.SetMarkers({Marker(73, "Keeper")});
        QCOMPARE(pitch->childCount(), 1);
        QVERIFY(!twin->isValid());
        QCOMPARE(twin->text(QAccessible::Name), QString());
        QCOMPARE(pitch->indexOfChild(twin), -1);
    }

    void PaintsEveryMarkerReadablyAtAnySize() {
        CFormationView view;
        Show(view);
        for (const QSize size : {QSize(400, 270), QSize(1900, 1000)}) {
            view.resize(size);
            const QImage image = view.grab().toImage();
            QCOMPARE(image.size(), size);
            // The jersey box's dark red shows inside the keeper's marker.
            const QRect box = view.MarkerRect(0);
            const QColor boxColour = image.pixelColor(box.right() - 2, box.top() + 2);
            QCOMPARE(boxColour, QColor(92, 0, 0));
            const QRect setPiece = view.MarkerRect(5);
            QCOMPARE(image.pixelColor(setPiece.left() + 1, setPiece.top() + 1),
                     QColor(128, 0, 128));
        }
    }
};

QTEST_MAIN(CFormationViewTest)
#include "CFormationViewTest.moc"

#include "editor/toolkit/CBaseChoice.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

class CBaseChoiceTest : public QObject {
    Q_OBJECT
private slots:
    void theOriginalIsChosenAndTheFolderWaitsForTheOtherChoice();
    void aTypedFolderIsTheChoiceOnlyWhileAnotherInstallationIsChosen();
};

namespace {

// On the radio's circle: the button stretches past its caption, where clicks do nothing.
void Click(QRadioButton* radio) {
    QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, radio->height() / 2));
}

CBaseChoice::STexts Texts() {
    return {QStringLiteral("The &original"), QStringLiteral("Another &installation:"),
            QStringLiteral("Installation folder"), QStringLiteral("&Browse...")};
}

} // namespace

void CBaseChoiceTest::theOriginalIsChosenAndTheFolderWaitsForTheOtherChoice() {
    CBaseChoice choice(Texts());
    choice.show();
    QVERIFY(choice.Original() && choice.OriginalChoice()->isChecked());
    QVERIFY(choice.IsComplete());
    QVERIFY(choice.Folder().isEmpty());
    QVERIFY(!choice.FolderEdit()->isEnabled() && !choice.BrowseButton()->isEnabled());
    // Screen readers get the captions without their key letters.
    QCOMPARE(choice.OriginalChoice()->accessibleName(), QStringLiteral("The original"));
    QCOMPARE(choice.InstallationChoice()->accessibleName(), QStringLiteral("Another installation:"));
    QCOMPARE(choice.FolderEdit()->accessibleName(), QStringLiteral("Installation folder"));
    QCOMPARE(choice.BrowseButton()->accessibleName(), QStringLiteral("Browse..."));
}

void CBaseChoiceTest::aTypedFolderIsTheChoiceOnlyWhileAnotherInstallationIsChosen() {
    CBaseChoice choice(Texts());
    choice.show();
    QSignalSpy changed(&choice, &CBaseChoice::Changed);
    Click(choice.InstallationChoice());
    QVERIFY(!choice.Original());
    QVERIFY(choice.FolderEdit()->isEnabled() && choice.BrowseButton()->isEnabled());
    // Another installation without its folder is not a choice yet.
    QVERIFY(!choice.IsComplete());
    QVERIFY(changed.count() >= 1);

    choice.FolderEdit()->setFocus();
    QTest::keyClicks(choice.FolderEdit(), QStringLiteral("  /games/corvid  "));
    QVERIFY(choice.IsComplete());
    QCOMPARE(choice.Folder(), QStringLiteral("/games/corvid"));

    Click(choice.OriginalChoice());
    QVERIFY(choice.Original() && choice.IsComplete());
    QVERIFY(choice.Folder().isEmpty());
    QVERIFY(!choice.FolderEdit()->isEnabled());
    choice.ChooseInstallation(QStringLiteral("/elsewhere"));
    QVERIFY(choice.InstallationChoice()->isChecked() && choice.FolderEdit()->isEnabled());
    QCOMPARE(choice.Folder(), QStringLiteral("/elsewhere"));
}

QTEST_MAIN(CBaseChoiceTest)
#include "CBaseChoiceTest.moc"

#include "CPlayerAppearanceForm.h"

#include "editor/assets/CPictureRequests.h"
#include "editor/model/CColumnRange.h"
#include "editor/model/CGameRanges.h"
#include "editor/model/CPlayer.h"
#include "editor/toolkit/CPictureView.h"
#include "editor/toolkit/CPropertyList.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CPlayerFrame.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <array>

namespace {

using C = EPlayerColumn;

enum class EEditor { Number, HairColour, Accessory, AccessoryColour };

struct SItem {
    const char* key;
    C column;
    EEditor editor;
};

// The property list, in its order.
constexpr std::array kItems = {
    SItem{"Caption_FaceType", C::FaceType, EEditor::Number},
    SItem{"Caption_HairColour", C::HairColour, EEditor::HairColour},
    SItem{"Caption_HairType", C::HairType, EEditor::Number},
    SItem{"Caption_FacialHairStyle", C::FacialHairStyle, EEditor::Number},
    SItem{"Caption_SpecificFace", C::SpecificFace, EEditor::Number},
    SItem{"Caption_LegType", C::LegType, EEditor::Number},
    SItem{"Caption_SleeveLength", C::SleeveLength, EEditor::Number},
    SItem{"Caption_Accessory1", C::Accessory1, EEditor::Accessory},
    SItem{"Caption_AccessoryColour1", C::AccessoryColour1, EEditor::AccessoryColour},
    SItem{"Caption_Accessory2", C::Accessory2, EEditor::Accessory},
    SItem{"Caption_AccessoryColour2", C::AccessoryColour2, EEditor::AccessoryColour},
    SItem{"Caption_Accessory3", C::Accessory3, EEditor::Accessory},
    SItem{"Caption_AccessoryColour3", C::AccessoryColour3, EEditor::AccessoryColour},
    SItem{"Caption_Accessory4", C::Accessory4, EEditor::Accessory},
    SItem{"Caption_AccessoryColour4", C::AccessoryColour4, EEditor::AccessoryColour},
    SItem{"Caption_ShoeColour", C::ShoeColour, EEditor::AccessoryColour},
};

const QStringList& HairColours() {
    static const QStringList keys = {
        QStringLiteral("Caption_Black"), QStringLiteral("Caption_Brown"),
        QStringLiteral("Caption_MedBlonde"), QStringLiteral("Caption_LightBlonde"),
        QStringLiteral("Caption_Red")};
    return keys;
}

const QStringList& Accessories() {
    static const QStringList keys = {
        QStringLiteral("Caption_Headband"),      QStringLiteral("Caption_Necklace"),
        QStringLiteral("Caption_Goggles"),       QStringLiteral("Caption_AnkleTape"),
        QStringLiteral("Caption_LeftKneeTape"),  QStringLiteral("Caption_RightKneeTape"),
        QStringLiteral("Caption_LeftWristTape"), QStringLiteral("Caption_RightWristTape"),
        QStringLiteral("Caption_LeftFingerTape"), QStringLiteral("Caption_RightFingerTape"),
        QStringLiteral("Caption_LeftEarRing"),   QStringLiteral("Caption_RightEarRing"),
        QStringLiteral("Caption_LeftBracelet"),  QStringLiteral("Caption_RightBracelet"),
        QStringLiteral("Caption_Nil")};
    return keys;
}

const QStringList& AccessoryColours() {
    static const QStringList keys = {
        QStringLiteral("Caption_White"), QStringLiteral("Caption_Black"),
        QStringLiteral("Caption_Blue"), QStringLiteral("Caption_Red"),
        QStringLiteral("Caption_Yellow")};
    return keys;
}

// Drop-downs list values 1 upward; accessory 0 means none, shown as "Caption_Nil".
int ChoiceIndex(EEditor editor, int value) {
    if (editor == EEditor::Accessory && value == 0) {
        return static_cast<int>(Accessories().size()) - 1;
    }
    return value - 1;
}

int RowOf(C column) {
    for (size_t i = 0; i < kItems.size(); ++i) {
        if (kItems[i].column == column) {
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

QIcon AppearanceIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 40, 30), 1));
    painter.setBrush(QColor(224, 178, 140));
    painter.drawEllipse(QRectF(3, 2, 10, 12));
    painter.setBrush(QColor(70, 45, 25));
    painter.drawChord(QRectF(3, 1, 10, 9), 0, 180 * 16);
    return QIcon(pixmap);
}

} // namespace

CPlayerAppearanceForm::CPlayerAppearanceForm(CPlayerFrame& frame) : CPlayerPage(frame) {
    m_properties = new CPropertyList;
    m_properties->View()->setAccessibleName(QStringLiteral("Caption_PlayerAppearance"));
    CPropertyModel* model = m_properties->Model();
    model->AddHeading(QStringLiteral("Caption_PlayerAppearance"));
    for (const SItem& item : kItems) {
        const QString key = QString::fromLatin1(item.key);
        switch (item.editor) {
        case EEditor::Number: {
            const auto usual =
                CGameRanges::Find("players", CPlayer::Columns()[static_cast<int>(item.column)].name);
            CColumnRange range{usual ? usual->low : 0, usual ? usual->high : 255};
            // Kept to what the file's column takes.
            if (const CGameDatabase* db = frame.FrameHost().Database())
                range = CColumnRange::Of(*db, "players", static_cast<int>(item.column))
                            .Narrowed(range.low, range.high);
            model->AddNumber(key, range.low, range.high);
            break;
        }
        case EEditor::HairColour:
            model->AddChoice(key, HairColours());
            break;
        case EEditor::Accessory:
            model->AddChoice(key, Accessories());
            break;
        case EEditor::AccessoryColour:
            model->AddChoice(key, AccessoryColours());
            break;
        }
    }
    m_filled.assign(kItems.size() + 1, 0);

    const auto framed = [](const char* key, CPictureView*& view) {
        auto* box = new QGroupBox(QString::fromLatin1(key));
        view = new CPictureView(box);
        view->SetScale(kPictureScale);
        view->setAccessibleName(QString::fromLatin1(key));
        view->setMinimumSize(64, 64);
        (new QVBoxLayout(box))->addWidget(view);
        return box;
    };
    auto* pictures = new QGridLayout;
    pictures->addWidget(framed("Caption_FaceType", m_face), 0, 0);
    pictures->addWidget(framed("Caption_HairType", m_hair), 0, 1);
    pictures->addWidget(framed("Caption_FacialHairStyle", m_facialHair), 0, 2);
    pictures->addWidget(framed("Caption_SpecificFace", m_specificFace), 1, 0, 1, 3);
    // The archives' face textures are small: the larger frame shows them enlarged.
    m_specificFace->SetScale(kSpecificFaceScale);
    m_specificFace->setMinimumSize(128, 128);
    pictures->setRowStretch(2, 1);

    auto* columns = new QHBoxLayout(Body());
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(m_properties, 1);
    columns->addLayout(pictures, 1);
    setTabOrder(m_properties->View(), ApplyButton());
    setTabOrder(ApplyButton(), ResetButton());
    connect(model, &CPropertyModel::ValueEdited, this, &CPlayerAppearanceForm::OnValueEdited);
}

QIcon CPlayerAppearanceForm::TabIcon() const {
    return AppearanceIcon();
}

void CPlayerAppearanceForm::Fill(const CPlayer& player) {
    CPropertyModel* model = m_properties->Model();
    for (size_t i = 0; i < kItems.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const int value = player.Value(kItems[i].column);
        m_filled[static_cast<size_t>(row)] = value;
        model->SetValue(row, kItems[i].editor == EEditor::Number
                                 ? value
                                 : ChoiceIndex(kItems[i].editor, value));
    }
    DrawFace();
    DrawHair();
    DrawFacialHair();
    DrawSpecificFace();
}

int CPlayerAppearanceForm::RowValue(int row) const {
    const CPropertyModel* model = m_properties->Model();
    if (!model->IsChanged(row)) {
        return m_filled[static_cast<size_t>(row)];
    }
    const int value = model->Value(row).toInt();
    return kItems[static_cast<size_t>(row) - 1].editor == EEditor::Number ? value : value + 1;
}

bool CPlayerAppearanceForm::WriteChanges(CPlayer& player) {
    // Only what the user changed: a stored value the list cannot show stays as it is.
    for (size_t i = 0; i < kItems.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        if (m_properties->Model()->IsChanged(row)) {
            player.SetValue(kItems[i].column, RowValue(row));
        }
    }
    return true;
}

void CPlayerAppearanceForm::CopyFields(CPlayer& into, const CPlayer& from) {
    for (const SItem& item : kItems) {
        into.SetValue(item.column, from.Value(item.column));
    }
}

void CPlayerAppearanceForm::CopyPageFields(CPlayer& into, const CPlayer& from) const {
    CopyFields(into, from);
}

void CPlayerAppearanceForm::OnValueEdited(int row) {
    if (row == RowOf(C::FaceType)) {
        DrawFace();
    } else if (row == RowOf(C::HairType)) {
        DrawHair();
    } else if (row == RowOf(C::FacialHairStyle) || row == RowOf(C::HairColour)) {
        DrawFacialHair();
    } else if (row == RowOf(C::SpecificFace)) {
        DrawSpecificFace();
    }
}

void CPlayerAppearanceForm::DrawArtsPicture(CPictureView* view, const QString& name) {
    const QImage image(QDir(Frame().FrameHost().EditorFolder()).filePath(
        QStringLiteral("Arts/") + name));
    // A picture that cannot be loaded leaves the frame as it was.
    if (!image.isNull()) {
        view->SetImage(image);
    }
}

void CPlayerAppearanceForm::DrawFace() {
    DrawArtsPicture(m_face, QString::asprintf("head%02d.jpg", RowValue(RowOf(C::FaceType))));
}

void CPlayerAppearanceForm::DrawHair() {
    DrawArtsPicture(m_hair, QString::asprintf("hair%02d.jpg", RowValue(RowOf(C::HairType))));
}

void CPlayerAppearanceForm::DrawFacialHair() {
    DrawArtsPicture(m_facialHair, QString::asprintf("f-hair%d%d.jpg",
                                                    RowValue(RowOf(C::FacialHairStyle)),
                                                    RowValue(RowOf(C::HairColour))));
}

void CPlayerAppearanceForm::DrawSpecificFace() {
    const CPictureRequests* pictures = Frame().FrameHost().Pictures();
    // No face in the archives empties the frame.
    m_specificFace->SetImage(pictures ? pictures->PlayerTexture(RowValue(RowOf(C::SpecificFace)))
                                      : QImage());
}

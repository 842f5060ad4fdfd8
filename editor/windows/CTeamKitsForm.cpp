#include "CTeamKitsForm.h"

#include "editor/dialogs/CUserPrompts.h"
#include "editor/assets/CPictureRequests.h"
#include "editor/model/CColumnRange.h"
#include "editor/model/CGameDatabase.h"
#include "editor/toolkit/CPictureScaling.h"
#include "editor/toolkit/CPictureView.h"
#include "editor/toolkit/CPropertyList.h"
#include "editor/windows/CFrameHost.h"
#include "editor/windows/CGameColours.h"
#include "editor/windows/CTeamPictures.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr const char* kKitTypeKeys[CTeamKit::kSlotCount] = {
    "Caption_Home",    "Caption_Away",     "Caption_HomeGoalie", "Caption_Third",
    "Caption_Manager", "Caption_Referee",  "Caption_Training",   "Caption_CrowdA",
    "Caption_CrowdB",  "Caption_Streaker", "Caption_AwayGoalie"};

} // namespace

const char* CTeamKitsForm::KitTypeKey(int slot) {
    return kKitTypeKeys[slot];
}

// One row of the property list: a heading, or an item editing one field of the kit.
struct CTeamKitsForm::SItem {
    enum class Kind { Heading, Number, Colour, ShortsNumberX, ShortsNumberY, WetKit };
    const char* key;
    Kind kind;
    EKitColumn column = EKitColumn::CollarGeometry;
    int minimum = 0;
    int maximum = 0;
};

const std::vector<CTeamKitsForm::SItem>& CTeamKitsForm::Items() {
    using K = SItem::Kind;
    using C = EKitColumn;
    static const std::vector<SItem> items = {
        {"Caption_Jersey", K::Heading},
        {"Caption_JerseyType", K::Number, C::JerseyType, 0, 43},
        {"Caption_JerseyColour1", K::Colour, C::JerseyColour1},
        {"Caption_JerseyColour2", K::Colour, C::JerseyColour2},
        {"Caption_JerseyColour3", K::Colour, C::JerseyColour3},
        {"Caption_CollarGeometry", K::Number, C::CollarGeometry, 1, 5},
        {"Caption_KitFont", K::Number, C::KitFont, 1, 10},
        {"Caption_JerseyFontSize", K::Number, C::JerseyFontSize, 0, 71},
        {"Caption_JerseyDoubleDigitFontSize", K::Number, C::JerseyDoubleDigitFontSize, 0, 71},
        {"Caption_NameColour", K::Colour, C::NameColour},
        {"Caption_NamePlacement", K::Number, C::NamePlacement, 0, 3},
        {"Caption_NumberColour", K::Colour, C::NumberColour},
        {"Caption_NumberPlacementBack", K::Number, C::NumberPlacementBack, 0, 2},
        {"Caption_NumberPlacementFront", K::Number, C::NumberPlacementFront, 0, 2},
        {"Caption_Shorts", K::Heading},
        {"Caption_ShortsType", K::Number, C::ShortsType, 0, 14},
        {"Caption_ShortsColour1", K::Colour, C::ShortsColour1},
        {"Caption_ShortsColour2", K::Colour, C::ShortsColour2},
        {"Caption_ShortsColour3", K::Colour, C::ShortsColour3},
        {"Caption_ShortsNumberFontSize", K::Number, C::ShortsNumberFontSize, 0, 19},
        {"Caption_ShortsNumberColour", K::Colour, C::ShortsNumberColour},
        {"Caption_ShortsNumberPlacement", K::Number, C::ShortsNumberPlacement, 0, 19},
        {"Caption_ShortsNumberX", K::ShortsNumberX},
        {"Caption_ShortsNumberY", K::ShortsNumberY},
        {"Caption_Socks", K::Heading},
        {"Caption_SocksType", K::Number, C::SocksType, 0, 5},
        {"Caption_SocksColour1", K::Colour, C::SocksColour1},
        {"Caption_SocksColour2", K::Colour, C::SocksColour2},
        {"Caption_SocksColour3", K::Colour, C::SocksColour3},
        {"Caption_Others", K::Heading},
        {"Caption_WetKit", K::WetKit, C::WetKit},
        {"Caption_Wrinkle", K::Number, C::Wrinkle, 0, 11},
    };
    return items;
}

CTeamKitsForm::CTeamKitsForm(int32_t teamId, CFrameHost& host, QWidget* parent)
    : CColourFormView(host.Lookup(), parent), m_teamId(teamId), m_host(host) {
    auto* grid = new QGridLayout(Body());
    auto* typeLabel = new QLabel(QStringLiteral("Caption_KitType"), Body());
    m_kitType = new QComboBox(Body());
    for (const char* key : kKitTypeKeys) {
        m_kitType->addItem(QString::fromLatin1(key));
    }
    typeLabel->setBuddy(m_kitType);
    m_picture = new CPictureView(Body());
    m_picture->SetScale(kPictureScale);
    m_picture->SetTransparentColour(CPictureScaling::kMagenta);
    m_picture->setMinimumSize(96, 96);
    m_picture->setAccessibleName(QStringLiteral("Caption_KitType"));
    // The picture with its two commands under it.
    auto* pictureColumn = new QWidget(Body());
    auto* pictureLayout = new QVBoxLayout(pictureColumn);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    m_picture->setParent(pictureColumn);
    m_importPicture = new QPushButton(QStringLiteral("Caption_ImportPicture"), pictureColumn);
    m_exportPicture = new QPushButton(QStringLiteral("Caption_ExportPicture"), pictureColumn);
    pictureLayout->addWidget(m_picture, 0, Qt::AlignHCenter);
    pictureLayout->addWidget(m_importPicture);
    pictureLayout->addWidget(m_exportPicture);
    m_properties = new CPropertyList(Body());
    m_properties->View()->setAccessibleName(QStringLiteral("Caption_KitProperties"));
    m_noKit = new QLabel(QStringLiteral("Caption_NoKitOfType"), Body());
    m_noKit->setAlignment(Qt::AlignCenter);
    m_noKit->hide();
    grid->addWidget(typeLabel, 0, 0);
    grid->addWidget(m_kitType, 0, 1);
    grid->addWidget(pictureColumn, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m_properties, 2, 0, 1, 3);
    grid->addWidget(m_noKit, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    BuildItems();
    connect(m_kitType, &QComboBox::currentIndexChanged, this, &CTeamKitsForm::OnTypeChosen);
    connect(m_importPicture, &QPushButton::clicked, this, [this] {
        if (CTeamPictures(m_host, m_teamId, CTeamPictures::EKind::Kit, m_shownType).Import(this)) {
            DrawPicture();
            emit PictureImported();
        }
    });
    connect(m_exportPicture, &QPushButton::clicked, this, [this] {
        CTeamPictures(m_host, m_teamId, CTeamPictures::EKind::Kit, m_shownType).Export(this);
    });
}

void CTeamKitsForm::BuildItems() {
    CPropertyModel* model = m_properties->Model();
    const CGameDatabase* db = m_host.Database();
    if (db) {
        model->SetColours(CGameColours::Choices(db->Colours(), m_host));
    }
    using K = SItem::Kind;
    for (const SItem& item : Items()) {
        const QString key = QString::fromLatin1(item.key);
        switch (item.kind) {
        case K::Heading:
            m_rows.push_back(model->AddHeading(key));
            break;
        case K::Number: {
            // The game's usual range, kept to what the file's column takes.
            const CColumnRange range =
                db ? CColumnRange::Of(*db, "teamkits", static_cast<int>(item.column))
                         .Narrowed(item.minimum, item.maximum)
                   : CColumnRange{item.minimum, item.maximum};
            m_rows.push_back(model->AddNumber(key, range.low, range.high));
            break;
        }
        case K::Colour:
            m_rows.push_back(model->AddColour(key));
            break;
        case K::ShortsNumberX:
        case K::ShortsNumberY:
            m_rows.push_back(model->AddText(key));
            break;
        case K::WetKit:
            m_rows.push_back(model->AddBool(key));
            break;
        }
    }
}

int CTeamKitsForm::RowOf(const char* key) const {
    return m_properties->Model()->RowOfKey(QString::fromLatin1(key));
}

const CTeamKit* CTeamKitsForm::StoredKit() const {
    const CTeam* team = m_host.FindTeam(m_teamId);
    return team ? team->FindKit(m_shownType) : nullptr;
}

void CTeamKitsForm::Fill() {
    LoadType(m_kitType->currentIndex());
}

void CTeamKitsForm::LoadType(int type) {
    m_shownType = type;
    const CTeamKit* kit = StoredKit();
    // No kit of this kind: nothing to edit, no picture.
    m_properties->setVisible(kit != nullptr);
    m_properties->setEnabled(kit != nullptr);
    m_noKit->setVisible(kit == nullptr);
    ApplyButton()->setEnabled(kit != nullptr);
    if (kit) {
        CPropertyModel* model = m_properties->Model();
        using K = SItem::Kind;
        const std::vector<SItem>& items = Items();
        for (size_t i = 0; i < items.size(); ++i) {
            const int row = m_rows[i];
            switch (items[i].kind) {
            case K::Heading:
                break;
            case K::Number:
            case K::Colour:
            case K::WetKit:
                model->SetValue(row, kit->Value(items[i].column));
                break;
            case K::ShortsNumberX:
                model->SetValue(row, QString::number(kit->ShortsNumberX(), 'f', 4));
                break;
            case K::ShortsNumberY:
                model->SetValue(row, QString::number(kit->ShortsNumberY(), 'f', 4));
                break;
            }
        }
    }
    DrawPicture();
}

void CTeamKitsForm::DrawPicture() {
    CPictureRequests* pictures = m_host.Pictures();
    m_picture->SetImage(pictures && StoredKit() ? pictures->KitImage(m_teamId, m_shownType)
                                                : QImage());
    m_pictureType = m_shownType;
    // A kit that is not stored has no picture to replace; one not found has none to save.
    m_importPicture->setEnabled(pictures && StoredKit());
    m_exportPicture->setEnabled(m_picture->HasPicture());
}

std::optional<CTeamKit> CTeamKitsForm::EditedKit(bool tellRefusals) const {
    const CTeamKit* stored = StoredKit();
    if (!stored) {
        return std::nullopt;
    }
    CTeamKit kit = *stored;
    const CPropertyModel* model = m_properties->Model();
    using K = SItem::Kind;
    const std::vector<SItem>& items = Items();
    for (size_t i = 0; i < items.size(); ++i) {
        const int row = m_rows[i];
        // An item the user left alone keeps its field as stored, shown or not.
        if (items[i].kind == K::Heading || !model->IsChanged(row)) {
            continue;
        }
        if (items[i].kind == K::ShortsNumberX || items[i].kind == K::ShortsNumberY) {
            bool ok = false;
            const float value = model->Value(row).toString().trimmed().toFloat(&ok);
            if (!ok) {
                if (tellRefusals) {
                    CUserPrompts::Warn(
                        const_cast<CTeamKitsForm*>(this),
                        m_host.Text("Message_NumberExpected")
                            .replace(QStringLiteral("%s"), m_host.Text(items[i].key)));
                }
                return std::nullopt;
            }
            if (items[i].kind == K::ShortsNumberX) {
                kit.SetShortsNumberX(value);
            } else {
                kit.SetShortsNumberY(value);
            }
            continue;
        }
        kit.SetValue(items[i].column, model->Value(row).toInt());
    }
    return kit;
}

bool CTeamKitsForm::HasUnappliedEdits() const {
    const CTeamKit* stored = StoredKit();
    if (!stored) {
        return false;
    }
    const std::optional<CTeamKit> edited = EditedKit(false);
    // Items that cannot be read are unapplied edits too.
    return !edited || *edited != *stored;
}

bool CTeamKitsForm::Apply() {
    CTeam* team = m_host.FindTeam(m_teamId);
    const std::optional<CTeamKit> edited = EditedKit(true);
    if (!team || !edited) {
        return false;
    }
    if (CTeamKit* kit = team->FindKit(m_shownType); kit && *kit != *edited) {
        *kit = *edited;
    }
    LoadType(m_shownType);
    emit Applied();
    return true;
}

void CTeamKitsForm::OnTypeChosen(int type) {
    if (m_shownType >= 0 && HasUnappliedEdits()) {
        if (CUserPrompts::AskYesNo(this, m_host.Text("Message_KitsChanged")) ==
            CUserPrompts::Answer::Yes) {
            Apply();
        }
    }
    LoadType(type);
}

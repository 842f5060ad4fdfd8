#include "CInGameNameCheck.h"

#include "editor/dialogs/CUserPrompts.h"
#include "editor/model/CInGameNames.h"
#include "editor/windows/CFrameHost.h"

bool CInGameNameCheck::Accept(CFrameHost& host, QWidget* parent,
                              const std::vector<SField>& fields) {
    bool renamed = false;
    for (const SField& field : fields) {
        const QByteArray utf8 = field.text.toUtf8();
        if (std::string(utf8.constData(), static_cast<size_t>(utf8.size())) == field.stored) {
            continue;
        }
        renamed = true;
        if (static_cast<size_t>(utf8.size()) > CInGameNames::kMaxNameBytes) {
            CUserPrompts::Warn(parent,
                               host.Text("Message_NameTooLong")
                                   .replace(QStringLiteral("%s"), host.Text(field.captionKey)));
            return false;
        }
    }
    if (renamed && !host.CanStoreInGameNames()) {
        CUserPrompts::Warn(parent, host.Text("Message_NameNeedsTextDb"));
        return false;
    }
    return true;
}

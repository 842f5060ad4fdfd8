#pragma once

#include "editor/toolkit/CColourFormView.h"

#include <QIcon>

class CPlayer;
class CPlayerFrame;

// One page of a player window. Apply writes the controls the user changed into the record;
// Reset copies the page's fields from the record as the window opened it. Both end in a
// snapshot through the frame, so both can be undone.
class CPlayerPage : public CColourFormView {
    Q_OBJECT
public:
    explicit CPlayerPage(CPlayerFrame& frame);

    virtual const char* TabKey() const = 0;
    virtual QIcon TabIcon() const = 0;
    // Shows the record in the controls; what they show becomes the unchanged state.
    virtual void Fill(const CPlayer& player) = 0;

    void Apply();
    void Reset();

protected:
    // Writes what the user changed; false (nothing written) after telling the user why.
    virtual bool WriteChanges(CPlayer& player) = 0;
    // Copies this page's fields.
    virtual void CopyPageFields(CPlayer& into, const CPlayer& from) const = 0;

    CPlayerFrame& Frame() { return m_frame; }

private:
    CPlayerFrame& m_frame;
};

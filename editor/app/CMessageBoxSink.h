#pragma once

#include "editor/database/CMessageSink.h"

#include <QString>

class CLocalisationTable;
class QWidget;

// Shows the core's failures in a message box: the localised text of the key, then the detail.
class CMessageBoxSink : public CMessageSink {
public:
    CMessageBoxSink(const CLocalisationTable& texts, QWidget* parent)
        : m_texts(texts), m_parent(parent) {}

    void Report(const std::string& key, const std::string& detail) override;

private:
    const CLocalisationTable& m_texts;
    QWidget* m_parent;
};

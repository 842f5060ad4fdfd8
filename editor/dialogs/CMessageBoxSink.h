#pragma once

#include "editor/database/CMessageSink.h"

#include <QString>

#include <functional>

class CLocalisationTable;
class QWidget;

// Shows the core's failures in a message box: the localised text of the key, then the detail.
class CMessageBoxSink : public CMessageSink {
public:
    using Lookup = std::function<QString(const std::string& key)>;

    CMessageBoxSink(const CLocalisationTable& texts, QWidget* parent);
    // For windows that reach the texts through their host.
    CMessageBoxSink(Lookup lookup, QWidget* parent)
        : m_lookup(std::move(lookup)), m_parent(parent) {}

    void Report(const std::string& key, const std::string& detail) override;

private:
    Lookup m_lookup;
    QWidget* m_parent;
};

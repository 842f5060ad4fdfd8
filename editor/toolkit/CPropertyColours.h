#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <functional>

class QWidget;

// What a colour item of a property list shows and how the user picks one. The default editor
// is a drop-down of swatches; a window with its own colour table may offer a richer picker by
// overriding the editor functions.
class CPropertyColours {
public:
    struct SColour {
        int value = 0;
        QColor colour;
        QString name;
    };

    explicit CPropertyColours(QList<SColour> colours = {});
    virtual ~CPropertyColours() = default;

    const QList<SColour>& Colours() const { return m_colours; }
    // An invalid colour and an empty name for a value not in the table.
    QColor Colour(int value) const;
    QString Name(int value) const;

    virtual QWidget* CreateEditor(QWidget* parent) const;
    virtual void SetEditorValue(QWidget* editor, int value) const;
    virtual int EditorValue(QWidget* editor) const;
    // Connects the editor's "the user picked a colour" signal to `picked`.
    virtual void OnEditorPicked(QWidget* editor, const std::function<void()>& picked) const;

private:
    QList<SColour> m_colours;
};

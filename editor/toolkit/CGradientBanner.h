#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>

// The strip across the top of a record window: a gradient from a colour to black, a picture
// at the left, a title and under it a caption, both white.
class CGradientBanner : public QWidget {
    Q_OBJECT
public:
    explicit CGradientBanner(QWidget* parent = nullptr);

    void SetTitle(const QString& title);
    void SetCaption(const QString& caption);
    void SetPicture(const QPixmap& picture);
    void SetColour(const QColor& colour);
    void SetTitleFont(const QFont& font);
    void SetCaptionFont(const QFont& font);

    QString Title() const { return m_title; }
    QString Caption() const { return m_caption; }
    QColor Colour() const { return m_colour; }
    const QPixmap& Picture() const { return m_picture; }
    QFont TitleFont() const { return m_titleFont; }
    QFont CaptionFont() const { return m_captionFont; }

    // A bold font of `families` (the first one installed) at that size; a missing family
    // falls back to the bold system font, so no glyph is drawn as a box.
    static QFont BoldFont(const QStringList& families, int pointSize, bool italic = false);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Describe();

    QString m_title;
    QString m_caption;
    QPixmap m_picture;
    QColor m_colour = Qt::darkGray;
    QFont m_titleFont;
    QFont m_captionFont;
};

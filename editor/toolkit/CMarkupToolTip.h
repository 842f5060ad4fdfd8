#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QString>

// Turns the windows' tool tip mark-up into Qt rich text:
//   <b> </b>            bold                   <ct=0xBBGGRR> </ct>  text colour (blue high)
//   <cb=0xBBGGRR> </cb> background colour      <al> <al_l> <al_c> <al_r>  alignment
//   <t>                 tab to the next column <br>                 line break
//   <hr=N%>             horizontal rule        <img=NAME cx=W cy=H> a registered picture
//   <ilst=N>            picture N of the image list
// Pictures travel inside the text as data URLs, so any rich-text label shows them.
class CMarkupToolTip {
public:
    void RegisterImage(const QString& name, const QImage& image);
    void SetImageList(const QList<QImage>& images) { m_imageList = images; }

    QString ToHtml(const QString& markup) const;

    // The picture at cx by cy pixels. A negative size takes that many pixels of the picture as
    // they are, from its top-left corner (cx = -rating over the 100-pixel star strip shows the
    // first "rating" pixels); a positive one scales it; zero keeps the picture's own size.
    static QImage SizedImage(const QImage& image, int cx, int cy);
    // An <img> tag carrying the picture as a data URL; empty for a null picture.
    static QString ImageTag(const QImage& image);
    // A colour written in the platform's byte order: blue, green, red from high to low.
    static QColor ColourFromBgr(uint32_t value);

private:
    QHash<QString, QImage> m_images;
    QList<QImage> m_imageList;
};

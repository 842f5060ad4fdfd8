#include "CMarkupToolTip.h"

#include <QBuffer>
#include <QColor>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace {

constexpr int kMaxScaledSide = 400;

} // namespace

QString CMarkupToolTip::ImageTag(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return QStringLiteral("<img src=\"data:image/png;base64,%1\" width=\"%2\" height=\"%3\">")
        .arg(QString::fromLatin1(png.toBase64()))
        .arg(image.width())
        .arg(image.height());
}

namespace {

int Attribute(const QString& tag, const QString& name, int fallback) {
    const QRegularExpression pattern(QStringLiteral("\\b%1=(-?\\d+)").arg(name));
    const QRegularExpressionMatch match = pattern.match(tag);
    return match.hasMatch() ? match.captured(1).toInt() : fallback;
}

uint32_t ColourValue(const QString& text) {
    bool ok = false;
    const uint32_t value = text.trimmed().toUInt(&ok, 0);
    return ok ? value : 0;
}

// One line of the tool tip: cells that each keep the alignment they were started with.
struct SLine {
    struct SCell {
        QString align = QStringLiteral("left");
        QString html;
    };
    std::vector<SCell> cells{SCell{}};
    bool rule = false;
    int ruleWidth = 100;
};

class CHtmlBuilder {
public:
    void Text(const QString& text) {
        if (text.isEmpty()) {
            return;
        }
        Html(Styled(text.toHtmlEscaped().replace(u' ', QStringLiteral("&nbsp;"))));
    }
    void Html(const QString& html) { m_lines.back().cells.back().html += html; }
    void Align(const QString& align) {
        SLine::SCell& cell = m_lines.back().cells.back();
        if (cell.html.isEmpty()) {
            cell.align = align;
        } else {
            m_lines.back().cells.push_back(SLine::SCell{align, {}});
        }
    }
    void Tab() { Html(QStringLiteral("&nbsp;&nbsp;&nbsp;")); }
    void Break() { m_lines.emplace_back(); }
    void Rule(int percent) {
        if (!m_lines.back().cells.back().html.isEmpty() || m_lines.back().cells.size() > 1) {
            Break();
        }
        m_lines.back().rule = true;
        m_lines.back().ruleWidth = std::clamp(percent, 1, 100);
        Break();
    }
    bool bold = false;
    QString colour;
    QString background;

    QString Result() const {
        QString html = QStringLiteral("<html><body style=\"white-space:nowrap\">");
        for (std::size_t i = 0; i < m_lines.size(); ++i) {
            const SLine& line = m_lines[i];
            if (line.rule) {
                html += QStringLiteral("<hr width=\"%1%\">").arg(line.ruleWidth);
                continue;
            }
            // The break that ends a rule's line leaves an empty one; it takes no room.
            if (i > 0 && m_lines[i - 1].rule && line.cells.size() == 1 &&
                line.cells.front().html.isEmpty()) {
                continue;
            }
            if (line.cells.size() == 1) {
                html += QStringLiteral("<p align=\"%1\" style=\"margin:0\">%2</p>")
                            .arg(line.cells.front().align, line.cells.front().html);
                continue;
            }
            html += QStringLiteral("<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>");
            for (const SLine::SCell& cell : line.cells) {
                html += QStringLiteral("<td align=\"%1\">%2</td>").arg(cell.align, cell.html);
            }
            html += QStringLiteral("</tr></table>");
        }
        return html + QStringLiteral("</body></html>");
    }

private:
    QString Styled(const QString& html) const {
        QString style;
        if (bold) {
            style += QStringLiteral("font-weight:bold;");
        }
        if (!colour.isEmpty()) {
            style += QStringLiteral("color:%1;").arg(colour);
        }
        if (!background.isEmpty()) {
            style += QStringLiteral("background-color:%1;").arg(background);
        }
        return style.isEmpty() ? html
                               : QStringLiteral("<span style=\"%1\">%2</span>").arg(style, html);
    }

    std::vector<SLine> m_lines{SLine{}};
};

} // namespace

void CMarkupToolTip::RegisterImage(const QString& name, const QImage& image) {
    m_images.insert(name, image);
}

QColor CMarkupToolTip::ColourFromBgr(uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

QImage CMarkupToolTip::SizedImage(const QImage& image, int cx, int cy) {
    if (image.isNull() || (cx == 0 && cy == 0)) {
        return image;
    }
    if (cx < 0 || cy < 0) {
        const int width = cx < 0 ? std::min(-cx, image.width()) : image.width();
        const int height = cy < 0 ? std::min(-cy, image.height()) : image.height();
        return image.copy(0, 0, width, height);
    }
    const int width = std::min(cx == 0 ? image.width() : cx, kMaxScaledSide);
    const int height = std::min(cy == 0 ? image.height() : cy, kMaxScaledSide);
    return image.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QString CMarkupToolTip::ToHtml(const QString& markup) const {
    CHtmlBuilder out;
    qsizetype pos = 0;
    while (pos < markup.size()) {
        const qsizetype open = markup.indexOf(u'<', pos);
        const qsizetype close = open < 0 ? -1 : markup.indexOf(u'>', open);
        if (open < 0 || close < 0) {
            out.Text(markup.mid(pos));
            break;
        }
        out.Text(markup.mid(pos, open - pos));
        pos = close + 1;
        const QString tag = markup.mid(open + 1, close - open - 1);
        const QString name = tag.section(QRegularExpression(QStringLiteral("[= ]")), 0, 0).toLower();
        const QString value = tag.section(u'=', 1).section(u' ', 0, 0);
        if (name == QLatin1String("b")) {
            out.bold = true;
        } else if (name == QLatin1String("/b")) {
            out.bold = false;
        } else if (name == QLatin1String("ct")) {
            out.colour = ColourFromBgr(ColourValue(value)).name();
        } else if (name == QLatin1String("/ct")) {
            out.colour.clear();
        } else if (name == QLatin1String("cb")) {
            out.background = ColourFromBgr(ColourValue(value)).name();
        } else if (name == QLatin1String("/cb")) {
            out.background.clear();
        } else if (name == QLatin1String("al") || name == QLatin1String("al_l")) {
            out.Align(QStringLiteral("left"));
        } else if (name == QLatin1String("al_r")) {
            out.Align(QStringLiteral("right"));
        } else if (name == QLatin1String("al_c")) {
            out.Align(QStringLiteral("center"));
        } else if (name == QLatin1String("t")) {
            out.Tab();
        } else if (name == QLatin1String("br")) {
            out.Break();
        } else if (name == QLatin1String("hr")) {
            out.Rule(value.isEmpty() ? 100 : value.section(u'%', 0, 0).toInt());
        } else if (name == QLatin1String("img")) {
            out.Html(ImageTag(SizedImage(m_images.value(value), Attribute(tag, QStringLiteral("cx"), 0),
                                          Attribute(tag, QStringLiteral("cy"), 0))));
        } else if (name == QLatin1String("ilst")) {
            const int index = value.toInt();
            if (index >= 0 && index < m_imageList.size()) {
                out.Html(ImageTag(m_imageList.at(index)));
            }
        }
        // Tags these windows never emit (icon, bmp, mask) and unknown ones show nothing.
    }
    return out.Result();
}

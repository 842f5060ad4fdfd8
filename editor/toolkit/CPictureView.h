#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QWidget>

// A picture drawn at a scale factor, centred in its frame, with one colour shown as
// transparent (the background of the game's pictures).
class CPictureView : public QWidget {
    Q_OBJECT
public:
    explicit CPictureView(QWidget* parent = nullptr);

    void SetScale(double scale);
    double Scale() const { return m_scale; }
    // An invalid colour turns transparency off.
    void SetTransparentColour(const QColor& colour);
    // A null image empties the frame.
    void SetImage(const QImage& image);
    void Clear() { SetImage({}); }
    bool HasPicture() const { return !m_shown.isNull(); }
    // Draws transparent parts over a grey checkerboard, so they show as see-through.
    void SetCheckerboard(bool on);
    static constexpr int kCheckerSquare = 8;
    // The picture as drawn: scaled, the transparent colour cleared.
    const QPixmap& Shown() const { return m_shown; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Prepare();

    QImage m_image;
    QPixmap m_shown;
    double m_scale = 1.0;
    QColor m_transparent;
    bool m_checkerboard = false;
};

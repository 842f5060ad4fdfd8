#pragma once

#include <QDialog>
#include <QImage>

class CPictureView;
class QCheckBox;
class QLabel;
class QDialogButtonBox;

// Shows a converted picture as the game will decode it, with what will be written, before an
// import goes ahead: OK writes, Cancel leaves the archives alone.
class CPicturePreviewDialog : public QDialog {
    Q_OBJECT
public:
    CPicturePreviewDialog(const QImage& decoded, const QString& details, const QString& title,
                          const QString& previewName, QWidget* parent = nullptr);

    // Shows the picture converted anew, e.g. after the magenta choice changed.
    void SetPicture(const QImage& decoded, const QString& details);
    // Offers the choice to make pure magenta transparent, ticked; disabled (and not ticked)
    // when the picture has no magenta to make transparent. The help says when it is offered.
    void OfferMagentaKey(const QString& label, const QString& help, bool available);

    CPictureView* Preview() const { return m_preview; }
    QLabel* Details() const { return m_details; }
    QCheckBox* MagentaKey() const { return m_magenta; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

signals:
    void magentaKeyToggled(bool transparent);

private:
    CPictureView* m_preview = nullptr;
    QCheckBox* m_magenta = nullptr;
    QLabel* m_details = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

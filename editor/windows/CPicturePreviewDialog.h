#pragma once

#include <QDialog>
#include <QImage>

class CPictureView;
class QLabel;
class QDialogButtonBox;

// Shows a converted picture as the game will decode it, with what will be written, before an
// import goes ahead: OK writes, Cancel leaves the archives alone.
class CPicturePreviewDialog : public QDialog {
    Q_OBJECT
public:
    CPicturePreviewDialog(const QImage& decoded, const QString& details, const QString& title,
                          const QString& previewName, QWidget* parent = nullptr);

    CPictureView* Preview() const { return m_preview; }
    QLabel* Details() const { return m_details; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    CPictureView* m_preview = nullptr;
    QLabel* m_details = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
};

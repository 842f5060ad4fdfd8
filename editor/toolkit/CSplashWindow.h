#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

class QPropertyAnimation;

// A borderless picture window centred on the screen, with a line of text and an optional progress
// bar; used while the editor starts and for About. Fades in when shown and out when hidden.
class CSplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit CSplashWindow(QWidget* parent = nullptr);

    // The picture is drawn by the editor itself; `title` is painted on it.
    void SetPicture(const QPixmap& picture);
    void SetText(const QString& text);
    QString Text() const { return m_text; }
    // Progress 0..100; a negative value hides the bar.
    void SetProgress(int percent);
    int Progress() const { return m_progress; }

    void ShowCentred();
    void FadeOut();

    // The default picture: a dark gradient with the program's name and a bird's silhouette.
    static QPixmap MakeDefaultPicture(const QString& title, const QString& subtitle);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_picture;
    QString m_text;
    int m_progress = -1;
    QPropertyAnimation* m_fade = nullptr;
};

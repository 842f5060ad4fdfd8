#pragma once

#include "EditorFixture.h"

#include <QObject>
#include <QSize>

#include <memory>

class CMainFrame;

// The base of a QtTest class whose every test function starts on a fresh editor on the
// sample: shown at `size` and active when a size is given, else as the editor shows itself.
class FreshEditorTest : public QObject {
    Q_OBJECT

public:
    explicit FreshEditorTest(QSize size = QSize()) : m_size(size) {}

protected:
    std::unique_ptr<EditorFixture> m_fixture;
    CMainFrame* m_frame = nullptr;

private slots:
    void init();
    void cleanup();

private:
    QSize m_size;
};

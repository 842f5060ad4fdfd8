#include "FreshEditorTest.h"

#include "UserSteps.h"

#include "editor/app/CKestrelApp.h"

#include <QTest>

void FreshEditorTest::init() {
    // The old editor goes first: its fixture takes the message box handler with it.
    m_fixture.reset();
    m_fixture = std::make_unique<EditorFixture>();
    if (m_size.isValid()) {
        m_frame = UserSteps::StartShown(*m_fixture, m_size);
    } else if (CKestrelApp* app = m_fixture->IsValid() ? m_fixture->Start() : nullptr) {
        m_frame = app->MainFrame();
    }
    QVERIFY(m_frame);
}

void FreshEditorTest::cleanup() {
    m_frame = nullptr;
    m_fixture.reset();
}

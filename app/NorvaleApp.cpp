#include "app/NorvaleApp.h"

#include "app/NorvaleDlg.h"

#include <QGuiApplication>

namespace norvale {

CNorvaleApp::CNorvaleApp() = default;
CNorvaleApp::~CNorvaleApp() = default;

bool CNorvaleApp::InitInstance() {
    CNorvaleDlg dlg;
    QObject::connect(&m_quitSignals, &CQuitSignals::QuitRequested, &dlg,
                     &CNorvaleDlg::OnQuitRequest);
#ifndef QT_NO_SESSIONMANAGER
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &dlg,
                     [&dlg](QSessionManager&) { dlg.OnSessionSave(); });
#endif
    dlg.DoModal();
    return false;
}

} // namespace norvale

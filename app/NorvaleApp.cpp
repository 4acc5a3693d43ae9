#include "app/NorvaleApp.h"

#include "app/NorvaleDlg.h"

namespace norvale {

CNorvaleApp::CNorvaleApp() = default;
CNorvaleApp::~CNorvaleApp() = default;

bool CNorvaleApp::InitInstance() {
    CNorvaleDlg dlg;
    dlg.DoModal();
    return false;
}

} // namespace norvale

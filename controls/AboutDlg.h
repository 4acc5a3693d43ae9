#pragma once

#include "controls/SimpleLink.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace norvale {

// The modal About box: icon, "Norvale Version" and the version, links to the home page
// and the contact form, a notice line and "OK". Enter, "OK" and Escape close
// it; clicking a link opens the page (through OpenUrl) and leaves it open.
// Run it with exec().
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // The maker's notice line under the links.
    static const char* const kNotice;

    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

    CSimpleLink& HomeLink() { return m_homeLink; }
    CSimpleLink& ContactLink() { return m_contactLink; }
    QPushButton* OkButton() const { return m_okButton; }

private:
    void BuildLayout();
    void DoDataExchange();
    void OnInitDialog();

    CSimpleLink m_homeLink;
    CSimpleLink m_contactLink;
    QPushButton* m_okButton = nullptr;
};

} // namespace norvale

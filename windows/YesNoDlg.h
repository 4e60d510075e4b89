#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "game/Shell.h"

class QLabel;
class QPushButton;
class QStackedWidget;

// The message dialog: kMessagePages pages, each one message and one or two buttons.
// The caller reads the modal result: OK 1, Cancel 2, Yes 6, No 7.
class TYesNoDlg : public QDialog {
    Q_OBJECT
public:
    // uiLanguage is asked each time the dialog is shown, for its texts.
    TYesNoDlg(QWidget* parent, std::function<int()> uiLanguage);

    // Pages 1..kMessagePages select that page; any other number keeps the last one.
    int ShowModal(int page);

    int CurrentPage() const;
    QLabel* Label(int page) const { return m_pages[page - 1].label; }
    QPushButton* ConfirmButton(int page) const { return m_pages[page - 1].confirm; }
    QPushButton* RefuseButton(int page) const { return m_pages[page - 1].refuse; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Page {
        QWidget* widget = nullptr;
        QLabel* label = nullptr;
        QPushButton* confirm = nullptr;  // the OK or Yes button
        QPushButton* refuse = nullptr;   // the No or Cancel button, two-button pages only
    };
    void FormActivate();
    static void FitLabel(QLabel* label, QRect place);

    std::function<int()> m_uiLanguage;
    QStackedWidget* m_stack = nullptr;
    std::array<Page, kMessagePages> m_pages;
};

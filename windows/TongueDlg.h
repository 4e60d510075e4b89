#pragma once

#include <QDialog>
#include <optional>

class QPushButton;

// The language dialog: two flag buttons; closing it by its title bar leaves
// the language as it was.
class TTongueDlg : public QDialog {
    Q_OBJECT
public:
    explicit TTongueDlg(QWidget* parent);

    // 0 English, 1 German; nothing when the dialog was closed otherwise.
    std::optional<int> Ask();

    QPushButton* EnglishBtn() const { return m_EnglishBtn; }
    QPushButton* GermanBtn() const { return m_GermanBtn; }

private:
    QPushButton* m_EnglishBtn = nullptr;
    QPushButton* m_GermanBtn = nullptr;
    std::optional<int> m_chosen;
};

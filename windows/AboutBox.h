#pragma once

#include <QDialog>

// Who made the game: the name, the version, an OK button.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent);
};

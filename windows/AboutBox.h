#pragma once

#include <QDialog>
#include <QImage>

// Who made the game: the name, the version, an OK button. The name is the
// board's own gold lettering when a logo is given.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent, const QImage& logo = {});
};

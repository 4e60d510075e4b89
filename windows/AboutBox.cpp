#include "windows/AboutBox.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "game/Program.h"
#include "view/Glyphs.h"

TAboutBox::TAboutBox(QWidget* parent, const QImage& logo)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("AboutBox");
    setWindowTitle(QStringLiteral(AQUENDO_NAME));
    auto* icon = new QLabel;
    icon->setPixmap(Glyph("icon").pixmap(64, 64));
    auto* name = new QLabel(QStringLiteral(AQUENDO_NAME));
    name->setObjectName("ProductName");
    QFont big = name->font();
    big.setPixelSize(28);
    big.setBold(true);
    name->setFont(big);
    if (!logo.isNull()) {
        name->setPixmap(QPixmap::fromImage(logo));
        name->setAccessibleName(QStringLiteral(AQUENDO_NAME));
    }
    auto* version = new QLabel(QStringLiteral("Version  " AQUENDO_VERSION));
    version->setObjectName("Version");
    auto* words = new QLabel(QStringLiteral("MoxelGames"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setIcon(Glyph("ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addWidget(words);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

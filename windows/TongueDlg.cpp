#include "windows/TongueDlg.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "core/Language.h"
#include "game/Program.h"
#include "view/Glyphs.h"
#include "windows/Placing.h"

TTongueDlg::TTongueDlg(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("TongueDlg");
    setWindowTitle(QStringLiteral(AQUENDO_TITLE));
    setFixedSize(320, 91);
    QFont font = this->font();
    font.setPixelSize(11);
    setFont(font);

    auto* bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setGeometry(8, 8, 305, 77);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* image = new QLabel(this);
    image->setObjectName("Image4");
    image->setGeometry(28, 28, 37, 37);
    image->setPixmap(Glyph("icon").pixmap(37, 37));

    // The captions are the same in every language; each is written in its own.
    auto button = [this](const char* name, const char* caption, const char* glyph, int top, int language) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(name);
        b->setGeometry(84, top, 221, 27);
        b->setIcon(Glyph(glyph));
        b->setIconSize(QSize(36, 18));
        // Both are default: Enter takes the one that has the focus.
        b->setAutoDefault(true);
        connect(b, &QPushButton::clicked, this, [this, language] {
            m_chosen = language;
            done(1);
        });
        return b;
    };
    m_EnglishBtn = button("EnglishBtn", "I speak english.", "flags-english", 16, LanguageEnglish);
    m_GermanBtn = button("GermanBtn", "Ich spreche deutsch.", "flags-german", 48, LanguageGerman);
    setTabOrder(m_EnglishBtn, m_GermanBtn);
}

std::optional<int> TTongueDlg::Ask() {
    m_chosen.reset();
    m_EnglishBtn->setFocus();
    if (parentWidget()) CentreOver(this, parentWidget());
    exec();
    return m_chosen;
}

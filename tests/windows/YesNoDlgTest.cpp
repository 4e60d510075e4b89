#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <array>
#include <cstdlib>
#include <functional>
#include <initializer_list>

#include "game/Shell.h"
#include "view/MediaLibrary.h"
#include "windows/AboutBox.h"
#include "windows/HelpWindow.h"
#include "windows/TongueDlg.h"
#include "windows/YesNoDlg.h"

namespace {

// Runs the dialog on a page while `answer` acts on it from inside its loop.
int Answer(TYesNoDlg& dialog, int page, std::function<void(TYesNoDlg&)> answer) {
    QTimer::singleShot(0, &dialog, [&dialog, answer] { answer(dialog); });
    return dialog.ShowModal(page);
}

void Key(TYesNoDlg& dialog, Qt::Key key) {
    QTest::keyClick(&dialog, key);
}

// A window manager offers to maximise a window that asks for no fixed size and
// draws minimise and maximise for what asks for them; a dialog gets a title and
// a close button only (openbox, which still offers to minimise any dialog, and
// kwin aside).
TEST(YesNoDlg, DialogsAskForATitleAndACloseButtonAtAFixedSize) {
    TYesNoDlg message(nullptr, [] { return 0; });
    TTongueDlg tongue(nullptr);
    TAboutBox about(nullptr);
    for (QDialog* dialog : std::initializer_list<QDialog*>{&message, &tongue, &about}) {
        dialog->adjustSize();  // the about box takes its size from its layout
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_EQ(flags & (Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint),
                  Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
            << dialog->metaObject()->className();
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << dialog->metaObject()->className();
    }
}

TEST(YesNoDlg, ButtonsAndKeysGiveTheirAnswers) {
    int language = 0;
    TYesNoDlg dialog(nullptr, [&] { return language; });
    EXPECT_EQ(dialog.size(), QSize(261, 103));
    EXPECT_EQ(dialog.windowTitle(), "Aquendo");
    EXPECT_EQ(dialog.CurrentPage(), 9);

    EXPECT_EQ(Answer(dialog, PageRestart, [](TYesNoDlg& d) { d.ConfirmButton(PageRestart)->click(); }),
              mrYes);
    EXPECT_EQ(Answer(dialog, PageRestart, [](TYesNoDlg& d) { d.RefuseButton(PageRestart)->click(); }), mrNo);
    EXPECT_EQ(Answer(dialog, PageRestart, [](TYesNoDlg& d) { Key(d, Qt::Key_Escape); }), mrNo);
    EXPECT_EQ(Answer(dialog, PageGiveup, [](TYesNoDlg& d) { Key(d, Qt::Key_Escape); }), mrNo);
    EXPECT_EQ(Answer(dialog, PageEndgame, [](TYesNoDlg& d) { Key(d, Qt::Key_Escape); }), mrCancel);
    EXPECT_EQ(Answer(dialog, PageEndgame, [](TYesNoDlg& d) { Key(d, Qt::Key_Return); }), mrYes);
    for (int page = 1; page <= 9; ++page)
        EXPECT_EQ(Answer(dialog, page, [](TYesNoDlg& d) { d.close(); }), mrCancel)
            << "title-bar close on " << page;
    // Escape does nothing on a one-button page; Enter answers OK.
    EXPECT_EQ(Answer(dialog, PageWon,
                     [](TYesNoDlg& d) {
                         Key(d, Qt::Key_Escape);
                         EXPECT_TRUE(d.isVisible());
                         Key(d, Qt::Key_Return);
                     }),
              mrOk);
}

// One family of glyphs, the game's own: no desktop icon, and no smile when the time ran out.
TEST(YesNoDlg, EveryButtonShowsTheGamesOwnGlyph) {
    TYesNoDlg dialog(nullptr, [] { return 0; });
    const std::array<std::array<const char*, 2>, 9> glyphs = {{
        {"smile", nullptr},
        {"restart", "no"},
        {"yes-exit", "no"},
        {"restart", "no"},
        {"ok", nullptr},
        {"smile", nullptr},
        {"ok", nullptr},
        {"smile", nullptr},
        {"ok", nullptr},
    }};
    for (int page = 1; page <= 9; ++page) {
        const auto& row = glyphs[static_cast<std::size_t>(page - 1)];
        EXPECT_EQ(dialog.ConfirmButton(page)->icon().name(), row[0]) << page;
        if (row[1]) {
            EXPECT_EQ(dialog.RefuseButton(page)->icon().name(), row[1]) << page;
        }
    }
    // For looking at the pages: AQUENDO_DIALOG_SHOTS=folder writes page-N-L.png for both languages.
    if (const char* folder = std::getenv("AQUENDO_DIALOG_SHOTS")) {
        for (int language : {0, 1}) {
            TYesNoDlg shown(nullptr, [language] { return language; });
            for (int page = 1; page <= 9; ++page)
                Answer(shown, page, [&](TYesNoDlg& d) {
                    d.grab().save(QStringLiteral("%1/page-%2-%3.png").arg(folder).arg(page).arg(language));
                    d.close();
                });
        }
    }
    // And the help, at the narrowest and at a usual width beside the game, and the about box.
    if (const char* folder = std::getenv("AQUENDO_DIALOG_SHOTS")) {
        const MediaLibrary media = MediaLibrary::LoadBuiltIn();
        THelpWindow help(media.Bitmap(MediaLibrary::PieceSheet));
        const std::string file = "help/aqnd2.html";  // run from the source tree
        for (const char* topic : {"Das_Spiel", "The_game"}) {
            for (int width : {THelpWindow::kNarrowest, 400}) {
                help.resize(width, 1400);
                help.Open(file, QString::fromLatin1(topic), topic[0] == 'D' ? 1 : 0);
                QTest::qWait(50);
                help.grab().save(QStringLiteral("%1/help-%2-%3.png").arg(folder).arg(topic).arg(width));
            }
        }
        const QImage logo = media.Bitmap(MediaLibrary::BackgroundImage).copy(381, 16, 114, 34);
        TAboutBox about(nullptr, logo);
        about.show();
        QTest::qWait(50);
        about.grab().save(QStringLiteral("%1/about.png").arg(folder));
    }
}

// The help's pictures are the game's own: the pieces cut from its sheet, the glyphs its own.
TEST(HelpWindow, PicturesComeFromTheGamesArt) {
    QImage sheet(432, 180, QImage::Format_RGB32);
    for (int y = 0; y < 180; ++y)
        for (int x = 0; x < 432; ++x) sheet.setPixel(x, y, qRgb(x % 256, y, (x * y) % 256));
    THelpWindow help(sheet);
    QTextBrowser* browser = help.Browser();
    EXPECT_EQ(browser->loadResource(QTextDocument::ImageResource, QUrl("piece:3")).value<QImage>(),
              sheet.copy(0, 72, 36, 36));
    EXPECT_TRUE(browser->loadResource(QTextDocument::ImageResource, QUrl("piece:6")).isNull());
    EXPECT_FALSE(
        browser->loadResource(QTextDocument::ImageResource, QUrl("glyph:bomb")).value<QPixmap>().isNull());
}

// Return and Enter go to the focused button, as the player sees it: Tab moves
// the focus, the key press reaches whatever has it.
TEST(YesNoDlg, ReturnPressesTheFocusedButton) {
    struct Row {
        int page;
        int tabs;  // from the opening focus
        Qt::Key key;
        int answer;
    };
    const Row rows[] = {
        {PageRestart, 0, Qt::Key_Return, mrYes},
        {PageRestart, 1, Qt::Key_Return, mrNo},
        {PageRestart, 1, Qt::Key_Enter, mrNo},
        {PageRestart, 2, Qt::Key_Return, mrYes},
        {PageGiveup, 0, Qt::Key_Enter, mrYes},
        {PageGiveup, 1, Qt::Key_Return, mrNo},
        {PageEndgame, 0, Qt::Key_Return, mrYes},
        {PageEndgame, 1, Qt::Key_Return, mrCancel},
        {PageWon, 1, Qt::Key_Return, mrOk},
        // The focus left on No is not where the next opening starts.
        {PageRestart, 0, Qt::Key_Return, mrYes},
    };
    TYesNoDlg dialog(nullptr, [] { return 0; });
    for (const Row& row : rows) {
        const int answer = Answer(dialog, row.page, [row](TYesNoDlg& d) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
            for (int i = 0; i < row.tabs; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QTest::keyClick(QApplication::focusWidget(), row.key);
            if (d.isVisible()) d.done(0);
        });
        EXPECT_EQ(answer, row.answer) << "page " << row.page << ", " << row.tabs << " tabs, key " << row.key;
    }
}

TEST(YesNoDlg, PagesOutsideTheRangeKeepTheLastOne) {
    TYesNoDlg dialog(nullptr, [] { return 0; });
    auto close = [](TYesNoDlg& d) { d.close(); };
    Answer(dialog, PageEndgame, close);
    Answer(dialog, 0, close);
    EXPECT_EQ(dialog.CurrentPage(), PageEndgame);
    Answer(dialog, 10, close);
    EXPECT_EQ(dialog.CurrentPage(), PageEndgame);
    Answer(dialog, PageWon, close);
    EXPECT_EQ(dialog.CurrentPage(), PageWon);
}

TEST(YesNoDlg, TextsFollowTheLanguageAtEachOpening) {
    int language = -1;
    TYesNoDlg dialog(nullptr, [&] { return language; });
    auto close = [](TYesNoDlg& d) { d.close(); };
    Answer(dialog, PageWon, close);
    EXPECT_EQ(dialog.Label(PageWon)->text(), "Hurrah, you did it!");
    EXPECT_EQ(dialog.ConfirmButton(PageWon)->text(), "OK");
    EXPECT_EQ(dialog.ConfirmButton(PageRestart)->text(), "Yes");

    language = 2;
    EXPECT_EQ(dialog.Label(PageWon)->text(), "Hurrah, you did it!")
        << "texts change only at the next opening";
    Answer(dialog, PageWon, close);
    EXPECT_EQ(dialog.Label(PageWon)->text(), QString::fromUtf8("Super, tu as réussi!"));
    EXPECT_EQ(dialog.Label(PageRestart)->text(), "Do you really want to give up the level?");
    EXPECT_EQ(dialog.ConfirmButton(PageRestart)->text(), "Oui");
    EXPECT_EQ(dialog.RefuseButton(PageRestart)->text(), "Non");
    EXPECT_EQ(dialog.Label(PageGameOver)->text(), "Sorry, game over!")
        << "no French text: the label keeps its own";

    language = 1;
    Answer(dialog, PageAllSolved, close);
    EXPECT_EQ(dialog.Label(PageAllSolved)->text(),
              QString::fromUtf8("Gratulation, Du hast alle Stufen gelöst."));
    EXPECT_EQ(dialog.ConfirmButton(PageEndgame)->text(), "Ja");
    EXPECT_EQ(dialog.RefuseButton(PageEndgame)->text(), "Nein");
    EXPECT_EQ(dialog.ConfirmButton(PageWon)->text(), "OK");
}

TEST(YesNoDlg, LabelAndButtonPlaces) {
    TYesNoDlg dialog(nullptr, [] { return 0; });
    EXPECT_EQ(dialog.Label(PageWon)->geometry(), QRect(60, 28, 181, 17));
    EXPECT_EQ(dialog.Label(PageEndgame)->geometry(), QRect(72, 20, 153, 29));
    EXPECT_EQ(dialog.ConfirmButton(PageWon)->geometry(), QRect(92, 68, 77, 27));
    EXPECT_EQ(dialog.ConfirmButton(PageRestart)->geometry(), QRect(136, 68, 77, 27));
    EXPECT_EQ(dialog.RefuseButton(PageRestart)->geometry(), QRect(48, 68, 77, 27));
    EXPECT_EQ(dialog.RefuseButton(PageEndgame)->geometry(), QRect(52, 68, 77, 27));
    EXPECT_EQ(dialog.RefuseButton(PageWon), nullptr);
}

}  // namespace

namespace {

// For looking at every page in every language: AQUENDO_SCREENSHOT_DIR=folder
// writes message-pages.png there. Also checks that every text fits its label.
TEST(YesNoDlg, EveryPageInEveryLanguage) {
    const char* folder = std::getenv("AQUENDO_SCREENSHOT_DIR");
    int language = 0;
    TYesNoDlg dialog(nullptr, [&] { return language; });
    QImage sheet(3 * 270, 9 * 112, QImage::Format_RGB32);
    sheet.fill(Qt::darkGray);
    for (int column = 0; column < 3; ++column) {
        language = std::array{1, 0, 2}[column];
        for (int page = 1; page <= 9; ++page) {
            Answer(dialog, page, [&](TYesNoDlg& d) {
                QLabel* label = d.Label(page);
                const QRect needed = label->fontMetrics().boundingRect(
                    label->rect(), Qt::AlignCenter | Qt::TextWordWrap, label->text());
                EXPECT_LE(needed.height(), label->height()) << "page " << page << " language " << language;
                EXPECT_GE(label->y(), 8) << "inside the bevel";
                EXPECT_LE(label->geometry().bottom(), 8 + 49) << "inside the bevel";
                EXPECT_LT(qGray(d.grab().toImage().pixel(4, 64)), 90)
                    << "the strip's steel, not the desktop's grey";
                QPainter p(&sheet);
                p.drawImage(QPoint(270 * column, 112 * page - 112), d.grab().toImage());
                d.close();
            });
        }
    }
    if (folder) sheet.save(QString::fromLocal8Bit(folder) + "/message-pages.png");
}

}  // namespace
